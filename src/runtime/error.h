// Program output and fatal runtime errors.
#pragma once

#include "runtime/string.h"

// Debugger state; nothing in this program sets dbg_info.
extern const char* dbg_info;
extern String dbg_exstack;
extern int dbg_stepmode;
extern int dbg_suspend;

// One line of UTF-8 on standard output.
int bbPrint(String text);
int bbDebugLog(String text);

// Empty message: the normal end of the program (status 0). Otherwise a
// runtime error (status -1).
[[noreturn]] void bbError(String message);
[[noreturn]] void dbg_error(const char* message);
void sighandler(int signal);

String dbg_stacktrace();
void dbg_stop();
void bbDebugStop();
[[noreturn]] void dbg_throw(const char* message);
void dbg_print(String text);

String dbg_type(bool*);
String dbg_type(int*);
String dbg_type(float*);
String dbg_type(String*);
String dbg_value(bool* p);
String dbg_value(int* p);
String dbg_value(float* p);
String dbg_value(String* p);
String dbg_ptr_value(const void* p);

// Ends the process at once after flushing the standard streams; no clean-up
// of the game runs.
[[noreturn]] void rt_exit(int status);
