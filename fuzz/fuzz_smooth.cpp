// Fuzz target for smooth: the record parser on every line of an arbitrary
// hit table, and the whole run on that table as a file. The first two bytes
// choose the window size and the threshold. With a threshold of 0 or below
// every candidate is written, so the output must then hold exactly one line
// per candidate that the parser found.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_files.h"
#include "smooth.h"

namespace {

// Candidates among the records after the first line, counted with the
// program's own parser.
std::size_t countCandidates(const std::string &table) {
  std::size_t candidates = 0;
  std::size_t start = table.find('\n');
  while (start != std::string::npos && start < table.size()) {
    ++start;
    std::size_t end = table.find('\n', start);
    if (end == std::string::npos) end = table.size();
    RECORD rec;
    if (parse_record(table.data() + start, end - start, &rec) == RECORD_OK && is_candidate(rec))
      ++candidates;
    start = end;
  }
  return candidates;
}

std::size_t countLines(const std::string &text) {
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2) return 0;
  const int winsize = static_cast<int8_t>(data[0]) * 8;
  const int threshold = static_cast<int8_t>(data[1]) / 16;
  const std::string table(reinterpret_cast<const char *>(data) + 2, size - 2);

  fuzz::TempFile in("smooth-in", table);
  fuzz::TempFile out("smooth-out", "");
  std::string win = std::to_string(winsize), thr = std::to_string(threshold);
  char *argv[] = {const_cast<char *>("smooth"), in.name(), win.data(), out.name(), thr.data(), nullptr};
  const int status = fuzz::silenced([&] { return smoothMain(5, argv); });
  if (status != 0) std::abort();  // a readable table with a writable output never fails

  if (threshold <= 0 && countLines(out.contents()) != countCandidates(table)) std::abort();
  return 0;
}
