// Debian's stb_vorbis compiled once for the whole project (game, tests and
// fuzz targets), so sanitizers and coverage see the decoder too. The game
// decodes whole tunes from memory only: no stdio and no push interface.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>
