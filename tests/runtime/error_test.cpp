// The fatal-error path, the stop protocol, program output and the
// debugger's view of values. Everything that ends the process runs in a child.
#include <gtest/gtest.h>

#include <csignal>
#include <climits>
#include <cstdio>
#include <utility>

#include "support/child_process.h"
#include "runtime/runtime.h"

namespace {

TEST(ErrorExit, RuntimeErrorsPrintTwoLinesAndStopWithoutDebugger) {
  // Output is written as UTF-8, unit by unit.
  ChildResult r = RunInChild([] {
    Char units[] = {0xE9, 'A', 0x7FF, 0x800, 0xD83D, 0xDE00};
    bbPrint(String(units, 1)), bbDebugLog(String(units + 1, 5)), bbError("App has already been created");
  });
  EXPECT_EQ(std::to_string(r.status) + r.out, "255\xC3\xA9\nA\xDF\xBF\xE0\xA0\x80\xED\xA0\xBD\xED\xB8\x80\n"
                                              "Quill Runtime Error : App has already been created\n\n");
  EXPECT_TRUE(r.err.rfind("{{~~", 0) == 0 && r.err.find("~~}}\n\n") != std::string::npos) << r.err;
  ChildResult quiet = RunInChild([] { bbError(""); });  // ends normally and silently
  EXPECT_EQ(std::to_string(quiet.status) + quiet.out + quiet.err, "0");
  // Misuse and fatal signals are runtime errors too.
  for (int index : {-1, 3, 1 << 30}) ExpectRuntimeError([index] { Array<int>(3)[index] = 7; }, "Array index out of range");
  // A negative or huge size is refused before any rounding can wrap it.
  for (int size : {-1, INT_MAX}) ExpectRuntimeError([size] { gc_object_alloc(size); }, "Out of memory");
  std::pair<int, const char*> signals[] = {{SIGSEGV, "Memory access violation"}, {SIGILL, "Illegal instruction"},
                                           {SIGFPE, "Floating point exception"}, {SIGUSR1, "Unknown signal"}};
  for (auto& s : signals) ExpectRuntimeError([&s] { signal(s.first, sighandler), raise(s.first); }, s.second);
  // A byte above 0x7F becomes the unit 0xFF00 | byte: three UTF-8 bytes.
  ExpectRuntimeError([] { dbg_error("caf\xE9"); }, "caf\xEF\xBF\xA9");
}

TEST(Debugger, StopProtocolAndValues) {
  auto fail = [] { dbg_error("stopped"); };
  // Queries are skipped and "q" quits cleanly; "r" resumes, so the error is
  // reported and stops again; anything else, or a line without its line
  // feed, ends the process.
  std::string once = "Quill Runtime Error : stopped\n\n";
  struct { const char* input; std::string result; } rows[] = {
      {"?\n?ignored\nq\n", "0 " + once}, {"r\n", "255 " + once + once}, {"x marks\n", "255 " + once + "????? x marks\n ?????"},
      {"q", "255 " + once}};
  for (auto& r : rows) {
    ChildResult c = RunInChild(fail, r.input);
    EXPECT_EQ((std::to_string(c.status) + " " + c.out).substr(0, r.result.size()), r.result) << r.input;
  }
  // Object queries follow only live objects; the child shares our addresses.
  char input[64];
  snprintf(input, sizeof input, "@%p\n@12345678\n@\nq\n", (void*)new Object);
  ChildResult c = RunInChild([] { dbg_stop(); }, input);
  EXPECT_EQ(c.status, 0);
  EXPECT_NE(c.err.find("~~}}\n\n+Object\n\n\n\n"), std::string::npos) << c.err;
  // The debugger's view of values: escaped, cut at 100 units.
  bool t = true;
  int i = -42;
  float y = 0.1f;
  String s = "say \"hi\"\tnow\r\n", longer(Char('z'), 150);
  EXPECT_EQ(dbg_value(&t) + dbg_value(&i) + dbg_value(&y) + dbg_type(&t) + dbg_type(&i) + dbg_type(&y) + dbg_value(&s),
            String("True-420.10000000149011612BoolIntFloat\"say ~qhi~q~tnow~r~n\""));
  EXPECT_EQ(dbg_value(&longer), String("\"") + String(Char('z'), 100) + "...\"");
}

}  // namespace
