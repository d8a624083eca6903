// Used only while the build has no image decoder: no image can be loaded.
#include "host/glfw_game.h"

unsigned char* BBGlfwGame::LoadImageData(String, int*, int*, int*) { return nullptr; }
