// RIFF/WAVE reader: turns an uncompressed PCM .wav file into one block of
// interleaved samples for the audio device.
#pragma once

#include <cstdio>

// Reads a PCM WAV file from the current position of `file`. Returns a
// malloc'ed block of interleaved sample data (the caller frees it) and fills
// the frame count, channel count, bytes per sample and sample rate; returns
// null on anything that is not a readable PCM WAV. Chunk sizes are checked
// against the bytes left in the file, so a damaged header never causes a
// large allocation or a read past the end.
unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz);
