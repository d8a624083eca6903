// Ogg Vorbis reader: decodes a whole .ogg file into 16-bit interleaved PCM
// for the audio device (tunes are played from memory, never streamed).
#pragma once

#include <cstdio>

// Decodes the Ogg Vorbis stream starting at the current position of `file`
// (the file is left open). Returns a malloc'ed block of signed 16-bit
// interleaved samples and fills the frame count, channel count, bytes per
// sample (always 2) and sample rate; null when the stream cannot be opened,
// decodes to nothing, or would decode to more than a tune could sensibly
// need. The decoder's own memory comes from a bounded arena, so a hostile
// header cannot make it allocate without limit.
unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz);
