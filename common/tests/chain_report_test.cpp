#include "chain_report.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

namespace {

using common_test::TempDir;

const char HEADER[] =
    "##gff-version 2\n##source-version alichain 0.0\n##date Dec/07/26 01:23:45\n##\n";

TEST(ChainReports, ReadsBothReportsOfStandardOutput) {
  TempDir dir;
  common_test::writeFile(dir.file("out"),
                         std::string("3\n") + HEADER +
                             "##alichain in.gff\n##Number of used alignments:\t2\n"
                             "##Score sum of these alignments: 7\n##Used alignments:\n## 1 3\n##\n"
                             "# comment\nX\tt\talignment\t10:70\t50:95\t5\t-\tr1\n"
                             "X\tt\tfragment\t10:70\t50:95\t5\t-\tr1\n"
                             "X\tt\talignment\t200:300\t210:310\t2\t+\tf1\n" +
                             HEADER +
                             "##alichain in.gff\n##Number of used alignments:\t2\n"
                             "##Score sum of these alignments: 8\n##Used alignments:\n## 1 2\n##\n"
                             "X\tt\talignment\t10:70\t50:95\t5\t-\tr1\n"
                             "X\tt\talignment\t60:20\t90:60\t3\t-\tr2\n");
  const auto reports = common::readChainReports(dir.file("out"));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0].commandLine, "alichain in.gff");
  EXPECT_EQ(reports[0].members, (std::vector<uint64_t>{1, 3}));
  EXPECT_EQ(reports[0].scoreSum, "7");
  EXPECT_EQ(reports[0].memberLines.size(), 2u);
  EXPECT_FALSE(reports[0].mirrored);
  EXPECT_EQ(reports[1].members, (std::vector<uint64_t>{1, 2}));
  EXPECT_TRUE(reports[1].mirrored);
}

TEST(ChainReports, AnInputsOwnVersionLineInTheBodyStartsNoReport) {
  TempDir dir;
  const std::string report = std::string(HEADER) +
                             "##alichain in.gff\n##Number of used alignments:\t1\n"
                             "##Score sum of these alignments: 5\n##Used alignments:\n## 1\n##\n"
                             "##gff-version 2\n# a comment of the input\n"
                             "X\tt\talignment\t10:10\t50:50\t5\t+\tr1\n";
  common_test::writeFile(dir.file("out"), "1\n" + report + report);
  const auto reports = common::readChainReports(dir.file("out"));
  ASSERT_EQ(reports.size(), 2u);
  for (const auto &r : reports) {
    EXPECT_EQ(r.members, (std::vector<uint64_t>{1}));
    EXPECT_EQ(r.memberLines.size(), 1u);
  }
  common_test::writeFile(dir.file("file"), report);
  EXPECT_EQ(common::readChainReports(dir.file("file")).size(), 1u);
}

TEST(ChainReports, ALoneReportTellsItsDirectionFromItsMembers) {
  TempDir dir;
  const std::string lone = std::string(HEADER) +
                           "##alichain -f in.gff\n##Number of used alignments:\t2\n"
                           "##Score sum of these alignments: 8\n##Used alignments:\n## 1 2\n##\n";
  common_test::writeFile(dir.file("mirrored"), lone +
                                                   "X\tt\talignment\t10:70\t50:95\t5\t-\tr1\n"
                                                   "X\tt\talignment\t60:20\t90:60\t3\t-\tr2\n");
  common_test::writeFile(dir.file("forward"), lone +
                                                  "X\tt\talignment\t10:10\t50:50\t5\t+\tr1\n"
                                                  "X\tt\talignment\t60:60\t90:90\t3\t+\tr2\n");
  EXPECT_TRUE(common::readChainReports(dir.file("mirrored"))[0].mirrored);
  EXPECT_FALSE(common::readChainReports(dir.file("forward"))[0].mirrored);
}

TEST(ChainReports, RefusesTextThatIsNoReport) {
  TempDir dir;
  const char *bad[] = {"", "hello\n",
                       "##gff-version 2\n##alichain x\n##Number of used alignments:\t2\n"
                       "##Used alignments:\n## 1\n##\n",
                       "##gff-version 2\n##Number of used alignments:\t1\n##Used alignments:\n## x\n",
                       // a report cut within its member list, then a whole one
                       "##gff-version 2\n##Number of used alignments:\t2\n##Used alignments:\n## 1\n"
                       "##gff-version 2\n##Number of used alignments:\t1\n##Used alignments:\n## 1\n##\n"};
  for (const char *text : bad) {
    common_test::writeFile(dir.file("bad"), text);
    EXPECT_THROW(common::readChainReports(dir.file("bad")), common::ToolError) << text;
  }
}

// A report's member list and the member lines it copies must agree, so that
// a report cut down to its "##" lines or with a changed list is not taken
// for one of another input.
struct Disagreement {
  const char *name, *text, *message;  // message: after "FILE, "
};

const char LIST_OF_1_3[] =
    "##gff-version 2\n##source-version alichain 0.0\n##alichain in.gff\n"
    "##Number of used alignments:\t2\n##Score sum of these alignments: 7\n"
    "##Used alignments:\n## 1 3\n##\n";
const char LINE_1[] = "X\tt\talignment\t10:10\t50:50\t5\t+\tr1\n";
const char LINE_3[] = "X\tt\talignment\t200:300\t210:310\t2\t+\tr3\n";

const std::string CUT = std::string(LIST_OF_1_3) + "# comment\n";
const std::string ONE_LINE = std::string(LIST_OF_1_3) + LINE_1;
const std::string THREE_LINES = std::string(LIST_OF_1_3) + LINE_1 + LINE_3 + LINE_3;
const std::string CUT_THEN_WHOLE = "3\n" + CUT + LIST_OF_1_3 + LINE_1 + LINE_3;
const std::string WHOLE_THEN_CUT = "3\n" + std::string(LIST_OF_1_3) + LINE_1 + LINE_3 + CUT;
const std::string DESCENDING = "##gff-version 2\n##Number of used alignments:\t2\n##Used alignments:\n## 3 1\n##\n";
const std::string TWICE = "##gff-version 2\n##Number of used alignments:\t2\n##Used alignments:\n## 2 2\n##\n";

const Disagreement DISAGREEMENTS[] = {
    {"cut_to_its_list", CUT.c_str(), "line 8: the member list that ends here names 2 alignments, but the report copies 0"},
    {"a_line_fewer", ONE_LINE.c_str(), "line 8: the member list that ends here names 2 alignments, but the report copies 1"},
    {"a_line_more", THREE_LINES.c_str(), "line 8: the member list that ends here names 2 alignments, but the report copies 3"},
    {"cut_then_whole", CUT_THEN_WHOLE.c_str(), "line 9: the member list that ends here names 2 alignments, but the report copies 0"},
    {"whole_then_cut", WHOLE_THEN_CUT.c_str(), "line 19: the member list that ends here names 2 alignments, but the report copies 0"},
    {"descending_list", DESCENDING.c_str(), "line 4: bad member list"},
    {"member_listed_twice", TWICE.c_str(), "line 4: bad member list"},
};

class MemberLines : public testing::TestWithParam<Disagreement> {};

TEST_P(MemberLines, MustAgreeWithTheMemberList) {
  TempDir dir;
  common_test::writeFile(dir.file("report"), GetParam().text);
  try {
    common::readChainReports(dir.file("report"));
    FAIL() << "taken";
  } catch (const common::ToolError &e) {
    const std::string expected = dir.file("report") + ", " + GetParam().message;
    EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Reports, MemberLines, testing::ValuesIn(DISAGREEMENTS),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
