#include "plot_input.h"

#include "chain_report.h"
#include "readers.h"
#include "tool_error.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace aliplot {

namespace {

// The alignment lines of the given numbers, as the file holds them.
using MemberLines = std::map<uint64_t, std::string>;

using PairNames = std::pair<std::string, std::string>;

// Keeps the alignments of the chosen pair (of every pair when the input is
// read for chain reports, whose member numbers count every alignment line,
// as the chainer does) and the member lines the reports name.
class PlotSink : public aliconv::RecordSink {
 public:
  PlotSink(PlotInput &plot, MemberLines &wanted, const PairChoice &choice, bool keepAll)
      : plot_(plot), wanted_(wanted), nextWanted_(wanted.begin()), choice_(choice), keepAll_(keepAll) {}

  void alignment(aliconv::Alignment &a) override {
    if (a.xName != last_.first || a.yName != last_.second) {
      last_ = PairNames(a.xName, a.yName);
      pairs_.insert(last_);
    }
    if (!keepAll_ && !choice_.reference.empty() &&
        (a.xName != choice_.reference || a.yName != choice_.query))
      return;
    if (plot_.alignments.empty()) {
      plot_.xName = std::string(a.xName);
      plot_.yName = std::string(a.yName);
    }
    plot_.xLength = std::max(plot_.xLength, static_cast<int64_t>(a.xLength));
    plot_.yLength = std::max(plot_.yLength, static_cast<int64_t>(a.yLength));
    Alignment alignment;
    alignment.xb = static_cast<int64_t>(a.xb);
    alignment.yb = static_cast<int64_t>(a.yb);
    alignment.xe = static_cast<int64_t>(a.xe);
    alignment.ye = static_cast<int64_t>(a.ye);
    alignment.score = a.alignerScore.empty() ? 0 : std::strtof(std::string(a.alignerScore).c_str(), nullptr);
    alignment.strand = a.strand == '-' ? '-' : '+';
    plot_.minusAlignments += alignment.strand == '-';
    plot_.alignments.push_back(alignment);
  }

  // The first line of a record of an alignment file is its alignment line;
  // the wanted numbers come in ascending order, as the records do.
  void line(std::string_view text, uint64_t record, aliconv::LineRole role) override {
    if (role != aliconv::LineRole::RECORD || nextWanted_ == wanted_.end() || nextWanted_->first != record)
      return;
    nextWanted_->second = std::string(text);
    ++nextWanted_;
  }

  const std::set<PairNames> &pairs() const { return pairs_; }

 private:
  PlotInput &plot_;
  MemberLines &wanted_;
  MemberLines::iterator nextWanted_;
  const PairChoice &choice_;
  bool keepAll_;
  PairNames last_;
  std::set<PairNames> pairs_;
};

// Refuses an input that leaves nothing to plot, or several pairs to choose from.
void checkPairs(const PlotInput &plot, const std::set<PairNames> &pairs, const PairChoice &choice,
                bool reportsGiven) {
  if (pairs.empty())
    throw common::ToolError(plot.title + ": holds no alignments (read as " + plot.format + ")");
  if (!choice.reference.empty() && plot.alignments.empty())
    throw common::ToolError(plot.title + ": no alignment of the pair " + choice.reference + "," +
                            choice.query + " among its " + std::to_string(pairs.size()) +
                            (pairs.size() == 1 ? " pair" : " pairs"));
  if (choice.reference.empty() && !reportsGiven && pairs.size() > 1)
    throw common::ToolError(plot.title + ": holds " + std::to_string(pairs.size()) +
                            " sequence pairs (the first is " + pairs.begin()->first + "," +
                            pairs.begin()->second + "): choose one with --pair REFERENCE,QUERY");
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

PlotInput readPlotInput(const std::string &alignmentPath, const std::vector<std::string> &reportPaths,
                        const PairChoice &pair, const InputFormat &format) {
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
  aliconv::Input input(alignmentPath, format.named ? &format.format : nullptr);
  plot.title = input.name();
  plot.format = aliconv::formatName(input.format());
  const bool reportsGiven = !reportPaths.empty();
  if (reportsGiven && input.format() != aliconv::Format::ALIGNMENT_FILE)
    throw common::ToolError(reportPaths.front() + ": chain reports number the lines of an alignment file, but " +
                            plot.title + " holds " + plot.format +
                            ": give the alignment file that alichain read (aliconv converts to it)");
  PlotSink sink(plot, wanted, pair, reportsGiven);
  aliconv::ReadSettings settings;
  settings.lines = reportsGiven;
  input.read(sink, settings);
  checkPairs(plot, sink.pairs(), pair, reportsGiven);
  if (plot.yName.empty()) plot.yName = "second sequence";
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
