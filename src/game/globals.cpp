// The game's module globals: the virtual screen, the build switches (set
// for the desktop), the mode table and the credits, with their root marker.
#include "game/my_app.h"

float bb_Larkspin_rawscrw = 0.0f;
float bb_Larkspin_rawscrh = 0.0f;
float bb_Larkspin_jscrw = 0.0f;
float bb_Larkspin_jscrh = 0.0f;
float bb_Larkspin_overscan = 0.0f;
int bb_Larkspin_isOuya = 0;
int bb_Larkspin_DebugMode = 0;
int bb_Larkspin_UseHDImages = 0;
int bb_Larkspin_HasMusicStream = 0;
int bb_Larkspin_OnScreenControls = 0;
int bb_Larkspin_AccelerometerControls = 0;
int bb_Larkspin_FadeOutStyle = 0;
int bb_Larkspin_GameNum = 0;
int bb_Larkspin_J_On_Allow = 0;
int bb_Larkspin_J_On_Able = 0;
Array<String> bb_Larkspin_MenuSet;
Array<String> bb_Larkspin_CreditText;
// Where the optional check-in goes; only used when J_On_Allow is set.
String bb_Larkspin_CheckInPage;

namespace {

const char* const kMenuSet[12] = {
    "Time Attack",  "Two Minutes\\nScore what you can.",
    "Three Lives",  "Three Lives\\nScore what you can.",
    "Survival",     "Survival\\nDon't die!",
    "Battle-Two",   "2 Player Battle\\nFirst to Ten, Wins\\nTap to Join",
    "Battle-Three", "3 Player Battle\\nFirst to Ten, Wins\\nTap to Join",
    "Battle-Four",  "4 Player Battle\\nFirst to Ten, Wins\\nTap to Join",
};

const char* const kRule = "-=-=-";

const char* const kCredits[57] = {
    "", "A Game by", "Wren Halloway", "wrenhalloway.example", "", kRule, "",
    "Developed using", "the Quill toolkit", "quill.example", "", kRule, "",
    "Graphics", "", "Most graphics by", "Wren Halloway", "",
    "Shadow Editundo font", "by Tobias Fenn", "Lowercase added by", "Wren Halloway", "", "", kRule, "",
    "Audio", "", "Sound and Music by", "Wren Halloway", "using", "a chip synth,", "a wave editor,",
    "a tracker", "or whatever else", "was handy!", "", kRule, "", "",
    "Hello to", "Marta Quist", "", "Thanks to", "Ines Barrow", "Colm Ridley", "Pia Santer",
    "Ned Ashworth", "Colm Ridley", "Ruth Okafor", "Sol Meyers", "Dana Velk",
    "And everyone Else", "in the Quill forums", "", kRule, "End",
};

void markGlobals() {
  gc_enqueue(bb_Larkspin_MenuSet);
  gc_enqueue(bb_Larkspin_CreditText);
}

Array<String> stringTable(const char* const* lines, int n) {
  Array<String> out(n);
  for (int i = 0; i < n; ++i) out[i] = String(lines[i]);
  return out;
}

}  // namespace

int bb_Larkspin_Init() {
  bb_Larkspin_rawscrw = 640.0f;
  bb_Larkspin_rawscrh = 480.0f;
  bb_Larkspin_jscrw = 640.0f;
  bb_Larkspin_jscrh = 480.0f;
  bb_Larkspin_overscan = 0.0f;
  bb_Larkspin_isOuya = 0;
  bb_Larkspin_DebugMode = 0;
  bb_Larkspin_UseHDImages = 1;
  bb_Larkspin_HasMusicStream = 1;
  bb_Larkspin_OnScreenControls = 0;
  bb_Larkspin_AccelerometerControls = 0;
  bb_Larkspin_FadeOutStyle = 1;
  bb_Larkspin_GameNum = 415;
  bb_Larkspin_J_On_Allow = 0;
  bb_Larkspin_J_On_Able = 0;
  bb_Larkspin_CheckInPage = String("http://checkin.larkspin.example/housecall.php");
  gc_assign(bb_Larkspin_MenuSet, stringTable(kMenuSet, 12));
  gc_assign(bb_Larkspin_CreditText, stringTable(kCredits, 57));
  static bool registered = false;
  if (!registered) {
    gc_register_roots(markGlobals);
    registered = true;
  }
  bb_random_Seed = 1234;
  return 0;
}
