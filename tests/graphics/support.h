// Shared helpers of the graphics tests.
#pragma once

#include <gtest/gtest.h>

#include "support/child_process.h"

// Expects fn to end the process with the runtime error `message`.
inline void ExpectRuntimeError(const std::function<void()>& fn, const std::string& message) {
  ChildResult r = RunInChild(fn);
  EXPECT_EQ(r.status, 255) << message;
  EXPECT_NE(r.out.find("Quill Runtime Error : " + message + "\n"), std::string::npos) << r.out;
}
