#include "pair_split.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(PairFileName, KeepsPlainNamesReadable) {
  EXPECT_EQ(common::pairFileName("chr1", "scaffold_7.2"), "chr1-vs-scaffold_7.2.gff");
}

TEST(PairFileName, NamesStayInTheFolderAndNeverCollide) {
  const std::vector<std::pair<std::string, std::string>> pairs{
      {"a-vs-b", "c"}, {"a", "b-vs-c"}, {"../x", "y"}, {"a/b", "c"}, {"a%2Fb", "c"},
      {"a b", "c"},    {"\xff", "\n"},  {"", ""},      {"x", "y"}};
  std::set<std::string> names;
  for (const auto &[ref, query] : pairs) {
    const std::string name = common::pairFileName(ref, query);
    EXPECT_EQ(name.find('/'), std::string::npos) << name;
    EXPECT_NE(name.front(), '.') << name;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), pairs.size());
}

TEST(PairFileName, LongNamesAreCutButStayDistinct) {
  const std::string longName(1000, 'n');
  const std::string a = common::pairFileName(longName + "a", "q");
  const std::string b = common::pairFileName(longName + "b", "q");
  EXPECT_LE(a.size(), 255u);
  EXPECT_NE(a, b);
}

TEST(PairIndex, WritesOneRowPerPair) {
  common_test::TempDir dir;
  const std::string folder = dir.file("split");
  common::makeFolder(folder);
  common::makeFolder(folder);  // an existing folder is fine
  common::writePairIndex(folder, {{"a-vs-b.gff", "a", "b", 10, 20, 3, 1}});
  EXPECT_EQ(common_test::readFile(folder + "/pairs.tsv"),
            "file\treference\tquery\treference_length\tquery_length\talignments\tminus_alignments\n"
            "a-vs-b.gff\ta\tb\t10\t20\t3\t1\n");
}

}  // namespace
