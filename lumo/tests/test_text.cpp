// The text reader: plain text and gzip members give the same lines wherever
// the members and the buffers break the text; damaged, cut and trailing
// data fail after the whole lines before them; peek; exhausted memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "failing_alloc.h"
#include "lumo_text.h"
#include "test_files.h"

namespace {

using common_test::gzipped;

// An unnamed temporary file holding `bytes`, read from its start.
class Stream {
 public:
  explicit Stream(const std::string &bytes) : file_(std::tmpfile()) {
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::rewind(file_);
  }
  ~Stream() { std::fclose(file_); }
  Stream(const Stream &) = delete;
  Stream &operator=(const Stream &) = delete;
  std::FILE *get() const { return file_; }

 private:
  std::FILE *file_;
};

struct Reading {
  std::vector<std::string> lines;
  int last = 0;                // the result of the last lumo_text_next_line
  std::string problem;         // empty when none
  long long line_number = 0;   // after the last call
};

Reading read_all(const std::string &bytes) {
  Stream stream(bytes);
  lumo_text *text = lumo_text_open(stream.get());
  Reading r;
  if (!text) {
    r.problem = "not opened";
    return r;
  }
  const char *line;
  size_t length;
  while ((r.last = lumo_text_next_line(text, &line, &length)) == 1) r.lines.emplace_back(line, length);
  if (lumo_text_problem(text)) r.problem = lumo_text_problem(text);
  r.line_number = lumo_text_line_number(text);
  lumo_text_close(text);
  return r;
}

// The lines of `text` as the reader must give them: split at "\n", one
// '\r' before it dropped, a last line without a break kept.
std::vector<std::string> expected_lines(const std::string &text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') end--;
    lines.push_back(text.substr(start, end - start));
    start = next;
  }
  return lines;
}

// Gzip members of the text cut at the given offsets, empty members too.
std::string members(const std::string &text, std::vector<size_t> cuts) {
  std::string out;
  size_t from = 0;
  cuts.push_back(text.size());
  for (size_t cut : cuts) {
    out += gzipped(text.substr(from, cut - from));
    from = cut;
  }
  return out;
}

const size_t kChunk = size_t(1) << 18;  // the reader's first buffer

// Texts whose line breaks fall where buffers and members end.
std::vector<std::string> awkward_texts() {
  std::string crlf_at_chunk(kChunk - 1, 'a');
  crlf_at_chunk += "\r\nnext\r\n";
  std::string long_lines = std::string(3 * kChunk + 17, 'L') + "\n" + std::string(kChunk, 'M');
  std::string many;
  std::mt19937 random(7);
  while (many.size() < 3 * kChunk) {
    many += std::string(random() % 300, "ACGT>"[random() % 5]);
    many += random() % 4 ? "\n" : "\r\n";
  }
  return {"", "\n", "\r\n", "one line", "a\nb\n\nc\r\n\r\nd\r", crlf_at_chunk, long_lines, many};
}

// How a text is stored: plain, one member, or members cut at random places
// (each text cut the same way for every storage).
enum class Storage { PLAIN, ONE_MEMBER, MEMBERS, MEMBERS_WITH_EMPTY };

std::string stored(const std::string &text, Storage storage) {
  std::mt19937 random(11);
  std::vector<size_t> cuts;
  if (storage == Storage::MEMBERS && !text.empty())
    for (int k = 0; k < 6; k++) cuts.push_back(random() % text.size());
  if (storage == Storage::MEMBERS_WITH_EMPTY) cuts = {0, 0, text.size() / 2, text.size() / 2, text.size()};
  std::sort(cuts.begin(), cuts.end());
  switch (storage) {
    case Storage::PLAIN: return text;
    case Storage::ONE_MEMBER: return gzipped(text);
    default: return members(text, cuts);
  }
}

class EveryStorage : public testing::TestWithParam<Storage> {};

