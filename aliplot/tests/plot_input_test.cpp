#include "plot_input.h"

#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

namespace {

using common_test::TempDir;
using common_test::writeFile;
using common_test::writeGzip;

const char ALIGNMENTS[] =
    "##gff-version 2\n"
    "# two sequences\n"
    "A\tt\tsequence:sequence\t1:1\t1000:900\t0\t.\tseq1 \"Alpha\"; seq2 \"Beta\"\n"
    "A\tt\talignment\t1:1\t100:100\t50\t+\tali 1\n"
    "A\tt\tfragment\t1:1\t100:100\t50\t+\tali 1\n"
    "A\tt\talignment\t200:700\t300:800\t20.5\t-\tali 2\n"
    "A\tt\talignment\t400:400\t500:500\t30\t+\tali 3\n";

std::string report(const std::string &members, const std::string &lines) {
  return "3\n##gff-version 2\n##source-version alichain 0.0\n##date x\n##\n##alichain in.gff\n"
         "##Number of used alignments:\t2\n##Score sum of these alignments: 8\n"
         "##Used alignments:\n## " + members + "\n##\n" + lines;
}

const char LINE_1[] = "A\tt\talignment\t1:1\t100:100\t50\t+\tali 1\n";
const char LINE_3[] = "A\tt\talignment\t400:400\t500:500\t30\t+\tali 3\n";

TEST(PlotInput, TakesNamesLengthsAndAlignments) {
  TempDir dir;
  writeFile(dir.file("in.gff"), ALIGNMENTS);
  writeFile(dir.file("chain"), report("1 3", std::string(LINE_1) + LINE_3));
  const aliplot::PlotInput plot = aliplot::readPlotInput(dir.file("in.gff"), {dir.file("chain")});
  EXPECT_EQ(plot.title, dir.file("in.gff"));
  // The alignments' own name for the first sequence, the sequence line's for the second.
  EXPECT_EQ(plot.xName, "A");
  EXPECT_EQ(plot.yName, "Beta");
  EXPECT_EQ(plot.xLength, 1000);
  EXPECT_EQ(plot.yLength, 900);
  ASSERT_EQ(plot.alignments.size(), 3u);
  EXPECT_EQ(plot.alignments[1].strand, '-');
  EXPECT_EQ(plot.alignments[1].yb, 700);
  EXPECT_FLOAT_EQ(plot.alignments[1].score, 20.5f);
  EXPECT_EQ(plot.minusAlignments, 1u);
  ASSERT_EQ(plot.chains.size(), 1u);
  EXPECT_EQ(plot.chains[0].members, (std::vector<uint64_t>{1, 3}));
  EXPECT_EQ(plot.chains[0].scoreSum, "8");
  EXPECT_FALSE(plot.chains[0].mirrored);
}

TEST(PlotInput, NamesTheSequencesWithoutASequencePairLine) {
  TempDir dir;
  writeFile(dir.file("in.gff"), "chrX\tt\talignment\t5:5\t9:9\t1\t+\n");
  const aliplot::PlotInput plot = aliplot::readPlotInput(dir.file("in.gff"), {});
  EXPECT_EQ(plot.xName, "chrX");
  EXPECT_EQ(plot.yName, "second sequence");
  EXPECT_EQ(plot.xLength, 0);
}

// The same alignments in other formats, plain or gzip: the shared readers
// recognise them, and each gives the same plot.
struct FormatCase {
  const char *name;
  const char *content;
  bool gzip;
};

class PlotInputFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PlotInputFormats, ReadsTheAlignmentsOfEveryFormat) {
  TempDir dir;
  const std::string path = dir.file("in");
  if (GetParam().gzip)
    writeGzip(path, GetParam().content);
  else
    writeFile(path, GetParam().content);
  const aliplot::PlotInput plot = aliplot::readPlotInput(path, {});
  EXPECT_EQ(plot.format, GetParam().name);
  EXPECT_EQ(plot.xName, "ref");
  EXPECT_EQ(plot.yName, "qry");
  ASSERT_EQ(plot.alignments.size(), 2u);
  EXPECT_EQ(plot.alignments[0].xb, 11);
  EXPECT_EQ(plot.alignments[0].xe, 60);
  EXPECT_EQ(plot.alignments[1].strand, '-');
  EXPECT_EQ(plot.alignments[1].yb, 301);
  EXPECT_EQ(plot.minusAlignments, 1u);
}

