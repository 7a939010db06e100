// Fuzz target for the chain-report reader (common::readChainReports), which
// aliplot and aliconv --pick use. The first byte chooses plain or compressed
// reads (fuzz::alsoCompressed); a compressed read must give exactly what
// the plain read gave. A read
// either throws ToolError or gives reports whose member lists hold as many
// numbers, all from 1, as their counts say.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "chain_report.h"
#include "fuzz_files.h"
#include "fuzz_gzip.h"
#include "tool_error.h"

namespace {

// The reports as one text, or the message that refused them.
std::string readAsFile(const std::string &bytes) {
  fuzz::TempFile file("report", bytes);
  std::vector<common::ChainReport> reports;
  try {
    reports = common::readChainReports(file.name());
  } catch (const common::ToolError &e) {
    return std::string("refused: ") + e.what();
  }
  fuzz::check(!reports.empty(), "a read gives a report or a refusal");
  std::string text;
  for (const common::ChainReport &report : reports) {
    fuzz::check(report.members.size() == report.memberCount, "the member list holds the count");
    text +=
        report.commandLine + "\n" + report.scoreSum + "\n" + (report.mirrored ? "-" : "+") + "\n";
    for (const uint64_t member : report.members) {
      fuzz::check(member >= 1, "members count from 1");
      text += std::to_string(member) + " ";
    }
    for (const std::string &line : report.memberLines) text += "\n" + line;
    text += "\n\n";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const unsigned settings = data[0];
  const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
  const std::string plain = readAsFile(text);
  if (fuzz::alsoCompressed(settings, text))
    fuzz::check(readAsFile(fuzz::compressedAsChosen(settings, text)) == plain,
                "the compressed read gives what the plain read gave");
  return 0;
}
