// Each format's coordinate convention on hand-checked records: the same
// alignments written in every format by its documented rules must give the
// same alignment lines. Plus strand: the first base of the reference (x) with
// the last base of the query (y); minus strand: the last base of x with the
// first of y. Sequences: t of 200 bases, q of 100.
#include "converted_lines.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace {

using aliconv_test::convertFile;
using aliconv_test::linesOf;

struct HandRecords {
  const char *format;
  const char *text;
  const char *plusScore, *minusScore;
};

const char DELTA[] = "t.fa q.fa\nNUCMER\n>t q 200 100\n1 10 91 100 1 1 0\n0\n191 200 10 1 1 1 0\n0\n";
const char COORDS[] =
    "t.fa q.fa\nNUCMER\n\n[S1]\t[E1]\t[S2]\t[E2]\t[LEN 1]\t[LEN 2]\t[% IDY]\t[TAGS]\n"
    "1\t10\t91\t100\t10\t10\t90.00\tt\tq\n191\t200\t10\t1\t10\t10\t90.00\tt\tq\n";
const char MAF[] =
    "##maf version=1\n\na score=31\ns t 0 10 + 200 ACGTACGTAC\ns q 90 10 + 100 ACGTACGTAA\n\n"
    "a score=32\ns t 190 10 + 200 ACGTACGTAC\ns q 90 10 - 100 ACGTACGTAA\n\n";
const char GENERAL[] =
    "#score\tname1\tstrand1\tsize1\tzstart1\tend1\tname2\tstrand2\tsize2\tzstart2\tend2\tidentity\n"
    "31\tt\t+\t200\t0\t10\tq\t+\t100\t90\t100\t9/10\n"
    "32\tt\t+\t200\t190\t200\tq\t-\t100\t90\t100\t9/10\n";

const HandRecords RECORDS[] = {
    {"paf",
     "q\t100\t90\t100\t+\tt\t200\t0\t10\t9\t10\t60\tAS:i:31\n"
     "q\t100\t0\t10\t-\tt\t200\t190\t200\t9\t10\t60\tAS:i:32\n",
     "31", "32"},
    {"sam",
     "@SQ\tSN:t\tLN:200\nq\t0\tt\t1\t60\t90S10M\t*\t0\t0\t*\t*\tAS:i:31\tNM:i:1\n"
     "q\t16\tt\t191\t60\t90H10M\t*\t0\t0\t*\t*\tAS:i:32\tNM:i:1\n",
     "31", "32"},
    {"blast6",
     "q\tt\t90.000\t10\t1\t0\t91\t100\t1\t10\t1e-5\t31\n"
     "q\tt\t90.000\t10\t1\t0\t1\t10\t200\t191\t1e-5\t32\n",
     "31", "32"},
    {"delta", DELTA, "9.0", "9.0"},
    {"coords", COORDS, "9.0", "9.0"},
    {"maf", MAF, "31", "32"},
    {"general", GENERAL, "31", "32"},
};

class HandChecked : public testing::TestWithParam<HandRecords> {};

TEST_P(HandChecked, FirstAndLastBasesOnBothStrands) {
  const HandRecords &r = GetParam();
  common_test::TempDir dir;
  common_test::writeFile(dir.file("in"), r.text);
  for (const bool named : {true, false}) {
    const std::string out =
        named ? convertFile(dir.file("in"), {"-i", r.format}) : convertFile(dir.file("in"));
    EXPECT_EQ(linesOf(out, "alignment"),
              (std::vector<std::string>{
                  std::string("t\taliconv\talignment\t1:91\t10:100\t") + r.plusScore + "\t+\trecord 1",
                  std::string("t\taliconv\talignment\t191:1\t200:10\t") + r.minusScore +
                      "\t-\trecord 2"}))
        << r.format << (named ? " named" : " recognised");
  }
}

TEST_P(HandChecked, SwapExchangesTheSequences) {
  common_test::TempDir dir;
  common_test::writeFile(dir.file("in"), GetParam().text);
  const std::string out = convertFile(dir.file("in"), {"--swap", "--score", "length"});
  EXPECT_EQ(linesOf(out, "alignment", 7),
            (std::vector<std::string>{"q\taliconv\talignment\t91:1\t100:10\t10\t+",
                                      "q\taliconv\talignment\t1:191\t10:200\t10\t-"}));
  EXPECT_EQ(linesOf(out, "sequence:sequence", 5).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Formats, HandChecked, testing::ValuesIn(RECORDS),
                         [](const auto &info) { return std::string(info.param.format); });

// Matched bases times identity: the reference's 10 bases at 9 of 10.
TEST(HandChecked, MatchesScoreIsReferenceBasesTimesIdentity) {
  common_test::TempDir dir;
  for (const HandRecords &r : RECORDS) {
    common_test::writeFile(dir.file("in"), r.text);
    const std::vector<std::string> lines =
        linesOf(convertFile(dir.file("in"), {"--score", "matches"}), "alignment", 6);
    ASSERT_EQ(lines.size(), 2u) << r.format;
    EXPECT_EQ(lines[0].substr(lines[0].rfind('\t') + 1), "9.0") << r.format;
  }
}

// Gap-free blocks of a minus-strand alignment from a CIGAR, a difference
// string, an indel list and MAF columns: x rises while y falls.
TEST(Fragments, MinusStrandBlocksFromEachDescription) {
  const std::vector<std::string> expected{
      "t\taliconv\tfragment\t191:7\t194:10\t4\t-\trecord 1; fragment 1",
      "t\taliconv\tfragment\t196:2\t200:6\t5\t-\trecord 1; fragment 2"};
  const char *inputs[] = {
      "q\t100\t0\t10\t-\tt\t200\t190\t200\t8\t11\t60\tcg:Z:4M1D5M1I\n",
      "q\t100\t0\t10\t-\tt\t200\t190\t200\t8\t11\t60\tcs:Z::4-a:5+c\n",
      "@SQ\tSN:t\tLN:200\nq\t16\tt\t191\t60\t90H4M1D5M1I\t*\t0\t0\t*\t*\n",
      "x y\nNUCMER\n>t q 200 100\n191 200 10 1 2 2 0\n5\n-6\n0\n",
      "a\ns t 190 10 + 200 ACGTACGTAC-\ns q 90 10 - 100 ACGT-CGTACG\n\n",
  };
  common_test::TempDir dir;
  for (const char *input : inputs) {
    common_test::writeFile(dir.file("in"), input);
    EXPECT_EQ(linesOf(convertFile(dir.file("in"), {"--fragments"}), "fragment"), expected) << input;
  }
}

}  // namespace
