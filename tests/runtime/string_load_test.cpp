// String::Load: byte-order marks, UTF-8 decoding and its fallback, and files
// that span several read blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/runtime.h"

namespace {

String LoadBytes(const std::string& bytes) {
  FILE* f = tmpfile();
  EXPECT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  rewind(f);
  String s = String::Load(f);
  fclose(f);
  return s;
}

std::vector<int> Units(const String& s) { return std::vector<int>(s.Data(), s.Data() + s.Length()); }

TEST(StringLoad, ByteOrderMarks) {
  EXPECT_EQ(LoadBytes("").Length(), 0);
  EXPECT_EQ(LoadBytes("\xEF\xBB\xBF").Length(), 0);
  EXPECT_EQ(LoadBytes("\xEF\xBB\xBFhi"), String("hi"));
  EXPECT_EQ(Units(LoadBytes(std::string("\xFF\xFE" "A\0\xAC\x20" "x", 7))), (std::vector<int>{'A', 0x20AC}));
  EXPECT_EQ(Units(LoadBytes(std::string("\xFE\xFF\0A\x20\xAC", 6))), (std::vector<int>{'A', 0x20AC}));
  EXPECT_EQ(LoadBytes("\xFF\xFE").Length(), 0);
}

TEST(StringLoad, Utf8SequencesOfOneToThreeBytes) {
  EXPECT_EQ(Units(LoadBytes("a\xC3\xA9\xE2\x82\xAC")), (std::vector<int>{'a', 0xE9, 0x20AC}));
}

TEST(StringLoad, InvalidUtf8FallsBackToOneUnitPerByte) {
  // A cut-off sequence, a stray continuation, a four-byte lead, a wrong
  // continuation byte.
  for (std::string bad : {"ok\xC3", "\x80x", "\xF0\x9F\x98\x80", "\xE2\x28\xA1"}) {
    String s = LoadBytes(bad);
    ASSERT_EQ(s.Length(), (int)bad.size());
    for (size_t i = 0; i < bad.size(); ++i) EXPECT_EQ(s[(int)i], (unsigned char)bad[i]);
  }
  // The mark is skipped even when the rest falls back.
  EXPECT_EQ(Units(LoadBytes("\xEF\xBB\xBF\xE9")), (std::vector<int>{0xE9}));
}

TEST(StringLoad, FilesLongerThanOneBlock) {
  for (size_t size : {4095u, 4096u, 4097u, 12288u, 20000u}) {
    std::string text;
    for (size_t i = 0; text.size() < size; ++i) text += (char)('a' + i % 26);
    String s = LoadBytes(text);
    ASSERT_EQ(s.Length(), (int)size);
    EXPECT_EQ(s.ToUtf8(), text);
  }
  // A two-byte sequence split across the block boundary.
  std::string split(4095, 'x');
  split += "\xC3\xA9";
  String s = LoadBytes(split);
  ASSERT_EQ(s.Length(), 4096);
  EXPECT_EQ(s[4095], 0xE9);
  EXPECT_EQ(String::Load(nullptr).Length(), 0);
}

}  // namespace
