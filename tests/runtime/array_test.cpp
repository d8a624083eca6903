// Array<T>: shared empty representations, zeroed elements, resizing and
// value semantics.
#include <gtest/gtest.h>

#include "runtime/runtime.h"

namespace {

TEST(ArrayBasics, EmptyArraysShareOneRepresentation) {
  Array<int> a, b(0), c(-4);
  EXPECT_EQ(a.rep, b.rep);
  EXPECT_EQ(a.rep, c.rep);
  EXPECT_EQ(Array<int>(5).Resize(0).rep, a.rep);
  // Never collected: the collector never sees them as unmarked.
  EXPECT_EQ(a.rep->gc_colour(), 3);
  gc_enqueue(a);
  EXPECT_EQ(a.rep->succ, a.rep);
}

TEST(ArrayBasics, ElementsStartZeroedAndCopiesShare) {
  Array<float> f(4);
  for (float x : f) EXPECT_EQ(x, 0.0f);
  Array<String> names(3);
  for (const String& s : names) EXPECT_EQ(s.Length(), 0);
  Array<int> ints(3);
  Array<int> alias = ints;
  alias[1] = 9;
  EXPECT_EQ(ints[1], 9);
  EXPECT_EQ(ints.rep->gc_size() % 8, 0);
  EXPECT_GE(ints.rep->gc_size(), (int)(sizeof(Array<int>::Rep) + 3 * sizeof(int)));
}

TEST(ArrayBasics, ResizeCopiesThePrefixAndLeavesTheSourceAlone) {
  Array<String> names(3);
  names[0] = "zero";
  names[2] = "two";
  Array<String> grown = names.Resize(5);
  ASSERT_EQ(grown.Length(), 5);
  EXPECT_EQ(grown[2], String("two"));
  EXPECT_EQ(grown[4].Length(), 0);
  EXPECT_EQ(names.Resize(1)[0], String("zero"));
  grown[0] = "changed";
  EXPECT_EQ(names[0], String("zero"));
  EXPECT_EQ(names.Length(), 3);
}

}  // namespace
