// Every part runs once, each on its own thread, and a failing part neither
// stops the others nor is lost: the lowest failing part's exception comes
// back to the caller.
#include "parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

TEST(InParallel, RunsEveryPartOnceAndRethrowsTheLowestFailure) {
  for (const int parts : {0, 1, 2, 7}) {
    std::vector<std::atomic<int>> runs(static_cast<size_t>(parts));
    std::vector<std::thread::id> ids(static_cast<size_t>(parts));
    common::inParallel(parts, [&](int part) {
      ++runs[static_cast<size_t>(part)];
      ids[static_cast<size_t>(part)] = std::this_thread::get_id();
    });
    for (int p = 0; p < parts; ++p) EXPECT_EQ(1, runs[static_cast<size_t>(p)].load()) << p << " of " << parts;
    for (int p = 1; p < parts; ++p) EXPECT_NE(ids[0], ids[static_cast<size_t>(p)]);
  }
  std::atomic<int> ran{0};
  try {
    common::inParallel(6, [&](int part) {
      ++ran;
      if (part == 2 || part == 4) throw std::runtime_error("failed: " + std::to_string(part));
    });
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error &e) {
    EXPECT_STREQ("failed: 2", e.what());
  }
  EXPECT_EQ(6, ran.load());
}

}  // namespace
