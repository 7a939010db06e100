#include "alichain.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

class Reader : public ::testing::Test {
 protected:
  void SetUp() override { resetRun(); }
  void TearDown() override { resetRun(); }

  std::string write(const std::string &text) {
    // ctest runs the cases as parallel processes: each needs a file of its own.
    const std::string name =
        ::testing::TempDir() + "alichain_reader_test_" + std::to_string(getpid()) + ".gff";
    std::ofstream(name, std::ios::binary) << text;
    return name;
  }
  std::string spanText(const LINESPAN &s) { return std::string(input.text.get() + s.begin, s.end - s.begin); }
};

TEST_F(Reader, ForwardAndMirroredOrientation) {
  const std::string name = write("a\tb\talignment\t10:20\t50:60\t12.34\t+\n");
  ASSERT_EQ(readAlignments(name, 0), 1u);
  EXPECT_EQ(ali[0].xb, 10);
  EXPECT_EQ(ali[0].yb, 20);
  EXPECT_EQ(ali[0].xe, 50);
  EXPECT_EQ(ali[0].ye, 60);
  EXPECT_EQ(ali[0].score, 123);
  EXPECT_EQ(ali[0].pred, UINT64_MAX);
  ali[0].score = 999;  // as a sweep would leave it
  ASSERT_EQ(readAlignments(name, 1), 1u);
  EXPECT_EQ(ali[0].xb, 10);
  EXPECT_EQ(ali[0].yb, -60);
  EXPECT_EQ(ali[0].xe, 50);
  EXPECT_EQ(ali[0].ye, -20);
  EXPECT_EQ(ali[0].score, 123);
  ASSERT_EQ(readAlignments(name, 0), 1u);
  EXPECT_EQ(ali[0].yb, 20);
  EXPECT_EQ(ali[0].ye, 60);
}

// The reverse pass runs on a thread of its own: its table is a mirrored
// copy with the as-read scores, and the reading thread's table stays as it is.
TEST_F(Reader, AnotherThreadGetsAMirroredCopy) {
  const std::string name = write("a\tb\talignment\t10:20\t50:60\t12.34\t+\n"
                                 "a\tb\thsp:hsp\t70:80\t90:95\t-1.0\t-\n");
  ASSERT_EQ(readAlignments(name, 0), 2u);
  ali[0].score = 999;  // as the forward sweep would leave it
  std::vector<ALI> copy;
  std::thread([&] {
    readAlignments(name, 1);
    copy = ali;
  }).join();
  ASSERT_EQ(copy.size(), 2u);
  EXPECT_EQ(copy[0].xb, 10);
  EXPECT_EQ(copy[0].yb, -60);
  EXPECT_EQ(copy[0].xe, 50);
  EXPECT_EQ(copy[0].ye, -20);
  EXPECT_EQ(copy[0].score, 123);
  EXPECT_EQ(copy[1].yb, -95);
  EXPECT_EQ(copy[1].ye, -80);
  EXPECT_EQ(copy[1].score, -9);
  EXPECT_EQ(copy[1].pred, UINT64_MAX);
  EXPECT_EQ(ali[0].yb, 20);
  EXPECT_EQ(ali[0].score, 999);
}

TEST_F(Reader, TakesOnlyAlignmentLinesAndRemembersTheirLines) {
  const std::string text =
      "##gff-version 2\n"
      "#\ta\talignment\t1:1\t2:2\t1\t+\n"
      "s\tt\tsequence:sequence\t1:1\t9:9\t0\t.\n"
      "a\tb\talignment\t10:20\t50:60\t1\t+\n"
      "a\tb\tfragment\t10:20\t30:40\t1\t+\n"
      "a\tb\tfragment\t31:41\t50:60\t1\t+\n"
      "\n"
      "a\tb\tfragment\t1:1\t2:2\t1\t+\n"
      "a\tb\texon\t1:1\t2:2\t1\t+\n"
      "a b\n"
      "a\tb\thsp:hsp\t70:70\t80:80\t2.5\t-\r\n"
      "a\tb\talignments\t1:1\t2:2\t1\t+\n"
      "x\ty\tfragment\t70:70\t80:80\t1\t-";
  ASSERT_EQ(readAlignments(write(text), 0), 2u);
  EXPECT_EQ(ali[1].xb, 70);
  EXPECT_EQ(ali[1].score, 25);
  ASSERT_EQ(input.alignmentLines.size(), 2u);
  EXPECT_EQ(spanText(alignmentSpan(0)),
            "a\tb\talignment\t10:20\t50:60\t1\t+\n"
            "a\tb\tfragment\t10:20\t30:40\t1\t+\n"
            "a\tb\tfragment\t31:41\t50:60\t1\t+\n");
  EXPECT_EQ(spanText(alignmentSpan(1)), "a\tb\thsp:hsp\t70:70\t80:80\t2.5\t-\r\n");
  ASSERT_EQ(input.copiedLines.size(), 3u);
  EXPECT_EQ(spanText(input.copiedLines[0]), "##gff-version 2\n");
  EXPECT_EQ(spanText(input.copiedLines[2]), "s\tt\tsequence:sequence\t1:1\t9:9\t0\t.\n");
  EXPECT_EQ(input.text[input.textSize - 1], '\n') << "a last line without a break gets one";
}

