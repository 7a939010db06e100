// Malformed records stop the run with the file, the line and what is
// wrong, and leave an existing output as it was.
#include "converted_lines.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

namespace {

struct BadInput {
  const char *name, *text, *message;  // message: after "FILE, "
  const char *format = nullptr;       // named with -i; nullptr: recognised
};

const BadInput CASES[] = {
    {"paf_short_line", "q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\nq\t100\t0\n", "line 2: a PAF line has"},
    {"paf_past_end", "q\t100\t0\t101\t+\tt\t200\t0\t10\t9\t10\t60\n", "line 1: the query interval 0-101"},
    {"paf_bad_strand", "q\t100\t0\t10\t*\tt\t200\t0\t10\t9\t10\t60\n", "line 1: no record of a known format"},
    {"paf_cigar_short", "q\t100\t0\t10\t+\tt\t200\t0\t10\t9\t10\t60\tcg:Z:9M\n",
     "line 1: the cg:Z CIGAR does not span", "paf"},
    {"paf_huge_number", "q\t100\t0\t99999999999999999999\t+\tt\t200\t0\t10\t9\t10\t60\n",
     "line 1: the query is not a whole number", "paf"},
    {"sam_unknown_reference", "@SQ\tSN:t\tLN:200\nq\t0\tu\t1\t60\t10M\t*\t0\t0\t*\t*\n",
     "line 2: no @SQ header line names the reference 'u'"},
    {"sam_bad_cigar", "@SQ\tSN:t\tLN:200\nq\t0\tt\t1\t60\t10Q\t*\t0\t0\t*\t*\n", "line 2: malformed SAM record"},
    {"sam_past_reference", "@SQ\tSN:t\tLN:200\nq\t0\tt\t195\t60\t10M\t*\t0\t0\t*\t*\n",
     "line 2: the alignment runs past the reference's length 200"},
    {"blast_zero", "# BLASTN 2.12.0+\nq\tt\t90.0\t10\t1\t0\t0\t10\t1\t10\t1\t31\n", "line 2: a position is 0"},
    {"blast_custom_columns", "# BLASTN 2.12.0+\n# Fields: query acc.ver, subject acc.ver\n",
     "line 2: only BLAST's default twelve columns"},
    {"delta_cut", "a b\nNUCMER\n>t q 200 100\n1 10 1 10 0 0 0\n3\n", "line 5: the file ends inside"},
    {"delta_overrun", "a b\nNUCMER\n>t q 200 100\n1 10 1 10 0 0 0\n30\n0\n", "line 5: the indels run past"},
    {"delta_promer", "a b\nPROMER\n>t q 200 100\n", "line 2: PROMER delta files"},
    {"delta_outside", "a b\nNUCMER\n>t q 200 100\n1 300 1 10 0 0 0\n0\n", "line 4: the alignment lies outside"},
    {"maf_three_rows", "##maf\na\ns t 0 1 + 9 A\ns q 0 1 + 9 A\ns r 0 1 + 9 A\n", "line 5: a block with more than two"},
    {"maf_size_mismatch", "##maf\na\ns t 0 2 + 9 A\ns q 0 1 + 9 A\n\n", "line 2: a row's bases do not add up"},
    {"maf_stray_line", "##maf\nhello\n", "line 2: a line outside every block"},
    {"general_no_names", "#score\tname1\tend1\n", "line 1: the column names lack", "general"},
    {"general_bad_identity",
     "#name1\tzstart1\tend1\tname2\tzstart2\tend2\tidentity\nt\t0\t10\tq\t0\t10\t11/10\n",
     "line 2: the identity is not"},
    {"coords_columns", "a b\nNUCMER\n\n[S1]\t[E1]\t[S2]\t[E2]\t[% IDY]\t[TAGS]\n1\t10\t1\n",
     "line 5: expected 7 tab-separated columns"},
    {"gff_reversed", "t\tx\talignment\t10:1\t5:9\t3\t+\n", "line 1: first-sequence end lies below"},
    {"unknown_format", "hello world\n", "line 1: no record of a known format"},
    // A SAM record of a reference named "alignment" reads as an alignment line.
    {"ambiguous", "q\t0\talignment\t1\t60\t10M\t*\t0\t0\t*\t*\n", "line 1: the record fits both"},
    {"empty", "", "no record to recognise the format by"},
};

class Refused : public testing::TestWithParam<BadInput> {};

TEST_P(Refused, NamesFileLineAndFault) {
  common_test::TempDir dir;
  common_test::writeFile(dir.file("in"), GetParam().text);
  common_test::writeFile(dir.file("out.gff"), "kept\n");
  try {
    std::vector<std::string> arguments{"-o", dir.file("out.gff")};
    if (GetParam().format) arguments.insert(arguments.end(), {"-i", GetParam().format, "--fragments"});
    aliconv_test::convertFile(dir.file("in"), arguments);
    FAIL() << "taken";
  } catch (const common::ToolError &e) {
    const std::string expected = dir.file("in") + (GetParam().text[0] ? ", " : ": ") + GetParam().message;
    EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected);
  }
  EXPECT_EQ(common_test::readFile(dir.file("out.gff")), "kept\n");
}

INSTANTIATE_TEST_SUITE_P(Inputs, Refused, testing::ValuesIn(CASES),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
