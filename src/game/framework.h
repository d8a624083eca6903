// Everything of the framework the game stands on, in one place.
#pragma once

#include "app/app.h"
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "host/entry.h"
#include "host/game.h"
#include "host/glfw_game.h"
#include "net/net.h"
#include "runtime/runtime.h"
