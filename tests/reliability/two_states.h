// Two different, valid state strings written by the game itself, for the
// saving tests: the game's own output is what must survive a crash.
#pragma once

#include <utility>

#include "game/my_app.h"

// Starts the runtime, a windowless host and the game's globals once, and
// returns a fresh game object with default settings.
c_MyApp* NewGameForStates();

// A short state (few records) and a long one (records in every table), so a
// torn write of either can never look like the other.
std::pair<String, String> TwoStates();
