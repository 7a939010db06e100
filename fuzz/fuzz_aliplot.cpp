// Fuzz target for aliplot's input: an alignment file and chain reports, read
// and drawn by the whole program. The bytes after the first are the
// alignment file, then each report after a line "%%" of its own. The first
// byte chooses the run: bit 0 an HTML page instead of SVG, bit 1 the inputs
// compressed as gzip. A run ends with status 0 or 1; after status 0 the
// picture is UTF-8 that holds only characters XML 1.0 allows.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "fuzz_gzip.h"
#include "run.h"

namespace {

const std::string REPORT_SEPARATOR = "\n%%\n";

std::vector<std::string> partsOf(const std::string &text) {
  std::vector<std::string> parts;
  size_t at = 0;
  for (size_t cut; (cut = text.find(REPORT_SEPARATOR, at)) != std::string::npos;
       at = cut + REPORT_SEPARATOR.size())
    parts.push_back(text.substr(at, cut + 1 - at));
  parts.push_back(text.substr(at));
  return parts;
}

// The code point of the UTF-8 sequence at text[at], advancing `at`; -1 for
// bytes that are no well-formed sequence.
long nextCodePoint(const std::string &text, size_t &at) {
  const unsigned char lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80) return lead;
  int extra = -1;  // continuation bytes after the lead byte
  if (lead >= 0xC2 && lead <= 0xDF) extra = 1;
  if (lead >= 0xE0 && lead <= 0xEF) extra = 2;
  if (lead >= 0xF0 && lead <= 0xF4) extra = 3;
  if (extra < 0 || at + static_cast<size_t>(extra) > text.size()) return -1;
  long point = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[at++]);
    if ((next & 0xC0) != 0x80) return -1;
    point = (point << 6) | (next & 0x3F);
  }
  const long smallest[] = {0, 0x80, 0x800, 0x10000};
  return point < smallest[extra] || point > 0x10FFFF ? -1 : point;
}

// XML 1.0's Char production.
bool xmlAllows(long c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool onlyXmlCharacters(const std::string &text) {
  for (size_t at = 0; at < text.size();)
    if (!xmlAllows(nextCodePoint(text, at))) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const unsigned settings = data[0];
  std::vector<std::unique_ptr<fuzz::TempFile>> inputs;
  for (const std::string &part :
       partsOf(std::string(reinterpret_cast<const char *>(data) + 1, size - 1))) {
    const std::string tag = "aliplot-in" + std::to_string(inputs.size());
    inputs.push_back(std::make_unique<fuzz::TempFile>(
        tag.c_str(), settings & 2 ? fuzz::gzipMember(part) : part));
  }
  fuzz::TempFile out("aliplot-out", "");
  std::vector<char *> argv = {const_cast<char *>("aliplot"), const_cast<char *>("--format"),
                              const_cast<char *>(settings & 1 ? "html" : "svg")};
  for (auto &input : inputs) argv.push_back(input->name());
  argv.push_back(const_cast<char *>("-o"));
  argv.push_back(out.name());
  argv.push_back(nullptr);
  const int status = fuzz::silenced(
      [&] { return aliplot::aliplotMain(static_cast<int>(argv.size()) - 1, argv.data()); });
  fuzz::check(status == 0 || status == 1, "aliplot ends with status 0 or 1");
  fuzz::check(status != 0 || onlyXmlCharacters(out.contents()),
              "the picture holds only XML characters");
  return 0;
}
