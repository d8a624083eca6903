// Helpers shared by the fuzz targets: turning an input into a FILE or a
// file on disk the way the loaders expect their data, and a check that
// stops the run loudly (an abort is what libFuzzer and the replay runner
// both report as a failure).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// The input as a read-only stream positioned at its start; never null.
FILE* fuzz_OpenBytes(const uint8_t* data, size_t size);

// Writes the input to this process's scratch file and returns its path;
// the same path is reused for every input.
std::string fuzz_WriteScratch(const uint8_t* data, size_t size, const char* suffix);

// Aborts with a message when a property of the system under test fails.
void fuzz_Check(bool ok, const char* what);

// Reads every byte of a block handed out by a loader, so a block shorter
// than it claims shows up under the sanitizer.
void fuzz_Touch(const unsigned char* block, long long size);

// Starts the collector once per process.
void fuzz_StartRuntime();
