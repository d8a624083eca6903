// UTF-8 coding shared by the text loader, bbPrint and ToUtf8.
#pragma once

#include <string>
#include <vector>

#include "runtime/string.h"

// Each code unit by itself (surrogate pairs are not combined): one, two or
// three bytes.
void rt_append_utf8(std::string& out, const Char* units, int n);

// Decodes one-, two- and three-byte sequences. False (and out untouched
// beyond what was appended) when any byte does not fit that scheme.
bool rt_decode_utf8(const unsigned char* bytes, size_t n, std::vector<Char>& out);
