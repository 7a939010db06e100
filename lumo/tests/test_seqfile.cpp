// Sequence files into the sequence array: FASTA and FASTQ, plain and gzip,
// the record fields, every malformed case (one message naming file and
// line; the array as it was), and exhausted memory at every allocation.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "failing_alloc.h"
#include "lumo.h"
#include "lumo_seqfile.h"

namespace {

// A file in the temporary directory, removed with the object.
class TempFile {
 public:
  explicit TempFile(const std::string &content, bool gzip = false) {
    char pattern[] = "/tmp/lumo_seqfile_XXXXXX";
    int fd = mkstemp(pattern);
    path_ = pattern;
    if (gzip) {
      gzFile gz = gzdopen(fd, "wb");
      gzwrite(gz, content.data(), unsigned(content.size()));
      gzclose(gz);
    } else {
      EXPECT_EQ(write(fd, content.data(), content.size()), ssize_t(content.size()));
      close(fd);
    }
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const char *path() const { return path_.c_str(); }

 private:
  std::string path_;
};

struct Result {
  int added;
  std::string message;  // empty when none
};

Result read_file(const char *path) {
  char *message = nullptr;
  Result r{read_seq_file(path, &message), message ? message : ""};
  std::free(message);
  return r;
}

class SeqFile : public testing::Test {
 protected:
  // Two records made by hand, so that a failure can be seen to keep them.
  void SetUp() override {
    create_seq_array();
    for (int k = 0; k < 2; k++) get_element(add_element())->length = 100 + k;
  }
  void TearDown() override { free_seq_ary(); }

