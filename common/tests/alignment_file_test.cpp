#include "alignment_file.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

using common::AlignmentItem;
using common_test::TempDir;

TEST(AlignmentWriter, WritesTheLinesTheChainerReads) {
  TempDir dir;
  const std::string path = dir.file("out.gff");
  std::FILE *out = std::fopen(path.c_str(), "w");
  common::AlignmentWriter writer(out);
  writer.comment("from test");
  writer.sequencePair("chrA", 1000, "chrB", 900, "conv");
  common::AlignmentRecord record{"chrA", "conv", 5, 900, 10, 895, "42", '-', "record 7"};
  writer.alignment(record);
  record.score = "6";
  writer.fragment(record);
  std::fclose(out);
  EXPECT_EQ(common_test::readFile(path),
            "# from test\n"
            "chrA\tconv\tsequence:sequence\t1:1\t1000:900\t0\t.\tseq1 \"chrA\"; seq2 \"chrB\"\n"
            "chrA\tconv\talignment\t5:900\t10:895\t42\t-\trecord 7\n"
            "chrA\tconv\tfragment\t5:900\t10:895\t6\t-\trecord 7\n");
}

TEST(AlignmentReader, TellsTheLinesApartAndTakesTheirValues) {
  TempDir dir;
  common_test::writeFile(dir.file("in.gff"),
                         "# comment\n"
                         "X\tsrc\tsequence:sequence\t1:1\t100:90\t0\t.\tseq1 \"X\"; seq2 \"Y\"\n"
                         "X\tsrc\talignment\t1:80\t10:89\t12.5\t-\tali 1; len 10\n"
                         "X\tsrc\tfragment\t1:80\t10:89\t12.5\t-\tali 1\n"
                         "X src hsp:hsp 3: 4 5:6 1e2\n");
  common::LineInput input(dir.file("in.gff"));
  common::AlignmentReader reader(input);
  AlignmentItem item;
  std::vector<AlignmentItem::Kind> kinds;
  ASSERT_TRUE(reader.next(item));
  EXPECT_EQ(item.kind, AlignmentItem::COMMENT);
  ASSERT_TRUE(reader.next(item));
  EXPECT_EQ(item.kind, AlignmentItem::SEQUENCE_PAIR);
  EXPECT_EQ(item.xName, "X");
  EXPECT_EQ(item.yName, "Y");
  EXPECT_EQ(item.xe, 100);
  EXPECT_EQ(item.ye, 90);
  ASSERT_TRUE(reader.next(item));
  EXPECT_EQ(item.kind, AlignmentItem::ALIGNMENT);
  EXPECT_EQ(item.lineNumber, 3u);
  EXPECT_EQ(item.xb, 1);
  EXPECT_EQ(item.yb, 80);
  EXPECT_EQ(item.xe, 10);
  EXPECT_EQ(item.ye, 89);
  EXPECT_EQ(item.scoreText, "12.5");
  EXPECT_EQ(item.strand, '-');
  EXPECT_EQ(item.attributes, "ali 1; len 10");
  ASSERT_TRUE(reader.next(item));
  EXPECT_EQ(item.kind, AlignmentItem::OTHER);
  // The chainer's scan lets white space follow a coordinate's colon.
  ASSERT_TRUE(reader.next(item));
  EXPECT_EQ(item.kind, AlignmentItem::ALIGNMENT);
  EXPECT_EQ(item.yb, 4);
  EXPECT_EQ(item.scoreText, "1e2");
  EXPECT_EQ(item.strand, '.');
  EXPECT_FALSE(reader.next(item));
}

TEST(AlignmentReader, RefusesWhatTheChainerRefusesNamingFileAndLine) {
  const std::pair<const char *, const char *> cases[] = {
      {"X s alignment 1:2 3:4\n", "not in proper format"},
      {"X s alignment 5:2 3:4 1 +\n", "first-sequence end lies below its begin"},
      {"X s alignment 1:2 3:99999999999999999999 1 +\n", "coordinate out of range"},
      {"X s alignment 1:2 3:4 inf +\n", "score not finite"}};
  TempDir dir;
  for (const auto &[text, why] : cases) {
    common_test::writeFile(dir.file("bad.gff"), std::string("# ok\n") + text);
    common::LineInput input(dir.file("bad.gff"));
    common::AlignmentReader reader(input);
    AlignmentItem item;
    try {
      while (reader.next(item)) {
      }
      ADD_FAILURE() << "took " << text;
    } catch (const common::ToolError &e) {
      EXPECT_EQ(std::string(e.what()).rfind(dir.file("bad.gff") + ", line 2: ", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
    }
  }
}

// Records at the edges of what the reader takes: the writer's verdict on
// each is the reader's on the line written.
struct EdgeRecord {
  const char *name;
  uint64_t xb, yb, xe, ye;
  const char *score;
  const char *refusal;  // nullptr: read back
};

const uint64_t MAX = INT64_MAX;  // 2^63 - 1, the chainer's sentinel key

const EdgeRecord EDGE_RECORDS[] = {
    {"largest_coordinates", MAX - 1, MAX - 1, MAX - 1, MAX - 1, "1", nullptr},
    {"x_end_at_the_sentinel", 1, 1, MAX, 10, "1", "coordinate out of range"},
    {"y_end_at_the_sentinel", 1, 1, 10, MAX, "1", "coordinate out of range"},
    {"beyond_signed_64_bits", 1, 1, UINT64_MAX, 10, "1", "coordinate out of range"},
    {"end_below_begin", 5, 1, 4, 10, "1", "first-sequence end lies below its begin"},
    {"score_at_the_bound", 1, 1, 10, 10, "1000000000000000", nullptr},
    {"score_beyond_the_bound", 1, 1, 10, 10, "1000000000000000.1", "score not finite or too large"},
    {"score_of_an_aligner_beyond_it", 1, 1, 10, 10, "9000000000000000000", "score not finite or too large"},
    {"score_no_number", 1, 1, 10, 10, "x", "alignment line not in proper format"},
};

class WrittenLine : public testing::TestWithParam<EdgeRecord> {};

TEST_P(WrittenLine, IsRefusedByTheWriterExactlyWhenTheReaderRefusesIt) {
  const EdgeRecord &edge = GetParam();
  const common::AlignmentRecord record{"X", "s", edge.xb, edge.yb, edge.xe, edge.ye, edge.score, '+', ""};
  const char *verdict = common::unreadableReason(record);
  EXPECT_STREQ(verdict, edge.refusal);
  TempDir dir;
  std::FILE *out = std::fopen(dir.file("in.gff").c_str(), "w");
  common::AlignmentWriter(out).alignment(record);
  std::fclose(out);
  common::LineInput input(dir.file("in.gff"));
  common::AlignmentReader reader(input);
  AlignmentItem item;
  try {
    ASSERT_TRUE(reader.next(item));
    EXPECT_EQ(edge.refusal, nullptr) << "the reader took the line";
  } catch (const common::ToolError &e) {
    ASSERT_NE(edge.refusal, nullptr) << e.what();
    EXPECT_NE(std::string(e.what()).find(edge.refusal), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Edges, WrittenLine, testing::ValuesIn(EDGE_RECORDS),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
