// The player's own controller mappings: lines in the SDL game controller
// database format, from the environment and from the player's config
// folder, handed to the windowing library before any controller is read.
#pragma once

#include <cstdio>
#include <string>

// Longest line the windowing library takes (its own line buffer), and the
// most of one source that is read at all: a database of every known
// controller is well under a megabyte.
const size_t BB_MAPPING_LINE_MAX = 1023;
const long BB_MAPPING_SOURCE_MAX = 4L << 20;

// Reads mapping lines from `in` (at most BB_MAPPING_SOURCE_MAX bytes) and
// hands each good one to GLFW; each bad one is skipped with one line on
// `report` naming `source` and its line number. Returns the lines taken.
int BBApplyGamepadMappings(FILE* in, const std::string& source, FILE* report);

// Start-up: "$XDG_CONFIG_HOME/larkspin/gamecontrollerdb.txt" (falling back
// to ~/.config) first, then SDL_GAMECONTROLLERCONFIG, so a line in the
// environment wins over the file's line for the same controller.
void BBLoadGamepadMappings(FILE* report);
