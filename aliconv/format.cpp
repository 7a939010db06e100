#include "format.h"

#include "fields.h"
#include "program.h"
#include "tool_error.h"

#include <vector>

namespace aliconv {

namespace {

struct FormatName {
  Format format;
  const char *name;
};

constexpr FormatName NAMES[] = {
    {Format::PAF, "paf"},         {Format::SAM, "sam"},         {Format::BAM, "bam"},
    {Format::CRAM, "cram"},       {Format::BLAST6, "blast6"},   {Format::BLAST7, "blast7"},
    {Format::DELTA, "delta"},     {Format::COORDS, "coords"},   {Format::MAF, "maf"},
    {Format::GENERAL, "general"}, {Format::ALIGNMENT_FILE, "gff"}};

std::vector<std::string_view> lines(std::string_view content) {
  std::vector<std::string_view> result;
  while (!content.empty()) {
    const size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    result.push_back(line);
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }
  return result;
}

bool allUnsigned(const std::vector<std::string_view> &f, std::initializer_list<size_t> columns) {
  uint64_t value = 0;
  for (const size_t c : columns)
    if (!parseUnsigned(f[c], value)) return false;
  return true;
}

bool isCigar(std::string_view text) {
  if (text == "*") return true;
  bool digits = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (digits && std::string_view("MIDNSHP=X").find(c) != std::string_view::npos) {
      digits = false;
    } else {
      return false;
    }
  }
  return !text.empty() && !digits;
}

bool isPafRecord(const std::vector<std::string_view> &f) {
  return f.size() >= 12 && (f[4] == "+" || f[4] == "-") &&
         allUnsigned(f, {1, 2, 3, 6, 7, 8, 9, 10, 11});
}

bool isBlastRecord(const std::vector<std::string_view> &f) {
  uint64_t numerator = 0, denominator = 0;
  return f.size() == 12 && decimalFraction(f[2], numerator, denominator) &&
         allUnsigned(f, {3, 4, 5, 6, 7, 8, 9}) && isScore(f[10]) && isScore(f[11]);
}

bool isSamRecord(const std::vector<std::string_view> &f) {
  return f.size() >= 11 && allUnsigned(f, {1, 3, 4}) && isCigar(f[5]);
}

bool isAlignmentFileLine(std::string_view line) {
  std::vector<std::string_view> words;
  splitFields(line, ' ', words);
  return words.size() >= 3 &&
         (words[2] == "alignment" || words[2] == "hsp:hsp" || words[2] == "sequence:sequence");
}

bool isSamHeader(std::string_view line) {
  for (const char *tag : {"@HD\t", "@SQ\t", "@RG\t", "@PG\t", "@CO\t"})
    if (startsWith(line, tag)) return true;
  return false;
}

// Every format whose records the line could be.
std::vector<Format> recordFormats(std::string_view line, std::string_view next) {
  std::vector<std::string_view> f;
  splitFields(line, '\t', f);
  std::vector<Format> fits;
  if (isPafRecord(f)) fits.push_back(Format::PAF);
  if (isBlastRecord(f)) fits.push_back(Format::BLAST6);
  if (isSamRecord(f)) fits.push_back(Format::SAM);
  if (isAlignmentFileLine(line)) fits.push_back(Format::ALIGNMENT_FILE);
  if ((line == "a" || startsWith(line, "a ")) && startsWith(next, "s ")) fits.push_back(Format::MAF);
  return fits;
}

}  // namespace

const char *formatName(Format format) {
  for (const FormatName &entry : NAMES)
    if (entry.format == format) return entry.name;
  return "?";
}

bool formatFromName(std::string_view name, Format &format) {
  for (const FormatName &entry : NAMES)
    if (name == entry.name) {
      format = entry.format;
      return true;
    }
  return false;
}

std::string formatNames() {
  std::string names;
  for (const FormatName &entry : NAMES) names += (names.empty() ? "" : ", ") + std::string(entry.name);
  return names;
}

Format formatOption(const std::string &name) {
  Format format = Format::PAF;
  if (!formatFromName(name, format))
    throw common::UsageError("unknown format '" + name + "' (formats: " + formatNames() + ")");
  return format;
}

bool isBinarySam(Format format) { return format == Format::BAM || format == Format::CRAM; }

Format recogniseContent(std::string_view content, const std::string &name) {
  if (startsWith(content, std::string_view("BAM\1", 4))) return Format::BAM;
  if (startsWith(content, "CRAM")) return Format::CRAM;
  const std::vector<std::string_view> text = lines(content);
  auto lineAt = [&](size_t i) { return i < text.size() ? text[i] : std::string_view(); };
  const std::string_view first = lineAt(0);
  if (startsWith(first, "##maf")) return Format::MAF;
  if (isSamHeader(first)) return Format::SAM;
  if (lineAt(1) == "NUCMER" || lineAt(1) == "PROMER")
    return isBlankLine(lineAt(2)) && startsWith(lineAt(3), "[S1]") ? Format::COORDS : Format::DELTA;
  if (startsWith(first, "# BLAST")) return Format::BLAST7;
  if (startsWith(first, "#") && first.find("name1") != std::string_view::npos &&
      first.find("name2") != std::string_view::npos)
    return Format::GENERAL;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isBlankLine(text[i]) || text[i].front() == '#') continue;
    const std::vector<Format> fits = recordFormats(text[i], lineAt(i + 1));
    if (fits.size() == 1) return fits.front();
    if (fits.empty())
      throw common::ToolError(common::at(
          name, i + 1, "no record of a known format: name the format with -i (" + formatNames() + ")"));
    throw common::ToolError(common::at(name, i + 1,
                                       std::string("the record fits both ") + formatName(fits[0]) +
                                           " and " + formatName(fits[1]) +
                                           ": name the format with -i"));
  }
  throw common::ToolError(name + ": no record to recognise the format by: name it with -i (" +
                          formatNames() + ")");
}

}  // namespace aliconv
