#include "synteny_input.h"

#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

namespace {

using common_test::TempDir;
using common_test::writeFile;

const char HEADER[] = "#id\treference\tref_start\tref_end\tquery\tquery_start\tquery_end\tstrand\tclass\t"
                      "alignments\tscore\treference_bases\tidentity\n";
const char ASSIGN_HEADER[] = "#query\tquery_length\treference\torientation\taligned_bases\tbases_to_reference\t"
                             "reference_share\torientation_share\n";

// Two references and two queries, as the alignments named them.
aliplot::PlotInput twoByTwo() {
  aliplot::PlotInput plot;
  plot.title = "in.paf";
  plot.references = {aliplot::Sequence{"r1"}, aliplot::Sequence{"r2"}};
  plot.queries = {aliplot::Sequence{"q1"}, aliplot::Sequence{"q2"}};
  return plot;
}

TEST(SyntenyInput, ReadsBlocksWithTheirClasses) {
  TempDir dir;
  writeFile(dir.file("b.tsv"), std::string(HEADER) +
                                   "1\tr1\t1\t500\tq1\t11\t510\t+\tsyntenic\t3\t480.5\t490\t97.25\n"
                                   "2\tr2\t100\t200\tq2\t300\t400\t-\tinverted\t1\t95\t101\t\n"
                                   "4\tr2\t300\t350\tq1\t1\t50\t+\tduplicated\t1\t50\t51\t100.00\n");
  aliplot::PlotInput plot = twoByTwo();
  aliplot::readBlocks(dir.file("b.tsv"), plot, {});
  ASSERT_EQ(plot.blocks.size(), 3u);
  EXPECT_EQ(plot.blocksFile, dir.file("b.tsv"));
  EXPECT_EQ(plot.blocks[0].blockClass, aliplot::BlockClass::SYNTENIC);
  EXPECT_EQ(plot.blocks[0].score, "480.5");
  EXPECT_EQ(plot.blocks[0].alignments, 3u);
  EXPECT_EQ(plot.blocks[2].id, 4u);
  EXPECT_EQ(plot.blocks[2].blockClass, aliplot::BlockClass::DUPLICATED);
  EXPECT_EQ(plot.blockExtents[1].strand, '-');
  EXPECT_EQ(plot.blockExtents[1].yb, 300);
  EXPECT_FLOAT_EQ(plot.blockExtents[0].identity, 97.25f);
  EXPECT_FLOAT_EQ(plot.blockExtents[1].identity, -1);
  EXPECT_EQ(plot.blockReferenceOf, (std::vector<uint32_t>{0, 1, 1}));
  EXPECT_EQ(plot.blockQueryOf, (std::vector<uint32_t>{0, 1, 0}));
}

TEST(SyntenyInput, KeepsOnlyTheChosenPairsBlocks) {
  TempDir dir;
  writeFile(dir.file("b.tsv"), std::string(HEADER) +
                                   "1\tr1\t1\t500\tq1\t11\t510\t+\tsyntenic\t3\t480.5\t490\t\n"
                                   "2\tr9\t1\t500\tq9\t11\t510\t+\tsyntenic\t3\t480.5\t490\t\n");
  aliplot::PlotInput plot = twoByTwo();
  plot.references.pop_back();
  plot.queries.pop_back();
  aliplot::readBlocks(dir.file("b.tsv"), plot, {"r1", "q1"});
  EXPECT_EQ(plot.blocks.size(), 1u);
}

TEST(SyntenyInput, ReadsAssignments) {
  TempDir dir;
  writeFile(dir.file("a.tsv"), std::string(ASSIGN_HEADER) + "q2\t1000\tr1\t-\t900\t800\t0.8889\t0.9\n");
  aliplot::PlotInput plot = twoByTwo();
  aliplot::readAssignments(dir.file("a.tsv"), plot, {});
  ASSERT_EQ(plot.assigned.size(), 2u);
  EXPECT_EQ(plot.assigned[0].reference, -1);
  EXPECT_EQ(plot.assigned[1].reference, 0);
  EXPECT_EQ(plot.assigned[1].strand, '-');
}

struct BadTable {
  const char *name;
  bool blocks;
  std::string content;
  std::string message;
};

class SyntenyInputRefuses : public ::testing::TestWithParam<BadTable> {};

TEST_P(SyntenyInputRefuses, NamingFileAndLine) {
  TempDir dir;
  writeFile(dir.file("t.tsv"), GetParam().content);
  aliplot::PlotInput plot = twoByTwo();
  try {
    if (GetParam().blocks)
      aliplot::readBlocks(dir.file("t.tsv"), plot, {});
    else
      aliplot::readAssignments(dir.file("t.tsv"), plot, {});
    FAIL() << "accepted";
  } catch (const common::ToolError &error) {
    EXPECT_EQ(error.what(), dir.file("t.tsv") + GetParam().message);
  }
}

const std::string ROW = "1\tr1\t1\t500\tq1\t11\t510\t+\tsyntenic\t3\t480.5\t490\t\n";

INSTANTIATE_TEST_SUITE_P(
    Tables, SyntenyInputRefuses,
    ::testing::Values(
        BadTable{"NoBlocksTable", true, "q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\n",
                 ", line 1: not a blocks table of alisyn (no header line \"#id\treference\tref_st...\")"},
        BadTable{"AssignmentsGivenAsBlocks", true, ASSIGN_HEADER,
                 ", line 1: not a blocks table of alisyn (no header line \"#id\treference\tref_st...\")"},
        BadTable{"Empty", false, "", ", line 1: not an assignment table of alisyn (no header line \"#query\tquery_length\t...\")"},
        BadTable{"ShortRow", true, std::string(HEADER) + "1\tr1\t1\t500\n",
                 ", line 2: 4 fields, not the 13 of a blocks table"},
        BadTable{"UnknownClass", true, std::string(HEADER) + "1\tr1\t1\t5\tq1\t1\t5\t+\tshuffled\t1\t5\t5\t\n",
                 ", line 2: unknown class 'shuffled'"},
        BadTable{"BadStrand", true, std::string(HEADER) + "1\tr1\t1\t5\tq1\t1\t5\t.\tsyntenic\t1\t5\t5\t\n",
                 ", line 2: the strand is '.', not + or -"},
        BadTable{"Backwards", true, std::string(HEADER) + ROW + "2\tr1\t9\t5\tq1\t1\t5\t+\tsyntenic\t1\t5\t5\t\n",
                 ", line 3: a block ends before it starts"},
        BadTable{"ZeroPosition", true, std::string(HEADER) + "2\tr1\t0\t5\tq1\t1\t5\t+\tsyntenic\t1\t5\t5\t\n",
                 ", line 2: the reference start is out of range"},
        BadTable{"BadIdentity", true, std::string(HEADER) + "2\tr1\t1\t5\tq1\t1\t5\t+\tsyntenic\t1\t5\t5\t101\n",
                 ", line 2: the identity is no percentage"},
        BadTable{"OtherAlignments", true, std::string(HEADER) + "2\tchrZ\t1\t5\tq1\t1\t5\t+\tsyntenic\t1\t5\t5\t\n",
                 ", line 2: names the reference chrZ, of which in.paf holds no alignment: the table belongs to "
                 "other alignments"},
        BadTable{"OtherQuery", false, std::string(ASSIGN_HEADER) + "ctg9\t10\tr1\t+\t9\t9\t1\t1\n",
                 ", line 2: names the query ctg9, of which in.paf holds no alignment: the table belongs to "
                 "other alignments"}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