  static void expect_untouched() {
    ASSERT_EQ(get_num_sequences(), 2);
    EXPECT_EQ(get_element(1)->length, 100);
    EXPECT_EQ(get_element(2)->length, 101);
  }
  static std::string raw(int n) { return get_element(n)->raw_seq; }
  static std::string coded(int n) { return get_element(n)->sequence; }
};

TEST_F(SeqFile, FastaRecordsGetTheirFields) {
  TempFile f(">chr1  first one\tof two\nACGTN\nacgtn\n\n>chr2\nRYKM\nswhbvd\n>\n");
  Result r = read_file(f.path());
  ASSERT_EQ(r.added, 3) << r.message;
  EXPECT_EQ(r.message, "");
  const STRING *s = get_element(3);
  EXPECT_STREQ(s->ident, "chr1");
  EXPECT_STREQ(s->title, "first one\tof two");
  EXPECT_STREQ(s->desc_string, "first one\tof two");
  EXPECT_EQ(raw(3), "ACGTNacgtn");
  EXPECT_EQ(coded(3), "0123401234");
  EXPECT_EQ(s->length, 10);
  EXPECT_EQ(s->alphabet, 1);
  EXPECT_EQ(s->raw_alpha, 1);
  EXPECT_EQ(s->alpha_size, 5);
  EXPECT_STREQ(get_element(4)->ident, "chr2");
  EXPECT_STREQ(get_element(4)->desc_string, "");
  EXPECT_EQ(raw(4), "RYKMswhbvd");
  EXPECT_EQ(coded(4), "4444444444");
  EXPECT_EQ(get_element(5)->length, 0);
  EXPECT_EQ(coded(5), "");
}

// A carriage return inside a line is left out like a blank.
TEST_F(SeqFile, CrlfBlanksAndLongNamesAreHandled) {
  std::string word(80, 'x'), rest(300, 'y');
  TempFile f("\r\n>" + word + " " + rest + "\r\nAC GT\r\n\tT\rT\r\r\n");
  ASSERT_EQ(read_file(f.path()).added, 1);
  EXPECT_EQ(std::string(get_element(3)->ident), word.substr(0, 50));
  EXPECT_EQ(std::string(get_element(3)->title), rest.substr(0, 200));
  EXPECT_EQ(std::string(get_element(3)->desc_string), rest);
  EXPECT_EQ(raw(3), "ACGTTT");
}

// The whole first word of every header, whatever its length, beside the
// ident cut to 50 bytes; none after a failure.
TEST_F(SeqFile, NamesComeWhole) {
  std::string shared(50, 's'), longest(5000, 'w');
  TempFile f(">" + shared + "A one\nAC\n>" + shared + "B\nGT\n>" + longest + "\nA\n>short\nC\n");
  char *message = nullptr;
  char **names = nullptr;
  ASSERT_EQ(read_seq_file_names(f.path(), &message, &names), 4) << message;
  EXPECT_EQ(message, nullptr);
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(std::string(names[0]), shared + "A");
  EXPECT_EQ(std::string(names[1]), shared + "B");
  EXPECT_EQ(std::string(names[2]), longest);
  EXPECT_EQ(std::string(names[3]), "short");
  EXPECT_EQ(std::string(get_element(3)->ident), shared);
  EXPECT_EQ(std::string(get_element(5)->ident), longest.substr(0, 50));
  free_seq_names(names, 4);
  TempFile bad("@" + longest + "\nAC\n+\nI\n");
  char *not_null[1];  // *names is set to null on every failure
  names = not_null;
  EXPECT_EQ(read_seq_file_names(bad.path(), &message, &names), -1);
  EXPECT_EQ(names, nullptr);
  EXPECT_NE(std::string(message).find("line 4: quality shorter"), std::string::npos) << message;
  std::free(message);
  names = not_null;
  EXPECT_EQ(read_seq_file_names(nullptr, nullptr, &names), -1);
  EXPECT_EQ(names, nullptr);
  free_seq_names(nullptr, 3);
}

// The warning names the record by its whole name, as the programs do.
TEST_F(SeqFile, WarningNamesTheRecordWhole) {
  std::string name(70, 'p');
  TempFile f(">" + name + "\nACGTQ\n");
  Result r = read_file(f.path());
  ASSERT_EQ(r.added, 1);
  EXPECT_NE(r.message.find("(the first 'Q', in '" + name + "')"), std::string::npos) << r.message;
}

TEST_F(SeqFile, GzipGivesWhatPlainGives) {
  std::string text;
  for (int k = 0; k < 5000; k++) text += ">r" + std::to_string(k) + "\nACGTTGCA\nGG\n";
  TempFile plain(text), packed(text, true);
  ASSERT_EQ(read_file(plain.path()).added, 5000);
  ASSERT_EQ(read_file(packed.path()).added, 5000);
  for (int k = 0; k < 5000; k++) {
    ASSERT_STREQ(get_element(3 + k)->ident, get_element(5003 + k)->ident);
    ASSERT_EQ(raw(3 + k), raw(5003 + k));
    ASSERT_EQ(raw(3 + k), "ACGTTGCAGG");
  }
}

TEST_F(SeqFile, GzipMembersFollowOneAnother) {
  TempFile a(">a\nAC\n", true), b(">b\nGT\n", true);
  std::string both;
  for (const TempFile *f : {&a, &b}) {
    std::FILE *in = std::fopen(f->path(), "rb");
    char buf[256];
    both.append(buf, std::fread(buf, 1, sizeof buf, in));
    std::fclose(in);
  }
  TempFile trailing(both + "junk");
  Result r = read_file(trailing.path());
  EXPECT_EQ(r.added, -1);
  EXPECT_EQ(r.message, std::string(trailing.path()) +
                           ", line 5: bytes after the last gzip member are not gzip data");
  expect_untouched();
  TempFile joined(both);
  ASSERT_EQ(read_file(joined.path()).added, 2);
  EXPECT_EQ(raw(4), "GT");
}

// bgzip output: members with an extra header field, the last one empty.
TEST_F(SeqFile, BgzipFileGivesItsRecords) {
  Result r = read_file(LUMO_TEST_DATA "/three_records.fa.bgz");
  ASSERT_EQ(r.added, 3) << r.message;
  ASSERT_EQ(read_file(LUMO_EXAMPLES "/MT-human.fa").added, 1);
  ASSERT_EQ(read_file(LUMO_EXAMPLES "/MT-orang.fa").added, 1);
  EXPECT_STREQ(get_element(3)->ident, "MT_human");
  EXPECT_EQ(raw(3), raw(6));
  EXPECT_STREQ(get_element(4)->ident, "MT_orang");
  EXPECT_EQ(raw(4), raw(7));
  std::string repeat;
  for (int k = 0; k < 17500; k++) repeat += "ACGT";
  EXPECT_EQ(raw(5), repeat);
}

TEST_F(SeqFile, FastqSingleAndMultiLine) {
  // A '+' line may repeat the record's whole header or its first word.
  TempFile f("@q1 desc\nACGT\n+\n@@@@\n\n@q2\nAC\nGT\n+q2\nII\n!!\n@q3 x y\n\n+q3 x y\n\n"
             "@q4 z\nA\n+q4\n!\n");
  Result r = read_file(f.path());
  ASSERT_EQ(r.added, 4) << r.message;
  EXPECT_STREQ(get_element(3)->title, "desc");
  EXPECT_EQ(raw(3), "ACGT");
  EXPECT_EQ(raw(4), "ACGT");
  EXPECT_EQ(get_element(5)->length, 0);
}

TEST_F(SeqFile, EmptyInputGivesNoRecords) {
  TempFile empty(""), blank("\n  \n\r\n");
  EXPECT_EQ(read_file(empty.path()).added, 0);
  EXPECT_EQ(read_file(blank.path()).added, 0);
  expect_untouched();
}

TEST_F(SeqFile, LettersOutsideTheAlphabetGiveOneWarning) {
  TempFile f(">p1\nMKVLE\n>p2\nQQ*\n");
  Result r = read_file(f.path());
  ASSERT_EQ(r.added, 2);
  EXPECT_EQ(r.message, std::string(f.path()) +
                           ": warning: 5 characters outside the DNA alphabet (the first 'L', in "
                           "'p1') are mapped as the DNA table maps them");
  EXPECT_EQ(coded(3), "444\xff\xff");  // M, K and V are ambiguity letters
}

struct BadCase {
  const char *name;
  std::string content;
  bool gzip;
  std::string message;  // after "FILE, line "; the number is left out where it varies
};

class BadFile : public SeqFile, public testing::WithParamInterface<BadCase> {};

TEST_P(BadFile, FailsWithOneMessageAndKeepsTheArray) {
  const BadCase &c = GetParam();
  TempFile f(c.content, c.gzip);
  std::string content = c.content;
  if (c.name == std::string("truncated_gzip") || c.name == std::string("corrupt_gzip")) {
    // Damage the compressed file: cut it, or flip bytes in the middle.
    std::FILE *in = std::fopen(f.path(), "rb");
    std::string bytes(1 << 16, '\0');
    bytes.resize(std::fread(&bytes[0], 1, bytes.size(), in));
    std::fclose(in);
    if (c.name == std::string("truncated_gzip")) bytes.resize(bytes.size() / 2);
    else for (size_t k = 12; k < 20; k++) bytes[k] = char(~bytes[k]);
    std::FILE *out = std::fopen(f.path(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
  }
  Result r = read_file(f.path());
  EXPECT_EQ(r.added, -1);
  std::string where = std::string(f.path()) + ", line ";
  EXPECT_EQ(r.message.compare(0, where.size(), where), 0) << r.message;
  EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
  expect_untouched();
}

std::string big_text() {
  std::string s = ">big\n";
  for (int k = 0; k < 20000; k++) s += "ACGTACGTAC\n";
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadFile,
    testing::Values(
        BadCase{"no_header", "ACGT\n>r\nAC\n", false, "1: no header line ('>' or '@') before the sequence"},
        BadCase{"nul_in_sequence", ">r\nAC\n>s\nA" + std::string(1, '\0') + "C\n", false, "4: NUL byte"},
        BadCase{"nul_in_header", std::string(">r\0x\nAC\n", 8), false, "1: NUL byte"},
        BadCase{"quality_too_long", "@r\nACG\n+\nIIII\n", false,
                "4: quality longer than the sequence (4 > 3 characters)"},
        BadCase{"quality_too_short", "@r\nACG\n+\nII\n", false,
                "4: quality shorter than the sequence (2 < 3 characters)"},
        BadCase{"no_plus_line", "@r\nACG\n@s\n", false, "3: the last record has no '+' line"},
        BadCase{"plus_line_names_another_record", "@r one\nACG\n+s\nIII\n", false,
                "3: the '+' line names 's', not this record's 'r one'"},
        BadCase{"plus_line_with_another_description", "@r one\nACG\n+r two\nIII\n", false,
                "3: the '+' line names 'r two', not this record's 'r one'"},
        BadCase{"fastq_garbage_between", "@r\nA\n+\nI\nACGT\n", false, "5: expected a FASTQ header line ('@')"},
        BadCase{"truncated_gzip", big_text(), true, "gzip data cut short"},
        BadCase{"corrupt_gzip", big_text(), true, "1: corrupt gzip data"}),
    [](const testing::TestParamInfo<BadCase> &info) { return std::string(info.param.name); });

TEST_F(SeqFile, RecordOverTheLengthLimitFails) {
  TempFile f(">a\nACGT\n>b\nACGTA\nC\n");
  std::FILE *in = std::fopen(f.path(), "rb");
  char *message = nullptr;
  EXPECT_EQ(seqfile_read(in, "x.fa", 5, &message, nullptr), -1);
  std::fclose(in);
  EXPECT_STREQ(message, "x.fa, line 5: sequence longer than 5 characters");
  std::free(message);
  expect_untouched();
}

TEST_F(SeqFile, UnopenablePathAndNullArguments) {
  Result r = read_file("/nonexistent/dir/x.fa");
  EXPECT_EQ(r.added, -1);
  EXPECT_EQ(r.message, "/nonexistent/dir/x.fa: cannot open: No such file or directory");
  char *message = nullptr;
  EXPECT_EQ(read_seq_file(nullptr, &message), -1);
  EXPECT_EQ(read_seq_stream(nullptr, "x", &message), -1);
  EXPECT_EQ(message, nullptr);
  expect_untouched();
}

TEST_F(SeqFile, WithoutMessagePointerTheLineGoesToStandardError) {
  TempFile f("ACGT\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(read_seq_file(f.path(), nullptr), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            std::string(f.path()) + ", line 1: no header line ('>' or '@') before the sequence\n");
}

TEST_F(SeqFile, StreamFromItsCurrentPosition) {
  TempFile f("skip me\n>r\nGATTACA\n");
  std::FILE *in = std::fopen(f.path(), "rb");
  std::fseek(in, 8, SEEK_SET);
  EXPECT_EQ(read_seq_stream(in, "piece", nullptr), 1);
  std::fclose(in);
  EXPECT_EQ(raw(3), "GATTACA");
}

// Every allocation of a read, failed in turn: the read either still
// succeeds or fails with the array as it was (ASan finds any leak).
TEST_F(SeqFile, ExhaustedMemoryAtEveryAllocation) {
  TempFile f(">a x\nACGT\n>b\nGGQ\n@\n", true);
  size_t calls;
  {
    FailingAlloc counting;
    char *message = nullptr;
    char **names = nullptr;
    ASSERT_EQ(read_seq_file_names(f.path(), &message, &names), 2);
    std::free(message);
    free_seq_names(names, 2);
    calls = counting.requests().size();
    delete_element(4);
    delete_element(3);
  }
  for (size_t k = 1; k <= calls; k++) {
    FailingAlloc failing({int(k)});
    char *message = nullptr;
    char **names = nullptr;
    int added = read_seq_file_names(f.path(), &message, &names);
    std::free(message);
    free_seq_names(names, added);
    if (added == -1) {
      expect_untouched();
    } else {
      EXPECT_EQ(added, 2);
      while (get_num_sequences() > 2) delete_element(get_num_sequences());
    }
  }
}

}  // namespace
