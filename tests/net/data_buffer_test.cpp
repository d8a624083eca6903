// Data buffers: clamped byte access, overlapping copies, the two string
// encodings with their fallback, and loading files through the host.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/game.h"
#include "net/net_test_support.h"

namespace {

typedef std::vector<int> Ints;

class DataBufferTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureNetStarted(); }

  static c_DataBuffer* Make(Ints bytes) {
    c_DataBuffer* buf = (new c_DataBuffer)->m_new((int)bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) buf->data[i] = (unsigned char)bytes[i];
    return buf;
  }
  static Ints Bytes(c_DataBuffer* buf) { return Ints(buf->data, buf->data + buf->length); }
  static Ints Units(const String& s) { return Ints(s.Data(), s.Data() + s.Length()); }
  static Ints Utf8(Ints bytes) { return Units(Make(bytes)->p_PeekString2(0, String("utf8"))); }
};

TEST_F(DataBufferTest, WritingEncodesEachUnitAndReportsTheFullSize) {
  const Char text[] = {0xE9, 0x20AC, 0xD83D, 0xDE00};
  c_DataBuffer* buf = Make(Ints(11, 0));
  EXPECT_EQ(buf->p_PokeString(0, String(text, 4), String("utf8")), 11);
  // Surrogate halves are not combined: two three-byte sequences.
  EXPECT_EQ(Bytes(buf),
            (Ints{0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}));
  // Only what fits is written; the count still covers the whole text.
  c_DataBuffer* one = Make({0x55});
  EXPECT_EQ(one->p_PokeString(0, String(text, 1), String("utf8")), 2);
  EXPECT_EQ(Bytes(one), (Ints{0xC3}));
  c_DataBuffer* tail = Make({1, 2, 3});
  EXPECT_EQ(tail->p_PokeString(2, String(text, 2), String("ascii")), 2);
  EXPECT_EQ(Bytes(tail), (Ints{1, 2, 0xE9}));
  EXPECT_EQ(tail->p_PokeString(1, String(text + 1, 1), String("ascii")), 1);
  EXPECT_EQ(Bytes(tail), (Ints{1, 0xAC, 0xE9}));
}

TEST_F(DataBufferTest, ReadingDecodesOrFallsBackToSignedBytes) {
  EXPECT_EQ(Utf8({0xC3, 0xA9}), (Ints{0xE9}));
  EXPECT_EQ(Utf8({'a', 0xE2, 0x82, 0xAC, 'b'}), (Ints{'a', 0x20AC, 'b'}));
  EXPECT_EQ(Utf8({0xC3}), (Ints{0xFFC3}));  // cut off at the end
  EXPECT_EQ(Utf8({'a', 0xE2, 0x82}), (Ints{'a', 0xFFE2, 0xFF82}));
  // One bad continuation byte spoils the whole text.
  EXPECT_EQ(Utf8({'x', 0xC3, 0xA9, 0xC3, 'y'}), (Ints{'x', 0xFFC3, 0xFFA9, 0xFFC3, 'y'}));
  // So do four-byte leads and stray continuation bytes.
  EXPECT_EQ(Utf8({0xF0, 0x9F, 0x98, 0x80}), (Ints{0xFFF0, 0xFF9F, 0xFF98, 0xFF80}));
  EXPECT_EQ(Utf8({0x80, 'a'}), (Ints{0xFF80, 'a'}));
  EXPECT_EQ(Units(Make({0xC3, 0xA9})->p_PeekString(0, 2, String("ascii"))), (Ints{0xC3, 0xA9}));
  EXPECT_EQ(Units(Make({'a', 'b', 'c'})->p_PeekString(1, 9, String("utf8"))), (Ints{'b', 'c'}));
  EXPECT_EQ(Make({'a'})->p_PeekString2(1, String("utf8")).Length(), 0);

  std::vector<Char> all;
  for (int c = 1; c < 0x10000; c += 7) all.push_back((Char)c);
  String text(all.data(), (int)all.size());
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(text.Length() * 3);
  int n = buf->p_PokeString(0, text, String("utf8"));
  EXPECT_EQ(buf->p_PeekString(0, n, String("utf8")), text);
}

