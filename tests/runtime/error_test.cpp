// The fatal-error path, the stop protocol and the debugger's formatting.
// Everything that ends the process runs in a child.
#include <gtest/gtest.h>

#include <csignal>
#include <climits>
#include <cstdio>
#include <utility>

#include "support/child_process.h"
#include "runtime/runtime.h"

namespace {

const char* kMarker = "{{~~";

TEST(ErrorExit, RuntimeErrorPrintsTwoLinesAndStopsWithoutDebugger) {
  ChildResult r = RunInChild([] {
    bbPrint("before");
    bbError("App has already been created");
  });
  EXPECT_EQ(r.status, 255);
  EXPECT_EQ(r.out, "before\nQuill Runtime Error : App has already been created\n\n");
  ASSERT_EQ(r.err.rfind(kMarker, 0), 0u) << r.err;
  EXPECT_NE(r.err.find("~~}}\n\n"), std::string::npos);
  // An empty message ends normally and silently.
  ChildResult quiet = RunInChild([] { bbError(""); });
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out + quiet.err, "");
}

TEST(ErrorExit, MisuseAndFatalSignalsAreRuntimeErrors) {
  for (int index : {-1, 3, 1 << 30})
    ExpectRuntimeError([index] { Array<int>(3)[index] = 7; }, "Array index out of range");
  // A negative or huge size is refused before any rounding can wrap it.
  for (int size : {-1, INT_MAX}) ExpectRuntimeError([size] { gc_object_alloc(size); }, "Out of memory");
  std::pair<int, const char*> signals[] = {{SIGSEGV, "Memory access violation"},
                                           {SIGILL, "Illegal instruction"},
                                           {SIGFPE, "Floating point exception"},
                                           {SIGUSR1, "Unknown signal"}};
  for (auto& s : signals)
    ExpectRuntimeError([&s] { signal(s.first, sighandler), raise(s.first); }, s.second);
  // A byte above 0x7F becomes the unit 0xFF00 | byte: three UTF-8 bytes.
  ExpectRuntimeError([] { dbg_error("caf\xE9"); }, "caf\xEF\xBF\xA9");
}

TEST(StopProtocol, DebuggerCommands) {
  auto fail = [] { dbg_error("stopped"); };
  // Queries are skipped; "q" quits cleanly.
  ChildResult quit = RunInChild(fail, "?\n?ignored\nq\n");
  EXPECT_EQ(quit.status, 0);
  // "r" resumes, so the error is reported again and stops again.
  ChildResult run = RunInChild(fail, "r\n");
  EXPECT_EQ(run.status, 255);
  EXPECT_EQ(run.out, "Quill Runtime Error : stopped\n\nQuill Runtime Error : stopped\n\n");
  ChildResult step = RunInChild([] {
    dbg_stop();
    printf("%d %d|", dbg_suspend, dbg_stepmode);
    dbg_stop();
    printf("%d %d|", dbg_suspend, dbg_stepmode);
    dbg_stop();
    printf("%d %d|", dbg_suspend, dbg_stepmode);
  }, "s\ne\nl\n");
  EXPECT_EQ(step.out, "1 115|1 101|0 108|");
  // Anything else is refused and ends the process.
  ChildResult bad = RunInChild(fail, "x marks\n");
  EXPECT_EQ(bad.status, 255);
  EXPECT_NE(bad.out.find("????? x marks\n ?????"), std::string::npos);
  // A line without its line feed is as good as no input.
  ChildResult cut = RunInChild(fail, "q");
  EXPECT_EQ(cut.status, 255);
}

TEST(StopProtocol, ObjectQueriesFollowOnlyLiveObjects) {
  // The child is a copy of this process, so the object lives there at the
  // same address.
  Object* o = new Object;
  char input[64];
  snprintf(input, sizeof input, "@%p\n@12345678\n@\nq\n", (void*)o);
  ChildResult r = RunInChild([] { dbg_stop(); }, input);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("~~}}\n\n+Object\n\n\n\n"), std::string::npos) << r.err;
}

TEST(Output, PrintWritesUtf8UnitByUnit) {
  ChildResult r = RunInChild([] {
    bbPrint(String((Char)0xE9, 1));
    Char units[] = {'A', 0x7FF, 0x800, 0xD83D, 0xDE00};
    bbDebugLog(String(units, 5));
    bbPrint("");
  });
  EXPECT_EQ(r.out,
            "\xC3\xA9\n"
            "A\xDF\xBF\xE0\xA0\x80\xED\xA0\xBD\xED\xB8\x80\n"
            "\n");
}

TEST(DebugFormatting, ValuesAndTypes) {
  bool t = true;
  int i = -42;
  float x = 3.0f, y = 0.1f;
  EXPECT_EQ(dbg_value(&t), String("True"));
  EXPECT_EQ(dbg_value(&i), String("-42"));
  EXPECT_EQ(dbg_value(&y), String("0.10000000149011612"));
  EXPECT_EQ(dbg_type(&t) + dbg_type(&i) + dbg_type(&x), String("BoolIntFloat"));

  String s = "say \"hi\"\tnow\r\n";
  EXPECT_EQ(dbg_value(&s), String("\"say ~qhi~q~tnow~r~n\""));
  String longer(Char('z'), 150);
  String shown = dbg_value(&longer);
  EXPECT_EQ(shown, String("\"") + String(Char('z'), 100) + "...\"");

  int anchor = 0;
  char expect[32];
  snprintf(expect, sizeof expect, "%p", (void*)&anchor);
  EXPECT_EQ(dbg_ptr_value(&anchor), String(expect + 2));
}

}  // namespace
