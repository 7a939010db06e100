#include "alignment_file.h"

#include "alignment_fields.h"
#include "tool_error.h"

#include <cinttypes>

namespace common {

bool carriableName(std::string_view name) {
  if (name.empty() || name.front() == '#') return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || byte == '"' || byte == 127) return false;
  }
  return true;
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Takes the next white-space-separated word of `rest`; empty at its end.
std::string_view takeWord(std::string_view &rest) {
  size_t begin = 0;
  while (begin < rest.size() && isBlank(rest[begin])) ++begin;
  size_t end = begin;
  while (end < rest.size() && !isBlank(rest[end])) ++end;
  const std::string_view word = rest.substr(begin, end - begin);
  rest.remove_prefix(end);
  return word;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The quoted value after `key` in attributes like: seq1 "X"; seq2 "Y".
std::string_view quotedValue(std::string_view attributes, std::string_view key) {
  for (size_t at = attributes.find(key); at != std::string_view::npos;
       at = attributes.find(key, at + 1)) {
    std::string_view rest = attributes.substr(at + key.size());
    const size_t open = rest.find_first_not_of(" \t");
    if (open == std::string_view::npos || rest[open] != '"') continue;
    const size_t close = rest.find('"', open + 1);
    if (close == std::string_view::npos) continue;
    return rest.substr(open + 1, close - open - 1);
  }
  return {};
}

}  // namespace

const char *unreadableReason(const AlignmentRecord &r) {
  ALIGNMENT_FIELDS f{};
  // A value beyond the signed 64-bit range is what the scan flags as overflow.
  const auto coordinate = [&f](uint64_t value) {
    if (value > static_cast<uint64_t>(INT64_MAX)) f.coordinateOverflow = true;
    return static_cast<int64_t>(value);
  };
  f.xb = coordinate(r.xb);
  f.yb = coordinate(r.yb);
  f.xe = coordinate(r.xe);
  f.ye = coordinate(r.ye);
  const char *scoreEnd = r.score.data() + r.score.size();
  if (scanScore(r.score.data(), scoreEnd, f) == 0) return "alignment line not in proper format";
  return alignmentFault(f);
}

void AlignmentWriter::comment(std::string_view text) {
  std::fprintf(out_, "# %.*s\n", static_cast<int>(text.size()), text.data());
}

void AlignmentWriter::sequencePair(const std::string &xName, uint64_t xLength,
                                   const std::string &yName, uint64_t yLength,
                                   const std::string &source) {
  std::fprintf(out_,
               "%s\t%s\tsequence:sequence\t1:1\t%" PRIu64 ":%" PRIu64 "\t0\t.\tseq1 \"%s\"; seq2 \"%s\"\n",
               xName.c_str(), source.c_str(), xLength, yLength, xName.c_str(), yName.c_str());
}

void AlignmentWriter::line(const AlignmentRecord &r, const char *feature) {
  std::fprintf(out_, "%s\t%s\t%s\t%" PRIu64 ":%" PRIu64 "\t%" PRIu64 ":%" PRIu64 "\t%s\t%c\t%s\n",
               r.name.c_str(), r.source.c_str(), feature, r.xb, r.yb, r.xe, r.ye, r.score.c_str(),
               r.strand, r.attributes.c_str());
}

bool AlignmentReader::next(AlignmentItem &item) {
  std::string_view line;
  if (!input_.next(line)) return false;
  item = AlignmentItem{};
  item.line = line;
  item.lineNumber = input_.lineNumber();
  if (!line.empty() && line.front() == '#') {
    item.kind = AlignmentItem::COMMENT;
    return true;
  }
  ALIGNMENT_FIELDS f{};
  const int values = scanAlignmentFields(line.data(), line.data() + line.size(), f);
  std::string_view rest = line;
  item.name = takeWord(rest);
  item.source = takeWord(rest);
  item.feature = takeWord(rest);
  if (item.feature == "sequence:sequence") {
    item.kind = AlignmentItem::SEQUENCE_PAIR;
    takeWord(rest);
    takeWord(rest);
    takeWord(rest);
    takeWord(rest);
    item.xe = f.xe;
    item.ye = f.ye;
    item.xName = quotedValue(rest, "seq1");
    item.yName = quotedValue(rest, "seq2");
    if (item.xName.empty()) item.xName = item.name;
    return true;
  }
  if (values < 3 || !isAlignmentFeature(f)) return true;
  if (values < 8) throw ToolError(at(name(), item.lineNumber, "alignment line not in proper format"));
  if (const char *why = alignmentFault(f)) throw ToolError(at(name(), item.lineNumber, why));
  item.kind = AlignmentItem::ALIGNMENT;
  item.xb = f.xb;
  item.yb = f.yb;
  item.xe = f.xe;
  item.ye = f.ye;
  item.score = f.score;
  // The score's whole word: from the white space before its number to the
  // white space after it.
  size_t scoreBegin = static_cast<size_t>(f.scoreEnd - line.data());
  size_t scoreEnd = scoreBegin;
  while (scoreBegin > 0 && !isBlank(line[scoreBegin - 1])) --scoreBegin;
  while (scoreEnd < line.size() && !isBlank(line[scoreEnd])) ++scoreEnd;
  item.scoreText = line.substr(scoreBegin, scoreEnd - scoreBegin);
  rest = line.substr(scoreEnd);
  const std::string_view strand = takeWord(rest);
  item.strand = strand.size() == 1 ? strand[0] : '.';
  item.attributes = trimmed(rest);
  return true;
}

}  // namespace common
