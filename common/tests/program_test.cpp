#include "program.h"
#include "tool_error.h"

#include <gtest/gtest.h>

#include <new>

namespace {

TEST(RunProgram, ExitStatusFollowsHowTheWorkEnded) {
  EXPECT_EQ(common::runProgram("t", "usage\n", [] {}), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(common::runProgram("t", "usage\n", [] { throw common::UsageError("no input"); }), 2);
  EXPECT_EQ(common::runProgram("t", "usage\n", [] { throw common::ToolError("f, line 3: bad"); }), 1);
  EXPECT_EQ(common::runProgram("t", "usage\n", [] { throw std::bad_alloc(); }), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "t: no input\nusage\nt: f, line 3: bad\nt: out of memory\n");
}

TEST(RunProgram, AnswersRequestsOnStandardOutputWithStatusZero) {
  using common::InfoRequest;
  testing::internal::CaptureStdout();
  EXPECT_EQ(common::runProgram("t", "usage\n", [] { throw InfoRequest{InfoRequest::HELP}; }), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "usage\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(common::runProgram("t", "usage\n", [] { throw InfoRequest{InfoRequest::VERSION}; }), 0);
  // The number alone, so that every program prints the same line.
  EXPECT_TRUE(testing::internal::RE::FullMatch(testing::internal::GetCapturedStdout(),
                                               "[0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

}  // namespace
