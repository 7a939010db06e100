#include "alichain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Input files of one test, removed with their reports when it ends.
class Driver : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::string &path : made) {
      std::remove(path.c_str());
      std::remove((path + ".chainout").c_str());
    }
  }

  std::string writeFile(const std::string &name, const std::string &text) {
    // ctest runs the cases as parallel processes: each needs files of its own.
    const std::string path = ::testing::TempDir() + std::to_string(getpid()) + "_" + name;
    std::ofstream(path, std::ios::binary) << text;
    made.push_back(path);
    return path;
  }

  std::vector<std::string> made;
};

std::string readReport(const std::string &path) {
  std::ifstream in(path + ".chainout", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  // The date line is the one part that varies between runs.
  const size_t date = text.find("##date ");
  if (date != std::string::npos) text.erase(date, text.find('\n', date) - date);
  return text;
}

int run(std::vector<std::string> args) {
  std::vector<char *> argv;
  for (std::string &a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return alichainMain(static_cast<int>(args.size()), argv.data());
}

// A fuzzing harness calls the whole run many times in one process: each
// call must start from a clean state, also after a failed one.
TEST_F(Driver, RunsRepeatedlyInOneProcess) {
  const std::string good = writeFile("driver_good.gff",
                                     "a\tb\talignment\t10:70\t50:95\t5\t-\n"
                                     "a\tb\talignment\t60:20\t90:60\t3\t-\n");
  const std::string bad = writeFile("driver_bad.gff", "a\tb\talignment\t10:70\t50\n");
  EXPECT_EQ(run({"alichain"}), 8);
  EXPECT_EQ(run({"alichain", "-f", good}), 0);
  const std::string first = readReport(good);
  EXPECT_NE(first.find("##Score sum of these alignments: 8\n"), std::string::npos) << first;
  EXPECT_EQ(run({"alichain", "-f", bad}), 8);
  EXPECT_EQ(run({"alichain", "-r", good}), 8);
  EXPECT_EQ(run({"alichain", "-f", good}), 0);
  EXPECT_EQ(readReport(good), first);
}

TEST_F(Driver, HeaderNamesTheProgramWhateverItWasCalled) {
  const std::string input = writeFile("driver_name.gff", "a\tb\talignment\t1:1\t5:5\t2\t+\n");
  EXPECT_EQ(run({"/usr/local/bin/renamed-chainer", "-f", input}), 0);
  const std::string report = readReport(input);
  EXPECT_NE(report.find("##source-version alichain 0.0\n"), std::string::npos) << report;
  EXPECT_NE(report.find("##alichain -f " + input + "\n"), std::string::npos) << report;
}

// A name with control bytes or backslashes keeps the header's command on
// one line and can be read back without doubt.
TEST(HeaderName, EscapesControlBytesAndBackslashes) {
  EXPECT_EQ(escapeName("plain name.gff"), "plain name.gff");
  EXPECT_EQ(escapeName("a\nb\tc\\d\x01\x1f\x7f\xc3\xa9"), "a\\nb\\tc\\\\d\\x01\\x1f\\x7f\xc3\xa9");
  EXPECT_EQ(escapeName(std::string("nul\0here", 8)), "nul\\x00here");
}

// A chain sum beyond 64 bits in the reverse pass ends the run before any
// report is written.
TEST_F(Driver, ChainSumOverflowLeavesNoReport) {
  std::string lines;
  for (int i = 0; i < 1000; ++i) {
    const int y = 100000 - 10 * i;
    lines += "a\tb\talignment\t" + std::to_string(10 * i + 1) + ":" + std::to_string(y) + "\t" +
             std::to_string(10 * i + 5) + ":" + std::to_string(y + 4) + "\t1e15\t-\n";
  }
  const std::string input = writeFile("driver_overflow.gff", lines);
  EXPECT_EQ(run({"alichain", "-f", input}), 8);
  EXPECT_FALSE(std::ifstream(input + ".chainout").good());
}

}  // namespace
