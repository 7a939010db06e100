#include "line_reader.h"
#include "test_files.h"

#include <fcntl.h>
#include <string>
#include <vector>

namespace {

class LineReader : public ScratchDir {
protected:
  // Returns every line of content. Lengths come from the reader, not from
  // the NUL, so lines holding NUL bytes come back whole.
  std::vector<std::string> lines_of(const std::string &content, READER *fp) {
    const int fd = open(write_file("in", content).c_str(), O_RDONLY);
    EXPECT_GE(fd, 0);
    reader_init(fp, fd);
    std::vector<std::string> lines;
    size_t len = 0;
    while (const char *line = my_getline(fp, &len)) {
      EXPECT_EQ(line[len], '\0');
      lines.emplace_back(line, len);
    }
    EXPECT_EQ(my_getline(fp, &len), nullptr) << "a line after the end";
    close(fd);
    reader_free(fp);
    return lines;
  }
};

TEST_F(LineReader, BreaksAndEnds) {
  READER r;
  using V = std::vector<std::string>;
  EXPECT_EQ(lines_of("", &r), V{});
  EXPECT_EQ(lines_of("\n", &r), V{""});
  EXPECT_EQ(lines_of("a\n\nb", &r), (V{"a", "", "b"}));
  EXPECT_EQ(lines_of("a\r\nb\r\n", &r), (V{"a\r", "b\r"}));
  EXPECT_EQ(lines_of(std::string("x\0y\nz\n", 6), &r), (V{std::string("x\0y", 3), "z"}));
  EXPECT_EQ(r.err, 0);
  EXPECT_FALSE(r.oom);
}

// Lines around the size of the first buffer and several times it, so that
// lines cross a refill, fill it exactly, and make it grow.
class LongLines : public LineReader, public ::testing::WithParamInterface<size_t> {};

TEST_P(LongLines, ComeBackWhole) {
  const size_t n = GetParam();
  const std::string a(n, 'a'), b(n + 1, 'b');
  READER r;
  std::vector<std::string> expect{"head", a, b, a, "tail"};
  EXPECT_EQ(lines_of("head\n" + a + "\n" + b + "\n" + a + "\ntail", &r), expect);
  expect.back() = b;
  EXPECT_EQ(lines_of("head\n" + a + "\n" + b + "\n" + a + "\n" + b, &r), expect);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LongLines,
                         ::testing::Values(18, 19, (1u << 20) - 3, (1u << 20) - 2,
                                           (1u << 20) - 1, 1u << 20, (3u << 20) + 5));

TEST_F(LineReader, ReadErrorIsReported) {
  const int fd = open(path("").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  READER r;
  reader_init(&r, fd);
  EXPECT_EQ(my_getline(&r, nullptr), nullptr);
  EXPECT_NE(r.err, 0);
  EXPECT_EQ(my_getline(&r, nullptr), nullptr);
  close(fd);
  reader_free(&r);
}

} // namespace
