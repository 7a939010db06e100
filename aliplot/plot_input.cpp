#include "plot_input.h"

#include "alignment_file.h"
#include "chain_report.h"
#include "line_input.h"
#include "tool_error.h"

#include <algorithm>
#include <map>

namespace aliplot {

namespace {

// The alignment lines of the given numbers, as the file holds them.
using MemberLines = std::map<uint64_t, std::string>;

void readAlignments(const std::string &path, MemberLines &wanted, PlotInput &plot) {
  common::LineInput input(path);
  common::AlignmentReader reader(input);
  common::AlignmentItem item;
  bool pairSeen = false;
  auto nextWanted = wanted.begin();
  while (reader.next(item)) {
    if (item.kind == common::AlignmentItem::SEQUENCE_PAIR && !pairSeen) {
      pairSeen = true;
      plot.xName = std::string(item.xName);
      plot.yName = std::string(item.yName);
      plot.xLength = std::max<int64_t>(item.xe, 0);
      plot.yLength = std::max<int64_t>(item.ye, 0);
    }
    if (item.kind != common::AlignmentItem::ALIGNMENT) continue;
    if (plot.xName.empty()) plot.xName = std::string(item.name);
    Alignment alignment;
    alignment.xb = item.xb;
    alignment.yb = item.yb;
    alignment.xe = item.xe;
    alignment.ye = item.ye;
    alignment.score = item.score;
    alignment.strand = item.strand == '-' ? '-' : '+';
    plot.minusAlignments += alignment.strand == '-';
    plot.alignments.push_back(alignment);
    // The wanted numbers come in ascending order, as the alignments do.
    if (nextWanted != wanted.end() && nextWanted->first == plot.alignments.size()) {
      nextWanted->second = std::string(item.line);
      ++nextWanted;
    }
  }
  if (plot.yName.empty()) plot.yName = "second sequence";
  if (plot.xName.empty()) plot.xName = "first sequence";
}

// Checks that a report was made from the alignments read.
void checkBelongs(const common::ChainReport &report, const std::string &reportPath,
                  const std::string &alignmentName, const PlotInput &plot,
                  const MemberLines &lines) {
  const uint64_t count = plot.alignments.size();
  for (const uint64_t member : report.members)
    if (member > count)
      throw common::ToolError(reportPath + ": member " + std::to_string(member) +
                              " lies beyond the " + std::to_string(count) + " alignments of " +
                              alignmentName + ": the report does not belong to that file");
  // The report copies each member's line (the reader has checked that there
  // is one for each, in the list's order); each must be the line it names.
  for (size_t i = 0; i < report.members.size(); ++i)
    if (report.memberLines[i] != lines.at(report.members[i]))
      throw common::ToolError(reportPath + ": the member lines it copies differ from the lines of " +
                              alignmentName + " that it names: the report does not belong to that file");
}

}  // namespace

PlotInput readPlotInput(const std::string &alignmentPath, const std::vector<std::string> &reportPaths) {
  // Reports are read first, so that the alignment file is read once and
  // keeps only the lines the reports name.
  std::vector<std::vector<common::ChainReport>> reports;
  MemberLines wanted;
  for (const std::string &path : reportPaths) {
    reports.push_back(common::readChainReports(path));
    for (const common::ChainReport &report : reports.back())
      for (const uint64_t member : report.members) wanted.emplace(member, std::string());
  }
  PlotInput plot;
  readAlignments(alignmentPath, wanted, plot);
  plot.title = alignmentPath == "-" ? "standard input" : alignmentPath;
  for (size_t file = 0; file < reports.size(); ++file) {
    for (const common::ChainReport &report : reports[file]) {
      checkBelongs(report, reportPaths[file], plot.title, plot, wanted);
      Chain chain;
      chain.report = reportPaths[file] == "-" ? "standard input" : reportPaths[file];
      chain.mirrored = report.mirrored;
      chain.members = report.members;
      chain.scoreSum = report.scoreSum;
      plot.chains.push_back(std::move(chain));
    }
  }
  return plot;
}

}  // namespace aliplot
