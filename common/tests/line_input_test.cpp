#include "line_input.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using common::LineInput;
using common_test::TempDir;

std::vector<std::string> allLines(LineInput &input) {
  std::vector<std::string> lines;
  std::string_view line;
  while (input.next(line)) lines.emplace_back(line);
  return lines;
}

const std::vector<std::string> EXPECTED{"first", "", "third\tx", "last"};

TEST(LineInput, ReadsPlainAndGzipAlike) {
  TempDir dir;
  const std::string text = "first\r\n\nthird\tx\nlast";
  common_test::writeFile(dir.file("plain"), text);
  common_test::writeGzip(dir.file("packed"), text);
  for (const char *name : {"plain", "packed"}) {
    LineInput input(dir.file(name));
    EXPECT_EQ(allLines(input), EXPECTED) << name;
    EXPECT_EQ(input.lineNumber(), 4u) << name;
  }
}

TEST(LineInput, LinesLongerThanTheBufferArriveWhole) {
  TempDir dir;
  const std::string longLine(1 << 20, 'A');
  common_test::writeGzip(dir.file("long.gz"), "x\n" + longLine + "\ny\n");
  LineInput input(dir.file("long.gz"));
  EXPECT_EQ(allLines(input), (std::vector<std::string>{"x", longLine, "y"}));
}

TEST(LineInput, PeekShowsDecompressedTextWithoutTakingIt) {
  TempDir dir;
  common_test::writeGzip(dir.file("p.gz"), "@HD\tVN:1.6\nrest\n");
  LineInput input(dir.file("p.gz"));
  EXPECT_EQ(input.peek(3), "@HD");
  EXPECT_EQ(input.peek(100), "@HD\tVN:1.6\nrest\n");
  std::string_view line;
  ASSERT_TRUE(input.next(line));
  EXPECT_EQ(line, "@HD\tVN:1.6");
  EXPECT_EQ(input.peek(4), "rest");
}

TEST(LineInput, EmptyInputHasNoLines) {
  TempDir dir;
  common_test::writeFile(dir.file("empty"), "");
  LineInput input(dir.file("empty"));
  EXPECT_TRUE(allLines(input).empty());
  EXPECT_EQ(input.peek(10), "");
}

TEST(LineInput, FailuresNameTheFile) {
  TempDir dir;
  try {
    LineInput input(dir.file("missing"));
    FAIL() << "opened a missing file";
  } catch (const common::ToolError &e) {
    EXPECT_NE(std::string(e.what()).find(dir.file("missing")), std::string::npos) << e.what();
  }
  // A compressed stream cut short is an error, not a short file.
  common_test::writeGzip(dir.file("cut.gz"), std::string(100000, 'C') + "\n", 40);
  LineInput cut(dir.file("cut.gz"));
  EXPECT_THROW(allLines(cut), common::ToolError);
}

// The lines before the damage are given; the message names the first line
// that the stream could not give whole.
TEST(LineInput, ACompressedStreamCutShortNamesTheLine) {
  TempDir dir;
  std::string text;
  for (int i = 1; i <= 20000; ++i) text += "line " + std::to_string(i) + " of a stream cut short\n";
  common_test::writeGzip(dir.file("cut.gz"), text, 30000);
  LineInput input(dir.file("cut.gz"));
  EXPECT_FALSE(input.peek(100).empty());
  std::string_view line;
  uint64_t whole = 0;
  try {
    while (input.next(line)) {
      ASSERT_EQ(line, "line " + std::to_string(++whole) + " of a stream cut short");
    }
    FAIL() << "the cut stream read to its end";
  } catch (const common::ToolError &e) {
    EXPECT_GT(whole, 1000u);
    EXPECT_EQ(std::string(e.what()),
              dir.file("cut.gz") + ", line " + std::to_string(whole + 1) + ": gzip data cut short");
  }
  common_test::writeGzip(dir.file("tiny.gz"), text, 20);
  LineInput tiny(dir.file("tiny.gz"));
  EXPECT_THROW(tiny.peek(100), common::ToolError);
}

// Members one after another are one text (as bgzip writes them, with an
// empty member at the end); bytes after the last member are refused with
// the file and the first line not given whole: here the last, which has no
// line break before the bytes.
TEST(LineInput, MembersAreOneTextAndTrailingBytesAreRefused) {
  TempDir dir;
  const std::string members =
      common_test::gzipped("first\n\nthi") + common_test::gzipped("rd\tx\nlast") + common_test::gzipped("");
  common_test::writeFile(dir.file("members.gz"), members);
  LineInput input(dir.file("members.gz"));
  EXPECT_EQ(allLines(input), EXPECTED);
  common_test::writeFile(dir.file("trailing.gz"), members + "\n");
  LineInput trailing(dir.file("trailing.gz"));
  try {
    allLines(trailing);
    FAIL() << "trailing bytes were accepted";
  } catch (const common::ToolError &e) {
    EXPECT_EQ(std::string(e.what()),
              dir.file("trailing.gz") + ", line 4: bytes after the last gzip member are not gzip data");
  }
}

TEST(LineInput, AReadErrorGivesTheSystemsReason) {
  TempDir dir;
  LineInput input(dir.path());
  std::string_view line;
  try {
    input.next(line);
    FAIL() << "a folder was read";
  } catch (const common::ToolError &e) {
    EXPECT_EQ(std::string(e.what()), "cannot read " + dir.path() + ": Is a directory");
  }
}

}  // namespace