const char PAF[] =
    "qry\t900\t0\t50\t+\tref\t1000\t10\t60\t50\t50\t60\n"
    "qry\t900\t300\t400\t-\tref\t1000\t500\t600\t100\t100\t60\n";
const char BLAST[] =
    "qry\tref\t100\t50\t0\t0\t1\t50\t11\t60\t1e-20\t90\n"
    "qry\tref\t100\t100\t0\t0\t301\t400\t600\t501\t1e-40\t180\n";

INSTANTIATE_TEST_SUITE_P(, PlotInputFormats,
                         ::testing::Values(FormatCase{"paf", PAF, false}, FormatCase{"paf", PAF, true},
                                           FormatCase{"blast6", BLAST, false}),
                         [](const auto &info) {
                           return std::string(info.param.name) + (info.param.gzip ? "_gzip" : "_plain");
                         });

TEST(PlotInput, TakesTheLengthsThePafStates) {
  TempDir dir;
  writeFile(dir.file("in.paf"), PAF);
  const aliplot::PlotInput plot = aliplot::readPlotInput(dir.file("in.paf"), {});
  EXPECT_EQ(plot.xLength, 1000);
  EXPECT_EQ(plot.yLength, 900);
}

// The message of the ToolError that reading throws, or "" when none.
std::string failure(const std::string &alignments, const std::string &chain) {
  TempDir dir;
  writeFile(dir.file("in.gff"), alignments);
  writeFile(dir.file("chain"), chain);
  try {
    aliplot::readPlotInput(dir.file("in.gff"), {dir.file("chain")});
  } catch (const common::ToolError &error) {
    return error.what();
  }
  return "";
}

TEST(PlotInput, RefusesAReportThatDoesNotBelong) {
  EXPECT_NE(failure(ALIGNMENTS, report("1 4", std::string(LINE_1) + LINE_3)).find(
                "member 4 lies beyond the 3 alignments"),
            std::string::npos);
  // Numbers within range, but naming other lines than those copied.
  EXPECT_NE(failure(ALIGNMENTS, report("1 2", std::string(LINE_1) + LINE_3)).find(
                "differ from the lines"),
            std::string::npos);
  EXPECT_NE(failure(ALIGNMENTS, "not a report\n").find("chain"), std::string::npos);
  EXPECT_NE(failure("A\tt\talignment\t9:1\t3:1\t5\t+\n", report("1 2", "")).find("line 1"),
            std::string::npos);
  EXPECT_EQ(failure(ALIGNMENTS, report("1 3", std::string(LINE_1) + LINE_3)), "");
}

}  // namespace

namespace {

// A SAM header names three references, two without alignments; of the
// reads, two are unmapped, one of them under the name of a mapped one (a
// mate), which is not counted.
TEST(PlotInput, CountsTheSequencesASamInputNamesWithoutAligning) {
  TempDir dir;
  writeFile(dir.file("in.sam"),
            "@HD\tVN:1.6\n@SQ\tSN:r1\tLN:1000\n@SQ\tSN:r2\tLN:500\n@SQ\tSN:r3\tLN:500\n"
            "q1\t0\tr1\t10\t60\t5M\t*\t0\t0\tACGTA\t*\n"
            "q2\t4\t*\t0\t0\t*\t*\t0\t0\tACGTA\t*\n"
            "q1\t4\t*\t0\t0\t*\t*\t0\t0\tACGTA\t*\n");
  aliplot::PlotInput plot = aliplot::readPlotInput(dir.file("in.sam"), {});
  EXPECT_EQ(plot.unalignedReferences, 2u);
  EXPECT_EQ(plot.unalignedQueries, 1u);
  // A chosen pair leaves the others out by choice.
  plot = aliplot::readPlotInput(dir.file("in.sam"), {}, {"r1", "q1"});
  EXPECT_EQ(plot.unalignedReferences + plot.unalignedQueries, 0u);
}

TEST(PlotInput, TakesTheIdentityTheInputStates) {
  TempDir dir;
  writeFile(dir.file("in.paf"), "q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\n");
  EXPECT_FLOAT_EQ(aliplot::readPlotInput(dir.file("in.paf"), {}).alignments[0].identity, 90);
  writeFile(dir.file("in.gff"), "chrX\tt\talignment\t5:5\t9:9\t1\t+\n");
  EXPECT_FLOAT_EQ(aliplot::readPlotInput(dir.file("in.gff"), {}).alignments[0].identity, -1);
}

}  // namespace
