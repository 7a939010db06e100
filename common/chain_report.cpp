#include "chain_report.h"

#include "alignment_fields.h"
#include "line_input.h"
#include "tool_error.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace common {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Reads the numbers of one "## 1 3 7" line into members; false when the
// line holds anything else.
bool takeMemberNumbers(std::string_view line, std::vector<uint64_t> &members) {
  const char *p = line.data() + 2;
  const char *end = line.data() + line.size();
  for (;;) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p == end) return true;
    uint64_t number = 0;
    const auto [stop, error] = std::from_chars(p, end, number);
    if (error != std::errc() || number == 0 || (!members.empty() && number <= members.back()))
      return false;
    members.push_back(number);
    p = stop;
  }
}

// A lone report's direction, from its members' begins (see ChainReport).
bool runsBackwards(const std::vector<std::string> &memberLines) {
  std::vector<std::pair<int64_t, int64_t>> begins;
  for (const std::string &line : memberLines) {
    ALIGNMENT_FIELDS f{};
    if (scanAlignmentFields(line.data(), line.data() + line.size(), f) == 8)
      begins.emplace_back(f.xb, f.yb);
  }
  if (begins.size() < 2) return false;
  std::sort(begins.begin(), begins.end());
  return begins[1].second < begins[0].second;
}

// The report copies the input line of each member it lists, in the list's
// order: a report cut down to its "##" lines, or whose list was changed,
// would otherwise pass for a report of any input with enough alignments.
void checkMemberLines(const ChainReport &report, const std::string &name, uint64_t listEnd) {
  if (report.memberLines.size() != report.members.size())
    throw ToolError(at(name, listEnd,
                       "the member list that ends here names " + std::to_string(report.members.size()) +
                           " alignments, but the report copies " +
                           std::to_string(report.memberLines.size()) + " member lines"));
}

}  // namespace

std::vector<ChainReport> readChainReports(const std::string &path) {
  LineInput input(path);
  std::vector<ChainReport> reports;
  // AFTER_VERSION: a "##gff-version 2" line in a report's body, which starts
  // the next report only when a "##source-version" line follows (an input
  // that begins with that line has it copied into the body).
  enum { BEFORE, HEADER, MEMBERS, BODY, AFTER_VERSION } state = BEFORE;
  std::string_view line;
  uint64_t listEnd = 0;  // the line that ends the last report's member list
  auto refuse = [&](const std::string &why) {
    throw ToolError(at(input.name(), input.lineNumber(), why));
  };
  while (input.next(line)) {
    if (line == "##gff-version 2" && state != BODY) {
      if (state == HEADER || state == MEMBERS) refuse("the report ends before its member list");
      if (state == AFTER_VERSION) checkMemberLines(reports.back(), input.name(), listEnd);
      reports.emplace_back();
      state = HEADER;
      continue;
    }
    if (line == "##gff-version 2") {
      state = AFTER_VERSION;
      continue;
    }
    if (state == AFTER_VERSION) {
      state = BODY;
      if (startsWith(line, "##source-version")) {
        checkMemberLines(reports.back(), input.name(), listEnd);
        reports.emplace_back();
        state = HEADER;
        continue;
      }
    }
    if (state == BEFORE) {
      // Standard output starts with the number of alignments read.
      if (!std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; }))
        refuse("not a chain report");
      continue;
    }
    ChainReport &report = reports.back();
    if (state == HEADER) {
      if (startsWith(line, "##Number of used alignments:")) {
        std::string_view count = line.substr(28);
        count.remove_prefix(std::min(count.find_first_not_of(" \t"), count.size()));
        const auto [stop, error] =
            std::from_chars(count.data(), count.data() + count.size(), report.memberCount);
        if (error != std::errc() || stop != count.data() + count.size()) refuse("bad member count");
      } else if (startsWith(line, "##Score sum of these alignments: ")) {
        report.scoreSum = std::string(line.substr(33));
      } else if (line == "##Used alignments:") {
        state = MEMBERS;
      } else if (startsWith(line, "##") && report.commandLine.empty() && line.size() > 2 &&
                 !startsWith(line, "##source-version") && !startsWith(line, "##date")) {
        report.commandLine = std::string(line.substr(2));
      } else if (!startsWith(line, "##")) {
        refuse("not a chain report");
      }
      continue;
    }
    if (state == MEMBERS) {
      if (line == "##") {
        if (report.members.size() != report.memberCount)
          refuse("the member list does not hold the number of used alignments");
        state = BODY;
        listEnd = input.lineNumber();
      } else if (!startsWith(line, "##") || !takeMemberNumbers(line, report.members)) {
        refuse("bad member list");
      }
      continue;
    }
    ALIGNMENT_FIELDS f{};
    if (line.empty() || line.front() == '#') continue;
    if (scanAlignmentFields(line.data(), line.data() + line.size(), f) >= 3 && isAlignmentFeature(f))
      report.memberLines.emplace_back(line);
  }
  if (reports.empty()) throw ToolError(input.name() + ": no chain report found");
  if (state == HEADER || state == MEMBERS) refuse("the report ends before its member list");
  checkMemberLines(reports.back(), input.name(), listEnd);
  for (size_t i = 0; i < reports.size(); ++i)
    reports[i].mirrored = i == 1 || (reports.size() == 1 && runsBackwards(reports[i].memberLines));
  return reports;
}

}  // namespace common
