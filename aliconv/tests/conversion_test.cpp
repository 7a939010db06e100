// Whole conversions of real aligner output: the same alignments in
// different formats give the same lines; picking, splitting, compressed
// input and the refusal of inputs of several pairs.
#include "chain_report.h"
#include "converted_lines.h"
#include "options.h"
#include "pick.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using aliconv_test::convertFile;
using aliconv_test::dataFile;
using aliconv_test::linesOf;

struct SameAlignments {
  const char *first, *second;
  std::vector<std::string> arguments;
};

class CrossFormat : public testing::TestWithParam<SameAlignments> {};

TEST_P(CrossFormat, GiveTheSameAlignmentLines) {
  const SameAlignments &p = GetParam();
  const std::string a = convertFile(dataFile(p.first), p.arguments);
  const std::string b = convertFile(dataFile(p.second), p.arguments);
  EXPECT_FALSE(linesOf(a, "alignment").empty());
  EXPECT_EQ(linesOf(a, "alignment"), linesOf(b, "alignment"));
  EXPECT_EQ(linesOf(a, "fragment"), linesOf(b, "fragment"));
}

INSTANTIATE_TEST_SUITE_P(
    RealOutput, CrossFormat,
    testing::Values(SameAlignments{"mt.minimap2.paf", "mt.minimap2.sam", {"--fragments"}},
                    SameAlignments{"mt.minimap2.paf", "mt.minimap2.bam", {"--fragments"}},
                    SameAlignments{"mt.minimap2.paf", "mt.minimap2.sam", {"--score", "matches"}},
                    SameAlignments{"mt.nucmer.delta", "mt.nucmer.coords", {}},
                    SameAlignments{"mt.lastz.maf", "mt.lastz.general", {}},
                    SameAlignments{"mt.lastz.maf", "mt.lastz.general", {"--score", "matches"}},
                    SameAlignments{"mt.blastn.outfmt6", "mt.blastn.outfmt7", {}}));

// The lines of a picked file's conversion are the report's member lines,
// but for the record numbers, which count the picked file's records.
TEST(Pick, PickedRecordsConvertBackToTheMembers) {
  common_test::TempDir dir;
  for (const char *name : {"mt.lastz.maf", "mt.minimap2.bam", "mt.nucmer.delta", "mt.blastn.outfmt7",
                           "mt.lastz.general", "mt.minimap2.sam"}) {
    const std::string converted = convertFile(dataFile(name));
    const std::vector<std::string> lines = linesOf(converted, "alignment");
    ASSERT_GE(lines.size(), 2u) << name;
    // A report whose chain is the first and the last alignment.
    std::ostringstream report;
    report << "##gff-version 2\n##alichain a.gff\n##Number of used alignments:\t2\n"
           << "##Score sum of these alignments: 1\n##Used alignments:\n## 1 " << lines.size()
           << "\n##\n" << converted.substr(0, converted.find("\n" + lines.front()) + 1)
           << lines.front() << "\n" << lines.back() << "\n";
    common_test::writeFile(dir.file("report"), report.str());
    aliconv::PickOptions options;
    options.report = dir.file("report");
    options.input = dataFile(name);
    options.output = dir.file("picked");
    aliconv::pick(options);
    const std::vector<std::string> back = linesOf(convertFile(dir.file("picked")), "alignment", 7);
    const std::vector<std::string> members = linesOf(lines.front() + "\n" + lines.back(), "alignment", 7);
    EXPECT_EQ(back, members) << name;
  }
}

TEST(Pick, RefusesAReportOfAnotherInput) {
  common_test::TempDir dir;
  const std::string converted = convertFile(dataFile("mt.lastz.general"));
  std::string line = linesOf(converted, "alignment")[1];
  common_test::writeFile(dir.file("report"),
                         "##gff-version 2\n##Number of used alignments:\t1\n##Used alignments:\n## 2\n##\n" +
                             converted.substr(0, converted.find("\nMT_human") + 1) + line + "\n");
  aliconv::PickOptions options;
  options.report = dir.file("report");
  options.output = dir.file("picked");
  options.input = dataFile("mt.lastz.maf");
  EXPECT_THROW(aliconv::pick(options), common::ToolError);  // another format
  // The same format with its first row removed: record 2 is another alignment.
  std::string swapped = common_test::readFile(dataFile("mt.lastz.general"));
  const size_t second = swapped.find('\n', swapped.find('\n') + 1) + 1;
  swapped.erase(second, swapped.find('\n', second) + 1 - second);
  common_test::writeFile(dir.file("other.general"), swapped);
  options.input = dir.file("other.general");
  try {
    aliconv::pick(options);
    FAIL() << "a report of another input was taken";
  } catch (const common::ToolError &e) {
    EXPECT_NE(std::string(e.what()).find("is not what"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(std::ifstream(dir.file("picked")).good());
}

TEST(Split, OneFilePerPairAndAnIndex) {
  common_test::TempDir dir;
  const std::string folder = dir.file("pairs");
  std::vector<std::string> words{"aliconv", "--split", folder, dataFile("mt3.minimap2.paf")};
  std::vector<char *> argv;
  for (std::string &word : words) argv.push_back(word.data());
  aliconv::convert(aliconv::parseOptions(4, argv.data()).convert);
  EXPECT_EQ(common_test::readFile(folder + "/pairs.tsv"),
            "file\treference\tquery\treference_length\tquery_length\talignments\tminus_alignments\n"
            "PA%23NC_002083.1X-vs-MT_human.gff\tPA#NC_002083.1X\tMT_human\t16499\t16569\t9\t0\n"
            "MT_orang-vs-MT_human.gff\tMT_orang\tMT_human\t16499\t16569\t9\t0\n"
            "PA%23NC_002083.1X-vs-MT_orang.gff\tPA#NC_002083.1X\tMT_orang\t16499\t16499\t2\t0\n");
  const std::string whole = convertFile(dataFile("mt3.minimap2.paf"), {"--pair", "PA#NC_002083.1X,MT_orang"});
  EXPECT_EQ(common_test::readFile(folder + "/PA%23NC_002083.1X-vs-MT_orang.gff"), whole);
  EXPECT_EQ(linesOf(whole, "alignment").size(), 2u);
}

TEST(Split, SeveralPairsWithoutAnOptionAreRefused) {
  try {
    convertFile(dataFile("mt3.minimap2.paf"));
    FAIL() << "three pairs were merged";
  } catch (const common::ToolError &e) {
    const std::string what = e.what();
    EXPECT_NE(what.find("3 sequence pairs"), std::string::npos) << what;
    EXPECT_NE(what.find("--pair"), std::string::npos) << what;
    EXPECT_NE(what.find("--split"), std::string::npos) << what;
  }
}

TEST(Input, GzipAndPlainGiveTheSameLines) {
  common_test::TempDir dir;
  for (const char *name : {"mt.minimap2.paf", "mt.nucmer.delta", "mt.minimap2.sam", "mt.lastz.maf"}) {
    common_test::writeGzip(dir.file("packed"), common_test::readFile(dataFile(name)));
    EXPECT_EQ(linesOf(convertFile(dir.file("packed")), "alignment"),
              linesOf(convertFile(dataFile(name)), "alignment"))
        << name;
  }
}

TEST(Input, TheAlignmentFileFormatPassesThrough) {
  common_test::TempDir dir;
  const std::string converted = convertFile(dataFile("mt.lastz.maf"), {"--fragments"});
  common_test::writeFile(dir.file("a.gff"), converted);
  const std::string again = convertFile(dir.file("a.gff"));
  EXPECT_NE(again.find(converted), std::string::npos);
}

}  // namespace
