// Runtime values: String formatting, searching and conversion, decoding of
// hostile bytes (String::Load, FromUtf8), and Array<T> elements and sharing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

typedef std::vector<int> Units;
Units UnitsOf(const String& s) { return Units(s.Data(), s.Data() + s.Length()); }

String LoadBytes(const std::string& bytes) {
  FILE* f = tmpfile();
  fwrite(bytes.data(), 1, bytes.size(), f), rewind(f);
  String s = String::Load(f);
  return fclose(f), s;
}

TEST(StringValue, TextResults) {
  String h = "hello", comma = ",";
  struct { String got; const char* want; } rows[] = {
      {String(3.0f), "3.0"}, {String(0.1f), "0.10000000149011612"}, {String(1e20f), "1.0000000200408773e+20"},
      {String(0.1), "0.10000000149011612"}, {String(-2147483647 - 1), "-2147483648"}, {String("n=") + 5 + "," + 1.5f, "n=5,1.5"},
      {h.Slice(-3, 5), "llo"}, {h.Slice(3, 1), ""}, {h.Slice(1, -1), "ell"}, {h.Slice(0, -99), ""}, {h.Slice(0, 0), ""},
      {String("aaa").Replace("aa", "b"), "ba"}, {String("xax").Replace("a", "aa"), "xaax"},
      {String(" \t padded \n").Trim(), "padded"}, {String("   ").Trim(), ""}, {String("MiXed 9").ToUpper(), "MIXED 9"},
      {String("|").Join(String("x|yy||z").Split("|")), "x|yy||z"}, {String("/").Join(String("a,b,,c").Split(",")), "a/b//c"},
      {String("/").Join(String("a--b---c").Split("--")), "a/b/-c"}, {String("/").Join(String("abc").Split("")), "a/b/c"},
      {String("/").Join(comma.Split(",")), "/"}, {comma.Join(Array<String>()), ""}};
  for (auto& r : rows) EXPECT_EQ(r.got.ToUtf8(), r.want);
}

TEST(StringValue, NumberResults) {
  String s = "abcabc";
  int rows[][2] = {
      {s.Find("bc"), 1}, {s.Find("bc", 2), 4}, {s.Find("bc", 5), -1}, {s.Find("bc", -5), 1}, {s.Find("abcabcd"), -1},
      {s.FindLast("bc"), 4}, {s.FindLast("bc", 3), 1}, {s.FindLast("bc", 0), -1}, {s.StartsWith("abcabcx"), 0},
      {s.EndsWith("cabc"), 1}, {s.EndsWith("ab"), 0}, {String("ab") < String("abc"), 1}, {String("abc") < String("abd"), 1},
      {String("ab") == String("abc"), 0}, {String((Char)0xFF00, 1) > String("z"), 1},  // units compare unsigned
      {String().Length() + String((const char*)nullptr).Length() + String().Split("").Length(), 0},
      {String("  -17xyz").ToInt(), -17}, {String("99999999999").ToInt(), 2147483647},
      {String("-99999999999").ToInt(), -2147483647 - 1}, {(String(Char('0'), 62) + "12").ToInt(), 1},  // 63 units read
      {String((Char)0x0131, 1).ToInt(), 1},  // narrowed to bytes
      {(int)(String("2.5e2").ToFloat() * 10), 2500}, {(int)String("junk").ToFloat(), 0}};
  for (auto& r : rows) EXPECT_EQ(r[0], r[1]) << &r - rows;
}

TEST(StringValue, UnitsFromBytes) {
  wchar_t wide[] = {L'h', 0x1F600, L'i'};
  struct { String got; Units want; } rows[] = {
      {String("\x41\xE9"), {0x41, 0xFFE9}},  // bytes are widened as signed
      {String(wide, 3), {'h', 0xF600, 'i'}},
      {String::FromChars(Array<int>((const int[]){72, 0x20AC}, 2)), {72, 0x20AC}},
      {String::FromUtf8("A\xC7\xA9", 3), {'A', 0x1E9}},
      // Invalid UTF-8 falls back to one unit per byte. A lead byte at the end
      // must not read the byte after it.
      {String::FromUtf8("\xC3\xA9", 1), {0xC3}}, {String::FromUtf8("\xC3x", 2), {0xC3, 'x'}},
      {LoadBytes(""), {}}, {LoadBytes("\xEF\xBB\xBF"), {}}, {LoadBytes("\xEF\xBB\xBFhi"), {'h', 'i'}}, {LoadBytes("\xFF\xFE"), {}},
      {LoadBytes(std::string("\xFF\xFE" "A\0\xAC\x20" "x", 7)), {'A', 0x20AC}}, {LoadBytes("\x80x"), {0x80, 'x'}},
      {LoadBytes(std::string("\xFE\xFF\0A\x20\xAC", 6)), {'A', 0x20AC}}, {LoadBytes("a\xFF"), {'a', 0xFF}},
      {LoadBytes("a\xC3\xA9\xE2\x82\xAC"), {'a', 0xE9, 0x20AC}}, {LoadBytes("ok\xC3"), {'o', 'k', 0xC3}},
      {LoadBytes("\xF0\x9F\x98\x80"), {0xF0, 0x9F, 0x98, 0x80}}, {LoadBytes("\xE2\x28\xA1"), {0xE2, 0x28, 0xA1}},
      {LoadBytes("\xEF\xBB\xBF\xE9"), {0xE9}}};  // the mark is skipped even then
  for (auto& r : rows) EXPECT_EQ(UnitsOf(r.got), r.want) << &r - rows;
  String s = rows[3].got;
  EXPECT_EQ(s.ToUtf8() + (const char*)s.ToCString<char>(), "A\xC7\xA9" "A\xE9");
  EXPECT_EQ(s[2] + s[-1] + String::Load(nullptr).Length(), 0);  // reading outside gives 0
  // Loads span read blocks; copies outlive their sources.
  std::string text;
  while (text.size() < 12288) text += (char)('a' + text.size() % 23);
  for (size_t size : {4095u, 4096u, 4097u, 12288u}) EXPECT_EQ(LoadBytes(text.substr(0, size)).ToUtf8(), text.substr(0, size));
  EXPECT_EQ(UnitsOf(LoadBytes(std::string(4095, 'x') + "\xC3\xA9").Slice(4094)), (Units{'x', 0xE9}));
  String copy = String("hello") + " world", moved = std::move(copy);
  copy = moved, copy = copy;
  EXPECT_EQ(copy, String("hello world"));
}

TEST(ArrayValue, ElementsSharingAndResize) {
  Array<int> empty, negative(-4), ints(3), alias = ints;
  alias[1] = 9;
  EXPECT_TRUE(empty.rep == negative.rep && Array<int>(5).Resize(0).rep == empty.rep && ints[1] == 9);
  Array<String> names(3), grown;
  names[0] = "zero", names[2] = "two";
  grown = names.Resize(5);
  grown[0] = "changed";  // the copy is its own
  String bar = "|";
  EXPECT_EQ(bar.Join(grown) + "," + bar.Join(names.Resize(1)) + "," + bar.Join(names), String("changed||two||,zero,zero||two"));
}

}  // namespace
