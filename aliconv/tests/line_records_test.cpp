// Parsing threads change nothing a sink sees: for inputs of many batches,
// with header lines, records the sink does not want, a bad record, a line
// the classifier refuses and a gzip stream cut short, every thread count
// gives the sink the same calls in the same order and ends with the same
// failure as parsing on the reading thread.
#include "line_input.h"
#include "line_records.h"
#include "test_files.h"
#include "tool_error.h"

#include <gtest/gtest.h>

#include <random>

namespace aliconv {
namespace {

// Logs every call as a line of text.
class LoggingSink : public RecordSink {
 public:
  explicit LoggingSink(uint64_t everyNth) : everyNth_(everyNth) {}
  void alignment(Alignment &a) override {
    log += "alignment " + std::string(a.xName) + " " + std::to_string(a.xb) + " " + std::to_string(a.record) +
           " line " + std::to_string(a.lineNumber) + "\n";
  }
  bool wanted(uint64_t record) const override { return record % everyNth_ != 0; }
  void line(std::string_view text, uint64_t record, LineRole role) override {
    log += "line " + std::string(text) + " " + std::to_string(record) + " " +
           std::to_string(static_cast<int>(role)) + "\n";
  }
  std::string log;

 private:
  uint64_t everyNth_;
};

// Lines "name<TAB>begin"; "#..." lines are outside the records, "# N" a
// hit count; "!" is refused by the classifier and "bad" by the parser.
void readTestRecords(const std::string &path, RecordSink &sink, int threads) {
  common::LineInput input(path);
  ReadSettings settings;
  settings.lines = true;
  settings.parsingThreads = threads;
  readLineRecords(
      input, sink, settings,
      [](std::string_view line, const Place &place) {
        if (line == "!") place.fail("a refused line");
        if (line.empty() || line.front() != '#') return OutsideLine{};
        return line.size() > 2 ? OutsideLine{true, LineRole::HIT_COUNT, line.size()} : OutsideLine{true};
      },
      [](const std::vector<std::string_view> &fields, const Place &place, Alignment &a) {
        if (fields.size() != 2) place.fail("two fields, not " + std::to_string(fields.size()));
        a.xName = fields[0];
        a.xb = unsignedField(fields[1], place, "the begin");
      });
}

struct Outcome {
  std::string log, failure;
};

Outcome readAll(const std::string &path, int threads, uint64_t everyNth) {
  LoggingSink sink(everyNth);
  Outcome o;
  try {
    readTestRecords(path, sink, threads);
  } catch (const common::ToolError &e) {
    o.failure = e.what();
  }
  o.log = std::move(sink.log);
  return o;
}

std::string records(size_t count, std::mt19937 &random) {
  std::string text = "# header\n";
  for (size_t i = 0; i < count; ++i) {
    if (random() % 50 == 0) text += random() % 2 ? "#\n" : "# 3 hits\n";
    text += "s" + std::to_string(random() % 7) + "\t" + std::to_string(i) + "\n";
  }
  return text;
}

void expectSameAsOneThread(const std::string &path, const std::string &what) {
  for (const uint64_t everyNth : {3u, 1000000u}) {
    const Outcome one = readAll(path, 0, everyNth);
    for (const int threads : {1, 2, 3, 5}) {
      const Outcome many = readAll(path, threads, everyNth);
      EXPECT_EQ(one.failure, many.failure) << what << ", " << threads << " threads";
      EXPECT_TRUE(one.log == many.log) << what << ", " << threads << " threads";
    }
  }
}

TEST(ParsingThreads, SameCallsAndFailuresAsOneThread) {
  std::mt19937 random(11);
  common_test::TempDir dir;
  const std::string path = dir.file("in");
  for (const size_t count : {0u, 1u, 2047u, 2048u, 2049u, 30000u}) {
    const std::string text = records(count, random);
    common_test::writeFile(path, text);
    expectSameAsOneThread(path, std::to_string(count) + " records");
    EXPECT_EQ(readAll(path, 2, 1000000).failure, "");
  }
  const std::string text = records(20000, random);
  const auto lineStart = [&](size_t n) {
    size_t at = 0;
    while (n-- > 1) at = text.find('\n', at) + 1;
    return at;
  };
  // A failure early, on a batch's edge and late; and one of each kind
  // where both come in one batch, the earlier first.
  for (const size_t line : {5u, 2048u, 2049u, 4097u, 19000u}) {
    for (const char *bad : {"bad\n", "!\n"}) {
      common_test::writeFile(path, text.substr(0, lineStart(line)) + bad + text.substr(lineStart(line)));
      const Outcome one = readAll(path, 0, 1000000);
      EXPECT_NE(one.failure.find("line " + std::to_string(line) + ":"), std::string::npos) << one.failure;
      expectSameAsOneThread(path, std::string(bad) + " at line " + std::to_string(line));
    }
  }
  common_test::writeFile(path, text.substr(0, lineStart(3000)) + "bad\n" + text.substr(lineStart(3000), 100) +
                                   "!\n" + text.substr(lineStart(3000) + 100));
  EXPECT_NE(readAll(path, 2, 1000000).failure.find("line 3000:"), std::string::npos);
  expectSameAsOneThread(path, "a bad record before a refused line");
  common_test::writeGzip(path, text, common_test::gzipped(text).size() / 2);
  const Outcome cut = readAll(path, 0, 3);
  EXPECT_NE(cut.failure.find("cut short"), std::string::npos) << cut.failure;
  expectSameAsOneThread(path, "gzip data cut short");
}

}  // namespace
}  // namespace aliconv
