// Data buffers (clamped byte access, overlapping copies, the two string
// encodings and their fallback, loading files), URL parsing, the string
// stack behind HTTP headers, and misuse that ends the program.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "host/game.h"
#include "net/net_peer.h"
#include "support/child_process.h"

namespace {

typedef std::vector<int> Ints;

c_DataBuffer* Make(Ints bytes) {
  EnsureNetStarted();
  c_DataBuffer* buf = (new c_DataBuffer)->m_new((int)bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) buf->data[i] = (unsigned char)bytes[i];
  return buf;
}
Ints Bytes(c_DataBuffer* buf) { return Ints(buf->data, buf->data + buf->length); }
Ints Units(const String& s) { return Ints(s.Data(), s.Data() + s.Length()); }

TEST(DataBuffer, StringsDecodeOrFallBackToSignedBytes) {
  // One bad or cut-off byte spoils the whole text.
  struct { Ints bytes, units; } rows[] = {
      {{0xC3, 0xA9}, {0xE9}}, {{'a', 0xE2, 0x82, 0xAC, 'b'}, {'a', 0x20AC, 'b'}}, {{0x80, 'a'}, {0xFF80, 'a'}},
      {{0xC3}, {0xFFC3}}, {{'a', 0xE2, 0x82}, {'a', 0xFFE2, 0xFF82}}, {{0xF0, 0x9F, 0x98, 0x80}, {0xFFF0, 0xFF9F, 0xFF98, 0xFF80}},
      {{'x', 0xC3, 0xA9, 0xC3, 'y'}, {'x', 0xFFC3, 0xFFA9, 0xFFC3, 'y'}}};
  for (auto& r : rows) EXPECT_EQ(Units(Make(r.bytes)->p_PeekString2(0, String("utf8"))), r.units);
  EXPECT_EQ(Units(Make({0xC3, 0xA9})->p_PeekString(0, 2, String("ascii"))), (Ints{0xC3, 0xA9}));
  EXPECT_EQ(Units(Make({'a', 'b', 'c'})->p_PeekString(1, 9, String("utf8"))), (Ints{'b', 'c'}));

  // Writing: surrogate halves stay apart; only what fits is written, and the
  // count covers the whole text.
  const Char text[] = {0xE9, 0x20AC, 0xD83D, 0xDE00};
  struct { int at, units; const char* encoding; Ints before, written; int count; } pokes[] = {
      {0, 4, "utf8", Ints(11), {0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}, 11},
      {0, 1, "utf8", {0x55}, {0xC3}, 2}, {2, 2, "ascii", {1, 2, 3}, {1, 2, 0xE9}, 2}, {1, 1, "ascii", {1, 2, 3}, {1, 0xE9, 3}, 1}};
  for (auto& p : pokes) {
    c_DataBuffer* buf = Make(p.before);
    EXPECT_EQ(buf->p_PokeString(p.at, String(text, p.units), String(p.encoding)), p.count);
    EXPECT_EQ(Bytes(buf), p.written);
  }
  String every;
  for (int c = 1; c < 0x10000; c += 7) every = every + String((Char)c, 1);
  c_DataBuffer* buf = (new c_DataBuffer)->m_new(every.Length() * 3);
  EXPECT_EQ(buf->p_PeekString(0, buf->p_PokeString(0, every, String("utf8")), String("utf8")), every);
}

Array<int> Of(Ints values) { return Array<int>(values.data(), (int)values.size()); }

TEST(DataBuffer, BytesAreSignedAndClampedToBufferAndArray) {
  c_DataBuffer* buf = Make({0xFF, 0x80, 0x7F, 0x01});
  Array<int> all = buf->p_PeekBytes2(0, 10), dst = Of({42, 42, 42}), src = Of({0x1234, -1, 7, 8});
  EXPECT_EQ(Ints(all.begin(), all.end()), (Ints{-1, -128, 127, 1}));
  for (int address : {-2, 3, 4, 9}) EXPECT_EQ(buf->p_PeekBytes2(address, 5).Length(), address == 3);
  buf->p_PeekBytes(2, dst, 1, 10), buf->p_PeekBytes(0, dst, -1, 2);
  EXPECT_EQ(Ints(dst.begin(), dst.end()), (Ints{42, 127, 1}));
  buf->p_PokeBytes(1, src, 0, 10);  // cut by the buffer's end
  EXPECT_EQ(Bytes(buf), (Ints{0xFF, 0x34, 0xFF, 7}));
  buf->p_PokeBytes(0, src, 3, 10), buf->p_PokeBytes(-1, src, 0, 2), buf->p_PokeBytes(0, src, 0, -3);  // cut by the array's end
  EXPECT_EQ(Bytes(buf), (Ints{8, 0x34, 0xFF, 7}));
  // Overlapping copies in both directions, and copies clamped at both ends.
  c_DataBuffer *up = Make({1, 2, 3, 4}), *down = Make({1, 2, 3, 4}), *five = Make({9, 8, 7, 6, 5}), *three = Make({0, 0, 0});
  up->p_CopyBytes(0, up, 1, 3), down->p_CopyBytes(1, down, 0, 3);
  five->p_CopyBytes(1, three, 1, 100), five->p_CopyBytes(0, three, -1, 2), five->p_CopyBytes(6, three, 0, 2);
  EXPECT_EQ((std::vector<Ints>{Bytes(up), Bytes(down), Bytes(three)}), (std::vector<Ints>{{1, 1, 2, 3}, {2, 3, 4, 4}, {0, 8, 7}}));
}

TEST(DataBuffer, BlocksAreSetOnceFromMemoryOrFiles) {
  EnsureNetStarted();
  c_DataBuffer* buf = (new c_DataBuffer)->m_new2();
  EXPECT_EQ(buf->p_PeekString2(0, String("utf8")).Length(), 0);
  EXPECT_TRUE(buf->_New(16) && !buf->_New(32) && !(new c_DataBuffer)->_New(-1) && buf->length == 16);
  BBGame host;  // for file loading only; no window is opened
  std::string path = testing::TempDir() + "larkspin_buffer_load.bin", content;
  for (int i = 0; i < 10000; ++i) content += (char)(i * 31);
  std::ofstream(path, std::ios::binary) << content;
  c_DataBuffer* loaded = c_DataBuffer::m_Load(String(path.c_str()));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(std::string((const char*)loaded->data, loaded->length), content);
  EXPECT_FALSE(loaded->_Load(String(path.c_str())) || c_DataBuffer::m_Load(String((path + ".missing").c_str())));
  c_Thread* thread = (new c_Thread)->m_new();
  c_DataBuffer* async = (new c_DataBuffer)->m_new2();
  EXPECT_TRUE(async->_LoadAsync(String(path.c_str()), thread) && thread->Result() == async && async->length == 10000);
  remove(path.c_str());
}

TEST(Url, PartsByPlainSearchFromTheLeft) {
  EnsureNetStarted();
  const char* rows[][2] = {  // url, scheme|user|password|domain|port|path|query|fragment|full path
      {"http://h/a/b?x=1#top", "http|||h|80|/a/b|x=1|top|/a/b?x=1#top"}, {"h:8080", "http|||h|8080|/|||/"},
      {"http://u:p@h/p", "http|u|p|h|80|/p|||/p"}, {"ftp://me@h:21", "ftp|me||h|21|/|||/"},
      {"http://h:abc/", "http|||h|0|/|||/"}, {"http://h/a:b", "http|||h|80|/a:b|||/a:b"},  // ":" after the first "/"
      {"http://h:12ab/x", "http|||h|12|/x|||/x"}, {"http://h:99999999999/", "http|||h|2147483647|/|||/"},
      {"http://h/x#f?y", "http|||h|80|/x||f?y|/x#f?y"}, {"http://h?a#b", "http|||h|80|/|a|b|/?a#b"},
      {"h/p?next=http://x:9", "http|||h|80|/p|next=http://x:9||/p?next=http://x:9"}, {"https://h/s", "https|||h|80|/s|||/s"},
  };
  auto parts = [](c_Url* u) {
    String f[] = {u->m_scheme, u->m_username, u->m_password, u->p_Domain(), String(u->p_Port()), u->m_path, u->m_query,
                  u->m_fragment, u->p_FullPath()};
    return String("|").Join(Array<String>(f, 9)).ToUtf8();
  };
  for (auto& r : rows) EXPECT_EQ(parts((new c_Url)->m_new(String(r[0]), String("http"), 80)), r[1]);
  // Parsing again forgets everything of the previous URL.
  c_Url* u = (new c_Url)->m_new(String("gopher://u:p@h:81/a?q#f"), String("news"), 70);
  u->p_Set2(String("other"));
  EXPECT_EQ(parts(u), "news|||other|70|/|||/");
}

c_AsyncSendOp* SendOp(c_Socket* socket) {
  return (new c_AsyncSendOp)->m_new(socket->m_socket, (new c_DataBuffer)->m_new(1), 0, 1, nullptr);
}

TEST(Misuse, EndsTheProgramWithARuntimeError) {
  EnsureNetStarted();
  struct { std::function<void()> body; const char *message, *before = ""; } rows[] = {
      {[] { Make({0})->p_PokeString(0, String("x"), String("latin1")); }, "Invalid string encoding:latin1"},
      {[] { Make({0})->p_PeekString(0, 1, String("UTF8")); }, "Invalid string encoding:UTF8"},
      {[] { Make({0})->m_new(8); }, "Allocate DataBuffer failed"},
      {[] { (new c_DataBuffer)->m_new(-16); }, "Allocate DataBuffer failed"},
      {[] { (new c_Socket)->m_new(String("tcp")); }, "Illegal socket protocol"},
      {[] { bb_asyncevent_AddAsyncEventSource((new c_Socket)->m_new(String("datagram"))); },
       "Async event source is already active"},
      // Not connected: each send fails at once on the worker, yet stays
      // outstanding until an update completes it, which frees its slot.
      {[] {
         c_Socket* s = (new c_Socket)->m_new(String("stream"));
         for (int round = 0; round < 3; ++round, PumpUntil([s] { return s->m_wqueue->m_get == s->m_wqueue->m_put; }, 5000))
           for (int i = 0; i < 200; ++i) s->m_wqueue->p_Enqueue(SendOp(s));
         printf("drained %d\n", s->m_wqueue->m_get);  // 600 operations, modulo 256
         for (int i = 0; i < 255; ++i) s->m_wqueue->p_Enqueue(SendOp(s));
         printf("255 queued\n"), s->m_wqueue->p_Enqueue(SendOp(s));
       }, "AsyncQueue queue overflow!", "drained 88\n255 queued\n"},
  };
  for (auto& r : rows) ExpectRuntimeError(r.body, r.message, r.before);
}

}  // namespace
