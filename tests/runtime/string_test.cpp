// String construction formats, the operations that share or build
// representations, searching and number conversion.
#include <gtest/gtest.h>

#include "runtime/runtime.h"

namespace {

std::vector<std::string> Pieces(const Array<String>& a) {
  std::vector<std::string> out;
  for (const String& s : a) out.push_back(s.ToUtf8());
  return out;
}

TEST(StringConstruction, NumbersUseTheFixedFormats) {
  EXPECT_EQ(String(3.0f), String("3.0"));
  EXPECT_EQ(String(0.1f), String("0.10000000149011612"));
  EXPECT_EQ(String(1e20f), String("1.0000000200408773e+20"));
  EXPECT_EQ(String(0.1), String(0.1f));
  EXPECT_EQ(String(-2147483647 - 1), String("-2147483648"));
}

TEST(StringConstruction, BytesUnitsAndRepeats) {
  String high("\x41\xE9");
  ASSERT_EQ(high.Length(), 2);
  EXPECT_EQ(high[0], 0x41);
  EXPECT_EQ(high[1], 0xFFE9);  // bytes are widened as signed
  EXPECT_EQ(high[2], 0);       // reading past the end gives 0
  EXPECT_EQ(high[-1], 0);
  wchar_t wide[] = {L'h', 0x1F600, L'i'};
  String w(wide, 3);
  EXPECT_EQ(w[1], 0xF600);
  EXPECT_EQ(String(wide, 0).Length(), 0);
  EXPECT_EQ(String::FromChars(Array<int>((const int[]){72, 0x20AC}, 2))[1], 0x20AC);
  EXPECT_EQ(String((const char*)nullptr).Length(), 0);
}

TEST(StringSharing, CopiesOutliveTheirSources) {
  String a = "hello";
  String copy = a;
  EXPECT_TRUE((a + String()).SharesWith(a));
  EXPECT_TRUE(a.Replace("", "boom").SharesWith(a));
  {
    String temp = a + " world";
    copy = temp;
  }
  a = "changed";
  String moved = std::move(copy);
  copy = moved;
  copy = copy;
  EXPECT_EQ(copy, String("hello world"));
}

TEST(StringOps, SliceClampsBothEnds) {
  String h = "hello";
  EXPECT_EQ(h.Slice(-3, 5), String("llo"));
  EXPECT_EQ(h.Slice(3, 1), String());
  EXPECT_EQ(h.Slice(1, -1), String("ell"));
  EXPECT_EQ(h.Slice(0, -99), String());
}

TEST(StringOps, SplitAndJoin) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Pieces(String("a,b,,c").Split(",")), (V{"a", "b", "", "c"}));
  EXPECT_EQ(Pieces(String(",").Split(",")), (V{"", ""}));
  EXPECT_EQ(Pieces(String("abc").Split("")), (V{"a", "b", "c"}));
  EXPECT_EQ(String().Split("").Length(), 0);
  EXPECT_EQ(Pieces(String("a--b---c").Split("--")), (V{"a", "b", "-c"}));

  Array<String> parts = String("x|yy||z").Split("|");
  EXPECT_EQ(String("|").Join(parts), String("x|yy||z"));
  EXPECT_EQ(String(",").Join(Array<String>()), String());
}

TEST(StringOps, ReplaceIsLeftToRightAndNonOverlapping) {
  EXPECT_EQ(String("aaa").Replace("aa", "b"), String("ba"));
  EXPECT_EQ(String("xax").Replace("a", "aa"), String("xaax"));
}

TEST(StringOps, SearchesAndTests) {
  String s = "abcabc";
  EXPECT_EQ(s.Find("bc"), 1);
  EXPECT_EQ(s.Find("bc", 2), 4);
  EXPECT_EQ(s.Find("bc", 5), -1);
  EXPECT_EQ(s.Find("bc", -5), 1);
  EXPECT_EQ(s.Find("abcabcd"), -1);
  EXPECT_EQ(s.FindLast("bc"), 4);
  EXPECT_EQ(s.FindLast("bc", 3), 1);
  EXPECT_EQ(s.FindLast("bc", 0), -1);
  EXPECT_FALSE(s.StartsWith("abcabcx"));
  EXPECT_TRUE(s.EndsWith("cabc"));
  EXPECT_FALSE(s.EndsWith("ab"));
}

TEST(StringOps, ComparisonAndCase) {
  EXPECT_NE(String("ab"), String("abc"));
  EXPECT_LT(String("ab"), String("abc"));
  EXPECT_LT(String("abc"), String("abd"));
  EXPECT_GT(String((Char)0xFF00, 1), String("z"));  // units compare unsigned
  EXPECT_EQ(String("MiXed 9").ToUpper(), String("MIXED 9"));
  EXPECT_EQ(String(" \t padded \n").Trim(), String("padded"));
  EXPECT_EQ(String("   ").Trim(), String());
  EXPECT_EQ(String("n=") + 5 + "," + 1.5f, String("n=5,1.5"));
}

TEST(StringConversion, NumbersFromText) {
  EXPECT_EQ(String("  -17xyz").ToInt(), -17);
  EXPECT_EQ(String("99999999999").ToInt(), 2147483647);
  EXPECT_EQ(String("-99999999999").ToInt(), -2147483647 - 1);
  // Only the first 63 units are read.
  EXPECT_EQ((String(Char('0'), 62) + "12").ToInt(), 1);
  // Units are narrowed to bytes: 0x0131 reads as '1'.
  EXPECT_EQ(String((Char)0x0131, 1).ToInt(), 1);
  EXPECT_FLOAT_EQ(String("2.5e2").ToFloat(), 250.0f);
  EXPECT_EQ(String("junk").ToFloat(), 0.0f);
}

TEST(StringConversion, CStringsAndUtf8) {
  String s = String("A") + String((Char)0x1E9, 1);
  String::CString<char> narrow = s.ToCString<char>();
  EXPECT_STREQ((const char*)narrow, "A\xE9");
  auto wide = s.ToCString<Char>();
  EXPECT_EQ(wide.data()[1], 0x1E9);
  EXPECT_EQ(s.ToUtf8(), "A\xC7\xA9");
  EXPECT_EQ(String::FromUtf8("A\xC7\xA9", 3), s);
}

}  // namespace