TEST_P(EveryStorage, GivesTheLinesOfThePlainText) {
  for (const std::string &text : awkward_texts()) {
    Reading r = read_all(stored(text, GetParam()));
    std::vector<std::string> want = expected_lines(text);
    EXPECT_EQ(r.last, 0) << r.problem;
    EXPECT_EQ(r.lines, want) << "text of " << text.size() << " bytes";
    EXPECT_EQ(r.line_number, static_cast<long long>(want.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(Storages, EveryStorage,
                         testing::Values(Storage::PLAIN, Storage::ONE_MEMBER, Storage::MEMBERS,
                                         Storage::MEMBERS_WITH_EMPTY));

// Bad data after `whole`, a text of complete lines: the lines come, then
// the failure, so that line_number + 1 is where the data went wrong.
struct Damage {
  const char *name;
  std::string after;  // appended to the members of `whole`
  const char *problem;
};

class DamagedData : public testing::TestWithParam<Damage> {};

std::string whole_lines() {
  std::string text;
  for (int k = 1; k <= 30000; k++) text += "line " + std::to_string(k) + "\n";
  return text;
}

TEST_P(DamagedData, FailsAfterTheWholeLines) {
  const Damage &d = GetParam();
  std::string text = whole_lines();
  Reading r = read_all(members(text, {text.size() / 3}) + d.after);
  EXPECT_EQ(r.last, -1);
  EXPECT_EQ(r.problem, d.problem);
  EXPECT_EQ(r.lines, expected_lines(text));
  EXPECT_EQ(r.line_number, 30000);
}

// A member without a line break: its text is no whole line.
const std::string kMember = gzipped("a last line");

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedData,
    testing::Values(
        Damage{"text_after", "trailing text\n", "bytes after the last gzip member are not gzip data"},
        Damage{"one_byte_after", "\x1f", "bytes after the last gzip member are not gzip data"},
        Damage{"zeros_after", std::string(512, '\0'), "bytes after the last gzip member are not gzip data"},
        Damage{"member_header_only", "\x1f\x8b", "gzip data cut short"},
        Damage{"member_cut", kMember.substr(0, kMember.size() - 3), "gzip data cut short"},
        Damage{"member_damaged", "\x1f\x8b\x08\x00" + std::string(20, '\xff'), "corrupt gzip data"}),
    [](const testing::TestParamInfo<Damage> &info) { return std::string(info.param.name); });

// A stream cut inside a member: the lines before the cut come whole, and
// the line the cut falls in is not given.
TEST(Text, CutInsideAMemberEndsAfterTheLastWholeLine) {
  std::string text = whole_lines();
  std::string packed = gzipped(text);
  Reading r = read_all(packed.substr(0, packed.size() / 2));
  EXPECT_EQ(r.problem, "gzip data cut short");
  ASSERT_GT(r.lines.size(), 1000u);
  EXPECT_EQ(r.line_number, static_cast<long long>(r.lines.size()));
  std::vector<std::string> want = expected_lines(text);
  want.resize(r.lines.size());
  EXPECT_EQ(r.lines, want);
}

TEST(Text, PeekShowsTextWithoutTakingIt) {
  std::string text = std::string(kChunk + 100, 'x') + "\nrest\n";
  for (const std::string &bytes : {text, members(text, {10, kChunk})}) {
    Stream stream(bytes);
    lumo_text *reader = lumo_text_open(stream.get());
    const char *peeked;
    ASSERT_EQ(lumo_text_peek(reader, 3, &peeked), 3u);
    EXPECT_EQ(std::string(peeked, 3), "xxx");
    ASSERT_EQ(lumo_text_peek(reader, kChunk + 102, &peeked), kChunk + 102);
    EXPECT_EQ(std::string(peeked + kChunk + 100, 2), "\nr");
    const char *line;
    size_t length;
    ASSERT_EQ(lumo_text_next_line(reader, &line, &length), 1);
    EXPECT_EQ(length, kChunk + 100);
    EXPECT_EQ(lumo_text_peek(reader, 100, &peeked), 5u);
    EXPECT_EQ(std::string(peeked, 5), "rest\n");
    lumo_text_close(reader);
  }
}

TEST(Text, PeekGivesTheTextBeforeAFailure) {
  Stream stream(gzipped("header\nbody") + "junk");
  lumo_text *reader = lumo_text_open(stream.get());
  const char *peeked;
  EXPECT_EQ(lumo_text_peek(reader, 100, &peeked), 11u);
  EXPECT_EQ(std::string(peeked, 11), "header\nbody");
  EXPECT_STREQ(lumo_text_problem(reader), "bytes after the last gzip member are not gzip data");
  const char *line;
  size_t length;
  EXPECT_EQ(lumo_text_next_line(reader, &line, &length), 1);
  EXPECT_EQ(lumo_text_next_line(reader, &line, &length), -1);
  EXPECT_EQ(lumo_text_next_line(reader, &line, &length), -1);
  lumo_text_close(reader);
}

TEST(Text, ReadErrorGivesTheSystemsReason) {
  std::FILE *folder = std::fopen("/", "r");
  ASSERT_NE(folder, nullptr);
  lumo_text *reader = lumo_text_open(folder);
  const char *line;
  size_t length;
  EXPECT_EQ(lumo_text_next_line(reader, &line, &length), -1);
  EXPECT_EQ(lumo_text_read_error(reader), EISDIR);
  EXPECT_STREQ(lumo_text_problem(reader), std::strerror(EISDIR));
  lumo_text_close(reader);
  std::fclose(folder);
  EXPECT_EQ(lumo_text_open(nullptr), nullptr);
  lumo_text_close(nullptr);
}

// Every allocation failed in turn: the reading either succeeds whole or
// fails with "out of memory" after whole lines (ASan finds any leak).
TEST(Text, ExhaustedMemoryAtEveryAllocation) {
  std::string text = std::string(kChunk + 5, 'y') + "\nz\n";
  std::string bytes = members(text, {7});
  size_t calls;
  {
    FailingAlloc counting;
    ASSERT_EQ(read_all(bytes).lines, expected_lines(text));
    calls = counting.requests().size();
  }
  for (size_t k = 1; k <= calls; k++) {
    FailingAlloc failing({int(k)});
    Reading r = read_all(bytes);
    if (r.problem.empty()) {
      EXPECT_EQ(r.lines, expected_lines(text));
    } else if (r.problem != "not opened") {
      EXPECT_EQ(r.problem, "out of memory");
      EXPECT_TRUE(r.lines.empty());
    }
  }
}

}  // namespace
