// Fuzz target for alichain: arbitrary bytes as the alignment file, run
// through the whole program with the report written to a file (-f). A run
// either ends with status 8 or writes a report whose header agrees with
// itself: as many numbers listed as the count says, at most 25 per line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "alichain.h"
#include "fuzz_files.h"

namespace {

// Checks the member list of the report's own header against its count. The
// input's comment lines follow the header and may hold anything.
bool headerAgrees(const std::string &report) {
  std::istringstream lines(report);
  std::string line;
  const std::string countLine = "##Number of used alignments:\t";
  unsigned long expected = 0, listed = 0;
  bool inList = false;
  while (std::getline(lines, line)) {
    if (line.compare(0, countLine.size(), countLine) == 0) {
      expected = std::strtoul(line.c_str() + countLine.size(), nullptr, 10);
    } else if (line == "##Used alignments:") {
      inList = true;
      listed = 0;
    } else if (inList && line == "##") {
      return listed == expected;
    } else if (inList) {
      std::istringstream numbers(line.substr(2));
      unsigned long number, onLine = 0;
      while (numbers >> number) ++onLine;
      if (onLine > 25) return false;
      listed += onLine;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzz::TempFile in("alichain-in", std::string(reinterpret_cast<const char *>(data), size));
  char *argv[] = {const_cast<char *>("alichain"), const_cast<char *>("-f"), in.name(), nullptr};
  const int status = fuzz::silenced([&] { return alichainMain(3, argv); });
  const std::string reportName = std::string(in.name()) + ".chainout";
  const std::string report = fuzz::readFile(reportName);
  std::remove(reportName.c_str());
  if (status != 0 && status != 8) std::abort();
  if (status == 0 && !headerAgrees(report)) std::abort();
  return 0;
}
