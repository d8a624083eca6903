// URL parsing and the string stacks behind the HTTP client.
#include <gtest/gtest.h>

#include "net/net_test_support.h"

namespace {

struct UrlCase {
  const char* url;
  const char* parts;  // scheme|user|password|domain|port|path|query|fragment
  const char* fullPath;
};

std::string Parts(c_Url* u) {
  String bar("|");
  return (u->m_scheme + bar + u->m_username + bar + u->m_password + bar + u->p_Domain() + bar +
          String(u->p_Port()) + bar + u->m_path + bar + u->m_query + bar + u->m_fragment)
      .ToUtf8();
}

TEST(UrlTest, ParsesByPlainSearchFromTheLeft) {
  EnsureNetStarted();
  const UrlCase cases[] = {
      {"http://h/a/b?x=1#top", "http|||h|80|/a/b|x=1|top", "/a/b?x=1#top"},
      {"h:8080", "http|||h|8080|/||", "/"},
      {"http://u:p@h/p", "http|u|p|h|80|/p||", "/p"},
      {"ftp://me@h:21", "ftp|me||h|21|/||", "/"},
      {"http://h/a:b", "http|||h|80|/a:b||", "/a:b"},     // ":" after the first "/"
      {"http://h:abc/", "http|||h|0|/||", "/"},
      {"http://h:12ab/x", "http|||h|12|/x||", "/x"},
      {"http://h:99999999999/", "http|||h|2147483647|/||", "/"},
      {"http://h/x#f?y", "http|||h|80|/x||f?y", "/x#f?y"},  // "?" inside the fragment
      {"h/p?next=http://x:9", "http|||h|80|/p|next=http://x:9|", "/p?next=http://x:9"},
      {"http://h?a#b", "http|||h|80|/|a|b", "/?a#b"},
      {"https://h/s", "https|||h|80|/s||", "/s"},
  };
  for (const UrlCase& c : cases) {
    c_Url* u = (new c_Url)->m_new(String(c.url), String("http"), 80);
    EXPECT_EQ(Parts(u), c.parts) << c.url;
    EXPECT_EQ(u->p_FullPath().ToUtf8(), c.fullPath) << c.url;
  }
  // Parsing again forgets everything of the previous URL.
  c_Url* u = (new c_Url)->m_new(String("gopher://u:p@h:81/a?q#f"), String("news"), 70);
  u->p_Set2(String("other"));
  EXPECT_EQ(Parts(u), "news|||other|70|/||");
}

// Header lines are gathered here: growth must keep every line, and a
// cleared stack must not hand back stale ones.
TEST(StringStackTest, GrowsClearsAndJoins) {
  EnsureNetStarted();
  c_StringStack* s = (new c_StringStack)->m_new();
  EXPECT_EQ(s->p_Join(String(",")).Length(), 0);
  for (int i = 0; i < 40; ++i) s->p_Push4(String(i));
  EXPECT_EQ(s->p_ToArray().Length(), 40);
  EXPECT_EQ(s->p_Get(39).ToUtf8(), "39");
  s->p_Clear();
  for (const char* line : {"a", "", "c"}) s->p_Push4(String(line));
  EXPECT_EQ(s->p_Join(String("\r\n")).ToUtf8(), "a\r\n\r\nc");
}

}  // namespace
