// The stop protocol on the standard streams and the debugger's value
// formatting.
#include <cstdio>
#include <cstring>

#include "runtime/error.h"
#include "runtime/object.h"

int dbg_stepmode = 0;
int dbg_suspend = 0;

namespace {

// A debugger names objects by address. Only addresses of live collected
// objects are followed, so a mistyped address prints an empty line instead
// of reading arbitrary memory.
Object* find_object(const void* address) {
  for (gc_object* head : {&gc_unmarked_list, &gc_queued_list, &gc_marked_list}) {
    if (!head->succ) continue;
    for (gc_object* p = head->succ; p != head; p = p->succ)
      if (p == address) return dynamic_cast<Object*>(p);
  }
  return nullptr;
}

void show_object(const char* line) {
  void* address = nullptr;
  if (sscanf(line + 1, "%p", &address) != 1) address = nullptr;
  Object* object = address ? find_object(address) : nullptr;
  dbg_print(object ? object->debug() : String());
}

String quote(const String& text) {
  String s = text.Length() > 100 ? text.Slice(0, 100) + "..." : text;
  s = s.Replace("\"", "~q").Replace("\t", "~t").Replace("\n", "~n").Replace("\r", "~r");
  return String("\"") + s + "\"";
}

}  // namespace

String dbg_stacktrace() {
  if (!dbg_info || !*dbg_info) return String();
  return String(dbg_info) + "\n";
}

void dbg_stop() {
  fprintf(stderr, "{{~~%s~~}}\n\n", dbg_info ? dbg_info : "(null)");
  fflush(stderr);
  for (;;) {
    char line[256];
    if (!fgets(line, sizeof line, stdin) || !strchr(line, '\n')) rt_exit(-1);
    switch (line[0]) {
      case '?':
        continue;
      case '@':
        show_object(line);
        continue;
      case 'r':
        dbg_suspend = 0;
        dbg_stepmode = 0;
        return;
      case 's':
      case 'e':
        dbg_suspend = 1;
        dbg_stepmode = line[0];
        return;
      case 'l':
        dbg_suspend = 0;
        dbg_stepmode = 'l';
        return;
      case 'q':
        rt_exit(0);
      default:
        printf("????? %s ?????", line);
        fflush(stdout);
        rt_exit(-1);
    }
  }
}

void bbDebugStop() { dbg_stop(); }

void dbg_throw(const char* message) {
  dbg_exstack = dbg_stacktrace();
  throw message;
}

void dbg_print(String text) {
  auto bytes = text.ToCString<char>();
  fprintf(stderr, "%s\n", (const char*)bytes);
  fflush(stderr);
}

String dbg_type(bool*) { return "Bool"; }
String dbg_type(int*) { return "Int"; }
String dbg_type(float*) { return "Float"; }
String dbg_type(String*) { return "String"; }

String dbg_value(bool* p) { return *p ? "True" : "False"; }
String dbg_value(int* p) { return String(*p); }
String dbg_value(float* p) { return String(*p); }
String dbg_value(String* p) { return quote(*p); }

String dbg_ptr_value(const void* p) {
  char buf[32];
  snprintf(buf, sizeof buf, "%p", p);
  const char* text = strncmp(buf, "0x", 2) == 0 ? buf + 2 : buf;
  return String(text);
}
