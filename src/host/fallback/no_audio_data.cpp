// Used only while the build has no sound decoders: no sound can be loaded.
#include "host/glfw_game.h"

unsigned char* BBGlfwGame::LoadAudioData(String, int*, int*, int*, int*) { return nullptr; }
