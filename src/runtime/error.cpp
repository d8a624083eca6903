// Program output and the fatal-error path: bbPrint, bbError, dbg_error and
// the signal handler.
#include "runtime/error.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/utf8.h"

const char* dbg_info = nullptr;
String dbg_exstack;

namespace {

void write_line(const std::string& bytes) {
  fwrite(bytes.data(), 1, bytes.size(), stdout);
  fputc('\n', stdout);
  fflush(stdout);
}

// bbPrint of a C string widened the way String(const char*) widens it, but
// without building a String: the error path may run in a signal handler or
// with the heap exhausted, so nothing here allocates.
void print_widened(const char* prefix, const char* message) {
  for (const char* part : {prefix, message}) {
    for (const char* p = part; p && *p; ++p) {
      unsigned unit = (Char)(short)(signed char)*p;
      char bytes[3];
      size_t n = 0;
      if (unit < 0x80) {
        bytes[n++] = (char)unit;
      } else {
        // Widened bytes are either ASCII or at least 0xFF80: three bytes.
        bytes[n++] = (char)(0xE0 | (unit >> 12));
        bytes[n++] = (char)(0x80 | ((unit >> 6) & 0x3F));
        bytes[n++] = (char)(0x80 | (unit & 0x3F));
      }
      fwrite(bytes, 1, n, stdout);
    }
  }
  fputc('\n', stdout);
  fflush(stdout);
}

}  // namespace

int bbPrint(String text) {
  static std::string buffer;
  buffer.clear();
  rt_append_utf8(buffer, text.Data(), text.Length());
  write_line(buffer);
  return 0;
}

int bbDebugLog(String text) { return bbPrint(text); }

void rt_exit(int status) {
  fflush(nullptr);
  _Exit(status);
}

void bbError(String message) {
  if (message.Length() == 0) rt_exit(0);
  dbg_error(message.ToCString<char>());
}

void dbg_error(const char* message) {
  for (;;) {
    print_widened("Quill Runtime Error : ", message);
    print_widened(dbg_info && *dbg_info ? dbg_info : "", dbg_info && *dbg_info ? "\n" : "");
    dbg_stop();
  }
}

void sighandler(int signal) {
  const char* message = "Unknown signal";
  if (signal == SIGSEGV) message = "Memory access violation";
  if (signal == SIGILL) message = "Illegal instruction";
  if (signal == SIGFPE) message = "Floating point exception";
  dbg_error(message);
}

void gc_out_of_memory() { dbg_error("Out of memory"); }

void gc_array_range_error() { bbError("Array index out of range"); }
