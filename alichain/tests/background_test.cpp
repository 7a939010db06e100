#include "alichain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(BackgroundJob, RunsOnceOnAnotherThreadAndHandsBackItsFailure) {
  std::atomic<int> runs{0};
  std::thread::id ranOn;
  {
    BackgroundJob job([&] {
      ranOn = std::this_thread::get_id();
      ++runs;
      throw AlichainError("Error: from the job\n");
    });
    try {
      job.wait();
      FAIL() << "the job's failure was lost";
    } catch (const AlichainError &e) {
      EXPECT_STREQ(e.what(), "Error: from the job\n");
    }
  }
  EXPECT_EQ(runs, 1);
  EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST(BackgroundJob, DestructionWaitsForARunningJob) {
  std::atomic<bool> finished{false};
  {
    BackgroundJob job([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      finished = true;
    });
  }
  EXPECT_TRUE(finished);
}

}  // namespace
