// The records panel of the main menu as text: how many rows fit the screen
// and what each list of the chosen mode reads. Kept apart from the drawing
// so the wording can be checked without a frame.
#pragma once

#include "game/my_app.h"

namespace lk_menu {

// Rows of records that fit below the title on the current virtual screen,
// 1 to 10.
int RecordRows(c_MyApp* app);

// Text of one records list of a mode (1..6): list 0 is the top scores of a
// one-player mode or the last winners of a battle, list 1 the last scores
// of a one-player mode (empty for battles). Lines are separated by the
// text's own line-break pair, backslash and n.
String RecordsText(c_MyApp* app, int mode, int list, int rows);

}  // namespace lk_menu
