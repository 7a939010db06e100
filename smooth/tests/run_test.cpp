// The whole run called in-process, as a fuzz target or another program
// would: repeated calls, error paths, and nothing left behind.
#include "smooth.h"
#include "test_files.h"

#include <string>
#include <vector>

namespace {

class SmoothMain : public ScratchDir {
protected:
  int run(const std::vector<std::string> &args) {
    std::vector<std::string> words{"smooth"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (auto &w : words)
      argv.push_back(&w[0]);
    argv.push_back(nullptr);
    return smoothMain(static_cast<int>(words.size()), argv.data());
  }
};

TEST_F(SmoothMain, RepeatedRunsGiveTheSameOutput) {
  const std::string in = write_file("in", "head\n1 100 8 0.001 ACGTACGT\n0 104 6 1e-4 ACGTAC\n");
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(run({in, "5", path("out"), "1"}), 0);
    EXPECT_EQ(read_file(path("out")), "100\t108\t8\n104\t110\t6\n");
  }
}

// What is released is checked only by the sanitizer build's leak checker.
TEST_F(SmoothMain, ErrorPathsReturnOneLeaksCheckedBySanitizer) {
  const std::string in = write_file("in", "head\n1 100 8 0.001 ACGTACGT\n");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(run({path("missing"), "5", path("out"), "0"}), 1);
  EXPECT_FALSE(exists(path("out")));
  EXPECT_EQ(run({path(""), "5", path("out"), "0"}), 1);
  EXPECT_FALSE(exists(path("out")));
  EXPECT_EQ(run({in, "5", path(""), "0"}), 1);
  EXPECT_EQ(run({in, "5", "/dev/full", "0"}), 1);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find(path("missing") + ": cannot open: "), std::string::npos) << err;
  EXPECT_NE(err.find("/dev/full: write error: "), std::string::npos) << err;
}

} // namespace
