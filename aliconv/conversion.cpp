#include "conversion.h"

#include "program.h"

#include <cstdio>
#include <utility>

namespace aliconv {

namespace {

constexpr std::pair<ScoreKind, const char *> SCORE_NAMES[] = {
    {ScoreKind::AUTO, "auto"},
    {ScoreKind::ALIGNER, "aligner"},
    {ScoreKind::MATCHES, "matches"},
    {ScoreKind::LENGTH, "length"}};

std::string scoreOf(const Alignment &a, ScoreKind kind, const Place &place) {
  const uint64_t bases = a.xe - a.xb + 1;
  switch (kind) {
    case ScoreKind::ALIGNER:
      if (a.alignerScore.empty()) place.fail("the record has no aligner's score: choose another --score");
      return std::string(a.alignerScore);
    case ScoreKind::MATCHES: {
      if (a.identityDenominator == 0) place.fail("the record states no identity: choose another --score");
      char text[48];
      std::snprintf(text, sizeof text, "%.1f",
                    static_cast<double>(bases) * static_cast<double>(a.identityNumerator) /
                        static_cast<double>(a.identityDenominator));
      return text;
    }
    case ScoreKind::LENGTH:
    case ScoreKind::AUTO: break;
  }
  return std::to_string(bases);
}

}  // namespace

void checkNames(const Alignment &a, const Place &place) {
  for (const std::string_view name : {a.xName, a.yName})
    if (!common::carriableName(name))
      place.fail("the sequence name '" + std::string(name) +
                 "' cannot be written to an alignment file: " + common::UNCARRIABLE_NAME);
}

const char *scoreKindName(ScoreKind kind) {
  for (const auto &[k, name] : SCORE_NAMES)
    if (k == kind) return name;
  return "?";
}

bool scoreKindFromName(std::string_view name, ScoreKind &kind) {
  for (const auto &[k, n] : SCORE_NAMES)
    if (name == n && k != ScoreKind::AUTO) {
      kind = k;
      return true;
    }
  return false;
}

ScoreKind scoreKindOption(const std::string &name) {
  ScoreKind kind = ScoreKind::AUTO;
  if (!scoreKindFromName(name, kind))
    throw common::UsageError("--score takes aligner, matches or length, not '" + name + "'");
  return kind;
}

void settleScore(Conversion &conversion, const Alignment &first) {
  if (conversion.score != ScoreKind::AUTO) return;
  conversion.score = !first.alignerScore.empty()        ? ScoreKind::ALIGNER
                     : first.identityDenominator != 0 ? ScoreKind::MATCHES
                                                      : ScoreKind::LENGTH;
}

common::AlignmentRecord alignmentScoreLine(const Alignment &a, const Conversion &conversion,
                                           const Place &place) {
  common::AlignmentRecord r;
  r.xb = conversion.swap ? a.yb : a.xb;
  r.xe = conversion.swap ? a.ye : a.xe;
  r.yb = conversion.swap ? a.xb : a.yb;
  r.ye = conversion.swap ? a.xe : a.ye;
  r.score = scoreOf(a, conversion.score, place);
  r.strand = a.strand;
  if (const char *why = common::unreadableReason(r))
    place.fail(std::string("the alignment cannot be written as an alignment line: ") + why);
  return r;
}

common::AlignmentRecord alignmentLine(const Alignment &a, const Conversion &conversion,
                                      const Place &place) {
  common::AlignmentRecord r = alignmentScoreLine(a, conversion, place);
  r.name = std::string(conversion.swap ? a.yName : a.xName);
  r.source = SOURCE;
  r.attributes = "record " + std::to_string(a.record);
  return r;
}

common::AlignmentRecord fragmentLine(const Alignment &a, size_t index, const Conversion &conversion) {
  const Block &block = a.blocks[index];
  common::AlignmentRecord r;
  r.name = std::string(conversion.swap ? a.yName : a.xName);
  r.source = SOURCE;
  r.xb = conversion.swap ? block.y : block.x;
  r.yb = conversion.swap ? block.x : block.y;
  r.xe = r.xb + block.length - 1;
  r.ye = r.yb + block.length - 1;
  r.score = std::to_string(block.length);
  r.strand = a.strand;
  r.attributes = "record " + std::to_string(a.record) + "; fragment " + std::to_string(index + 1);
  return r;
}

std::string conversionComment(const Conversion &conversion) {
  return std::string("aliconv conversion: format=") + formatName(conversion.format) +
         " score=" + scoreKindName(conversion.score) + " swap=" + (conversion.swap ? "yes" : "no");
}

bool readConversionComment(std::string_view text, Conversion &conversion) {
  std::vector<std::string_view> words;
  splitFields(text, ' ', words);
  if (words.size() != 6 || words[0] != "#" || words[1] != "aliconv" || words[2] != "conversion:" ||
      !startsWith(words[3], "format=") || !startsWith(words[4], "score=") ||
      (words[5] != "swap=yes" && words[5] != "swap=no"))
    return false;
  conversion.swap = words[5] == "swap=yes";
  // A passed-through alignment file keeps AUTO: its scores are its own.
  const std::string_view score = words[4].substr(6);
  conversion.score = ScoreKind::AUTO;
  return formatFromName(words[3].substr(7), conversion.format) &&
         (score == "auto" || scoreKindFromName(score, conversion.score));
}

uint64_t recordOfLine(std::string_view line) {
  const size_t at = line.rfind("\trecord ");
  if (at == std::string_view::npos) return 0;
  std::string_view rest = line.substr(at + 8);
  rest = rest.substr(0, rest.find(';'));
  uint64_t record = 0;
  return parseUnsigned(rest, record) ? record : 0;
}

}  // namespace aliconv
