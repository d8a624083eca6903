// Web addresses cut up by c_Url. Whatever the text, the parts stay inside
// it and the request line built from them is well formed.
#include "fuzz_support.h"
#include "net/net.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_StartRuntime();
  String text = String::FromUtf8(reinterpret_cast<const char*>(data), int(size));
  c_Url* url = (new c_Url)->m_new(text, String("http"), 80);
  String domain = url->p_Domain();
  String path = url->p_FullPath();
  fuzz_Check(domain.Length() <= text.Length(), "domain longer than the address");
  fuzz_Check(path.Length() <= text.Length() + 1, "path longer than the address");
  fuzz_Check(path.Length() > 0 && path[0] == '/', "full path does not start with a slash");
  (void)url->p_Port();
  // Reparsing an address on the same object starts from scratch.
  url->p_Set2(text);
  fuzz_Check(url->p_Domain() == domain && url->p_FullPath() == path, "reparse gives other parts");
  gc_step(nullptr);
  return 0;
}
