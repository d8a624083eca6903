// Byte encodings of 16-bit text used by data buffers: "utf8" and "ascii".
// Kept free of collected types so the rules can be reasoned about (and
// reused) on plain memory.
#pragma once

#include <vector>

namespace textcodec {

enum Encoding { kInvalid, kUtf8, kAscii };

// Each code unit is encoded on its own: surrogate halves become separate
// three-byte sequences, exactly as the text was handed to us.
void EncodeUtf8(const unsigned short* units, int n, std::vector<unsigned char>& out);

// Low 8 bits of every code unit.
void EncodeAscii(const unsigned short* units, int n, std::vector<unsigned char>& out);

// Strict decode of one- to three-byte sequences; returns false as soon as a
// sequence is malformed or cut off (out then holds only part of the text).
bool DecodeUtf8(const unsigned char* bytes, int n, std::vector<unsigned short>& out);

// One code unit per byte, 0..255.
void DecodeAscii(const unsigned char* bytes, int n, std::vector<unsigned short>& out);

// One code unit per byte taken as a signed byte widened to 16 bits: the
// fallback for text that is not valid UTF-8.
void DecodeSignedBytes(const unsigned char* bytes, int n, std::vector<unsigned short>& out);

}  // namespace textcodec

