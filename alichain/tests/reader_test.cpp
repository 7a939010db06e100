#include "alichain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

class Reader : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(name.c_str()); }

  // Writes `text` to the test's input file and returns its name.
  const std::string &write(const std::string &text) {
    std::ofstream(name, std::ios::binary) << text;
    return name;
  }
  std::string spanText(const LINESPAN &s) { return std::string(input.text.get() + s.begin, s.end - s.begin); }

  // ctest runs the cases as parallel processes: each needs a file of its own.
  const std::string name =
      ::testing::TempDir() + "alichain_reader_test_" + std::to_string(getpid()) + ".gff";
  INPUT input;
};

// Each pass gets a table of its own: the forward one as read, the reverse
// one mirrored, both with the scores as read whatever a sweep did to the
// other.
TEST_F(Reader, ForwardAndMirroredOrientation) {
  ASSERT_EQ(readAlignments(write("a\tb\talignment\t10:20\t50:60\t12.34\t+\n"
                                 "a\tb\thsp:hsp\t70:80\t90:95\t-1.0\t-\n"),
                           input),
            2u);
  PASS forward;
  orientAlignments(input, 0, forward);
  ASSERT_EQ(forward.ali.size(), 2u);
  const ALI &f = forward.ali[0];
  EXPECT_EQ(std::vector<int64_t>({f.xb, f.yb, f.xe, f.ye, f.score}),
            std::vector<int64_t>({10, 20, 50, 60, 123}));
  EXPECT_EQ(f.pred, UINT64_MAX);
  forward.ali[0].score = 999;  // as a sweep would leave it
  PASS reverse;
  orientAlignments(input, 1, reverse);
  ASSERT_EQ(reverse.ali.size(), 2u);
  const ALI &r = reverse.ali[0];
  EXPECT_EQ(std::vector<int64_t>({r.xb, r.yb, r.xe, r.ye, r.score}),
            std::vector<int64_t>({10, -60, 50, -20, 123}));
  EXPECT_EQ(reverse.ali[1].yb, -95);
  EXPECT_EQ(reverse.ali[1].ye, -80);
  EXPECT_EQ(reverse.ali[1].score, -9);
  EXPECT_EQ(reverse.ali[1].pred, UINT64_MAX);
  EXPECT_EQ(input.ali[0].score, 123) << "the input's table is never changed";
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
  ASSERT_EQ(readAlignments(write(text), input), 2u);
  EXPECT_EQ(input.ali[1].xb, 70);
  EXPECT_EQ(input.ali[1].score, 25);
  ASSERT_EQ(input.alignmentLines.size(), 2u);
  EXPECT_EQ(spanText(alignmentSpan(input, 0)),
            "a\tb\talignment\t10:20\t50:60\t1\t+\n"
            "a\tb\tfragment\t10:20\t30:40\t1\t+\n"
            "a\tb\tfragment\t31:41\t50:60\t1\t+\n");
  EXPECT_EQ(spanText(alignmentSpan(input, 1)), "a\tb\thsp:hsp\t70:70\t80:80\t2.5\t-\r\n");
  ASSERT_EQ(input.copiedLines.size(), 3u);
  EXPECT_EQ(spanText(input.copiedLines[0]), "##gff-version 2\n");
  EXPECT_EQ(spanText(input.copiedLines[2]), "s\tt\tsequence:sequence\t1:1\t9:9\t0\t.\n");
  EXPECT_EQ(input.text[input.textSize - 1], '\n') << "a last line without a break gets one";
}

TEST_F(Reader, ReadsLinesOfAnyLength) {
  const std::string longAttribute(5000, 'z');
  write("a\tb\talignment\t1:2\t3:4\t5\t+\t" + longAttribute + "\n" + longAttribute +
        "\talignment\n");
  ASSERT_EQ(readAlignments(name, input), 1u);
  EXPECT_EQ(alignmentSpan(input, 0).end - alignmentSpan(input, 0).begin, 5027u);
}

TEST_F(Reader, EmptyFileHasNoAlignments) {
  EXPECT_EQ(readAlignments(write(""), input), 0u);
  EXPECT_EQ(input.textSize, 0u);
}

TEST_F(Reader, MissingFileIsFatal) {
  EXPECT_THROW(readAlignments(::testing::TempDir() + "no/such/file.gff", input), AlichainError);
}

struct Refusal {
  const char *line;
  const char *message;
};
void PrintTo(const Refusal &c, std::ostream *os) { *os << '"' << c.line << '"'; }

class ReaderRefusal : public Reader, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ReaderRefusal, NamesFileAndLine) {
  write("# comment\na\tb\talignment\t1:1\t2:2\t1\t+\n\n" + std::string(GetParam().line) + "\n");
  try {
    readAlignments(name, input);
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
        Refusal{"a\tb\talignment\t1:1\t2:2\t1.1e15", "score"},
        // Beyond 10^15 as written, though single precision rounds them onto it.
        Refusal{"a\tb\talignment\t1:1\t2:2\t1000000000000001", "score"},
        Refusal{"a\tb\talignment\t1:1\t2:2\t1.00000002e15", "score"},
        Refusal{"a\tb\talignment\t1:1\t2:2\t-1000000000000000.5", "score"}));

TEST_F(Reader, AcceptsTheWidestCoordinatesAndScores) {
  write("a\tb\talignment\t-9223372036854775807:-9223372036854775806\t"
        "9223372036854775806:9223372036854775806\t-1e15\t+\n"
        "a\tb\talignment\t1:1\t2:2\t1000000000000000.0\t+\n"
        "a\tb\talignment\t1:1\t2:2\t0.0001e19\t+\n");
  ASSERT_EQ(readAlignments(name, input), 3u);
  PASS reverse;
  orientAlignments(input, 1, reverse);
  EXPECT_EQ(reverse.ali[0].yb, -9223372036854775806);
  EXPECT_EQ(reverse.ali[0].ye, 9223372036854775806);
  EXPECT_EQ(reverse.ali[0].score, -10000000272564224);
}

}  // namespace