TEST_F(Reader, ReadsLinesOfAnyLength) {
  const std::string longAttribute(5000, 'z');
  const std::string name = write("a\tb\talignment\t1:2\t3:4\t5\t+\t" + longAttribute +
                                 "\n" + longAttribute + "\talignment\n");
  ASSERT_EQ(readAlignments(name, 0), 1u);
  EXPECT_EQ(alignmentSpan(0).end - alignmentSpan(0).begin, 5027u);
}

TEST_F(Reader, EmptyFileHasNoAlignments) {
  EXPECT_EQ(readAlignments(write(""), 0), 0u);
  EXPECT_EQ(input.textSize, 0u);
}

TEST_F(Reader, MissingFileIsFatal) {
  EXPECT_THROW(readAlignments(::testing::TempDir() + "no/such/file.gff", 0), AlichainError);
}

struct Refusal {
  const char *line;
  const char *message;
};
void PrintTo(const Refusal &c, std::ostream *os) { *os << '"' << c.line << '"'; }

class ReaderRefusal : public Reader, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ReaderRefusal, NamesFileAndLine) {
  const std::string name = write("# comment\na\tb\talignment\t1:1\t2:2\t1\t+\n\n" +
                                 std::string(GetParam().line) + "\n");
  try {
    readAlignments(name, 0);
    FAIL() << "accepted: " << GetParam().line;
  } catch (const AlichainError &e) {
    const std::string what = e.what();
    EXPECT_EQ(what.rfind("Error: Alignment file " + name, 0), 0u) << what;
    EXPECT_NE(what.find("line 4"), std::string::npos) << what;
    EXPECT_NE(what.find(GetParam().message), std::string::npos) << what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReaderRefusal,
    ::testing::Values(
        Refusal{"a\tb\talignment\t1:1\t2:2", "not in proper format"},
        Refusal{"a\tb\thsp:hsp\t1:1\t2", "not in proper format"},
        Refusal{"a\tb\talignment\t1:1\t2:2\tx", "not in proper format"},
        Refusal{"a\tb\talignment\t5:1\t4:2\t1\t+", "end lies below"},
        Refusal{"a\tb\talignment\t99999999999999999999:1\t2:2\t1", "out of range"},
        Refusal{"a\tb\talignment\t-9223372036854775808:1\t2:2\t1", "out of range"},
        Refusal{"a\tb\talignment\t1:1\t9223372036854775807:2\t1", "out of range"},
        Refusal{"a\tb\talignment\t1:-9223372036854775807\t2:2\t1", "out of range"},
        Refusal{"a\tb\talignment\t1:1\t2:-9223372036854775807\t1", "out of range"},
        Refusal{"a\tb\talignment\t1:1\t2:9223372036854775807\t1", "out of range"},
        Refusal{"a\tb\talignment\t1:1\t2:2\tnan", "score"},
        Refusal{"a\tb\talignment\t1:1\t2:2\t-inf", "score"},
        Refusal{"a\tb\talignment\t1:1\t2:2\t1.1e15", "score"}));

TEST_F(Reader, AcceptsTheWidestCoordinatesAndScores) {
  const std::string name = write(
      "a\tb\talignment\t-9223372036854775807:-9223372036854775806\t"
      "9223372036854775806:9223372036854775806\t-1e15\t+\n");
  ASSERT_EQ(readAlignments(name, 1), 1u);
  EXPECT_EQ(ali[0].yb, -9223372036854775806);
  EXPECT_EQ(ali[0].ye, 9223372036854775806);
  EXPECT_EQ(ali[0].score, -10000000272564224);
}

}  // namespace