TEST_F(DataBufferTest, ByteAccessIsSignedAndClampedToBufferAndArray) {
  c_DataBuffer* buf = Make({0xFF, 0x80, 0x7F, 0x01});
  Array<int> all = buf->p_PeekBytes2(0, 10);
  EXPECT_EQ(Ints(all.begin(), all.end()), (Ints{-1, -128, 127, 1}));
  EXPECT_EQ(buf->p_PeekBytes2(3, 5).Length(), 1);
  // Addresses outside the block move nothing rather than reach outside it.
  EXPECT_EQ(buf->p_PeekBytes2(-2, 4).Length(), 0);
  EXPECT_EQ(buf->p_PeekBytes2(9, 4).Length(), 0);

  Array<int> dst(3);
  dst[0] = dst[1] = dst[2] = 42;
  buf->p_PeekBytes(2, dst, 1, 10);
  buf->p_PeekBytes(0, dst, -1, 2);
  EXPECT_EQ(Ints(dst.begin(), dst.end()), (Ints{42, 127, 1}));

  Array<int> src(4);
  src[0] = 0x1234, src[1] = -1, src[2] = 7, src[3] = 8;
  buf->p_PokeBytes(1, src, 0, 10);  // cut by the buffer's end
  EXPECT_EQ(Bytes(buf), (Ints{0xFF, 0x34, 0xFF, 7}));
  buf->p_PokeBytes(0, src, 3, 10);  // cut by the array's end
  buf->p_PokeBytes(-1, src, 0, 2);
  buf->p_PokeBytes(0, src, 0, -3);
  EXPECT_EQ(Bytes(buf), (Ints{8, 0x34, 0xFF, 7}));
}

TEST_F(DataBufferTest, CopiesHandleOverlapAndClampBothEnds) {
  c_DataBuffer* up = Make({1, 2, 3, 4});
  up->p_CopyBytes(0, up, 1, 3);
  EXPECT_EQ(Bytes(up), (Ints{1, 1, 2, 3}));
  c_DataBuffer* down = Make({1, 2, 3, 4});
  down->p_CopyBytes(1, down, 0, 3);
  EXPECT_EQ(Bytes(down), (Ints{2, 3, 4, 4}));

  c_DataBuffer* src = Make({9, 8, 7, 6, 5});
  c_DataBuffer* dst = Make({0, 0, 0});
  src->p_CopyBytes(1, dst, 1, 100);
  src->p_CopyBytes(0, dst, -1, 2);
  src->p_CopyBytes(6, dst, 0, 2);
  EXPECT_EQ(Bytes(dst), (Ints{0, 8, 7}));
}

// A host for file loading only; no window is opened.
class FileHost : public BBGame {};

TEST_F(DataBufferTest, BlocksAreSetOnceFromMemoryOrFiles) {
  c_DataBuffer* buf = (new c_DataBuffer)->m_new2();
  EXPECT_EQ(buf->p_PeekString2(0, String("utf8")).Length(), 0);
  EXPECT_TRUE(buf->_New(16));
  EXPECT_FALSE(buf->_New(32));
  EXPECT_EQ(buf->length, 16);
  EXPECT_FALSE((new c_DataBuffer)->_New(-1));

  FileHost host;
  std::string path = std::string(testing::TempDir()) + "larkspin_buffer_load.bin";
  std::string content;
  for (int i = 0; i < 10000; ++i) content += (char)(i * 31);
  std::ofstream(path, std::ios::binary) << content;
  c_DataBuffer* loaded = c_DataBuffer::m_Load(String(path.c_str()));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(std::string((const char*)loaded->data, loaded->length), content);
  EXPECT_FALSE(loaded->_Load(String(path.c_str())));
  c_Thread* thread = (new c_Thread)->m_new();
  c_DataBuffer* async = (new c_DataBuffer)->m_new2();
  EXPECT_TRUE(async->_LoadAsync(String(path.c_str()), thread));
  EXPECT_EQ(thread->Result(), async);
  EXPECT_EQ(async->length, 10000);
  EXPECT_EQ(c_DataBuffer::m_Load(String((path + ".missing").c_str())), nullptr);
  remove(path.c_str());
}

}  // namespace
