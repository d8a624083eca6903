// URL parsing and the string stacks behind the HTTP client.
#include <gtest/gtest.h>

#include "net/net_test_support.h"

namespace {

class UrlTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureNetStarted(); }
  static c_Url* Parse(const char* url) {
    return (new c_Url)->m_new(String(url), String("http"), 80);
  }
  static std::string Text(const String& s) { return s.ToUtf8(); }
};

TEST_F(UrlTest, SplitsEveryPart) {
  c_Url* u = Parse("http://h/a/b?x=1#top");
  EXPECT_EQ(Text(u->m_scheme), "http");
  EXPECT_EQ(Text(u->p_Domain()), "h");
  EXPECT_EQ(u->p_Port(), 80);
  EXPECT_EQ(Text(u->m_path), "/a/b");
  EXPECT_EQ(Text(u->m_query), "x=1");
  EXPECT_EQ(Text(u->m_fragment), "top");
  EXPECT_EQ(Text(u->p_FullPath()), "/a/b?x=1#top");

  c_Url* creds = Parse("ftp://u:p@h:21/p");
  EXPECT_EQ(Text(creds->m_scheme), "ftp");
  EXPECT_EQ(Text(creds->m_username), "u");
  EXPECT_EQ(Text(creds->m_password), "p");
  EXPECT_EQ(Text(creds->p_Domain()), "h");
  EXPECT_EQ(creds->p_Port(), 21);
  EXPECT_EQ(Text(creds->m_path), "/p");

  c_Url* user = Parse("http://me@h");
  EXPECT_EQ(Text(user->m_username), "me");
  EXPECT_EQ(Text(user->m_password), "");
  EXPECT_EQ(Text(user->p_Domain()), "h");
  EXPECT_EQ(Text(user->m_path), "/");
}

TEST_F(UrlTest, DefaultsAndPorts) {
  c_Url* bare = Parse("h:8080");
  EXPECT_EQ(Text(bare->m_scheme), "http");
  EXPECT_EQ(Text(bare->p_Domain()), "h");
  EXPECT_EQ(bare->p_Port(), 8080);
  EXPECT_EQ(Text(bare->p_FullPath()), "/");

  EXPECT_EQ(Parse("http://h:abc/")->p_Port(), 0);
  EXPECT_EQ(Parse("http://h:12ab/")->p_Port(), 12);
  EXPECT_EQ(Parse("http://h:/")->p_Port(), 0);
  EXPECT_EQ(Parse("http://h:99999999999999/")->p_Port(), 2147483647);

  c_Url* other = (new c_Url)->m_new(String("example/x"), String("gopher"), 70);
  EXPECT_EQ(Text(other->m_scheme), "gopher");
  EXPECT_EQ(other->p_Port(), 70);
  EXPECT_EQ(Text(other->p_Domain()), "example");
  EXPECT_EQ(Text(other->m_path), "/x");

  c_Url* secure = Parse("https://h/s");
  EXPECT_EQ(Text(secure->m_scheme), "https");
  EXPECT_EQ(secure->p_Port(), 80);
}

TEST_F(UrlTest, SeparatorsInsidePathQueryAndFragment) {
  c_Url* colon = Parse("http://h/a:b");
  EXPECT_EQ(Text(colon->p_Domain()), "h");
  EXPECT_EQ(colon->p_Port(), 80);
  EXPECT_EQ(Text(colon->m_path), "/a:b");

  c_Url* frag = Parse("http://h/x#f?y");
  EXPECT_EQ(Text(frag->m_query), "");
  EXPECT_EQ(Text(frag->m_fragment), "f?y");
  EXPECT_EQ(Text(frag->p_FullPath()), "/x#f?y");

  // A "://" or ":" in the query does not make a scheme or a port.
  c_Url* query = Parse("h/p?next=http://x:9");
  EXPECT_EQ(Text(query->m_scheme), "http");
  EXPECT_EQ(Text(query->p_Domain()), "h");
  EXPECT_EQ(query->p_Port(), 80);
  EXPECT_EQ(Text(query->m_query), "next=http://x:9");

  c_Url* qfirst = Parse("http://h?a#b");
  EXPECT_EQ(Text(qfirst->p_Domain()), "h");
  EXPECT_EQ(Text(qfirst->m_query), "a");
  EXPECT_EQ(Text(qfirst->m_fragment), "b");
  EXPECT_EQ(Text(qfirst->p_FullPath()), "/?a#b");
}

TEST_F(UrlTest, ReparsingForgetsThePreviousUrl) {
  c_Url* u = Parse("http://u:p@h:81/a?q#f");
  u->p_Set2(String("other"));
  EXPECT_EQ(Text(u->p_Domain()), "other");
  EXPECT_EQ(u->p_Port(), 80);
  EXPECT_EQ(Text(u->m_username), "");
  EXPECT_EQ(Text(u->m_password), "");
  EXPECT_EQ(Text(u->p_FullPath()), "/");
}

TEST_F(UrlTest, StringStackGrowsClearsAndJoins) {
  c_StringStack* s = (new c_StringStack)->m_new();
  EXPECT_EQ(s->p_Join(String(",")).Length(), 0);
  for (int i = 0; i < 40; ++i) s->p_Push4(String(i));
  EXPECT_EQ(s->p_Length2(), 40);
  EXPECT_EQ(s->m_data.Length(), 70);  // grown to 10, 30, then 70
  EXPECT_EQ(Text(s->p_Get(39)), "39");
  Array<String> all = s->p_ToArray();
  ASSERT_EQ(all.Length(), 40);
  EXPECT_EQ(Text(all[7]), "7");
  s->p_Clear();
  EXPECT_EQ(s->p_Length2(), 0);
  EXPECT_EQ(s->m_data[0].Length(), 0);
  s->p_Push4(String("a"));
  s->p_Push4(String());
  s->p_Push4(String("c"));
  EXPECT_EQ(Text(s->p_Join(String("\r\n"))), "a\r\n\r\nc");
}

}  // namespace
