#include "plot_input.h"

#include "chain_report.h"
#include "fields.h"
#include "readers.h"
#include "tool_error.h"

#include <htslib/sam.h>

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
  // samText: whether the lines handed over are a SAM text's, whose header
  // and unmapped records name sequences.
  PlotSink(PlotInput &plot, MemberLines &wanted, const PairChoice &choice, bool keepAll, bool samText)
      : plot_(plot), wanted_(wanted), nextWanted_(wanted.begin()), choice_(choice), keepAll_(keepAll),
        samText_(samText) {}

  void alignment(aliconv::Alignment &a) override {
    if (a.xName != last_.first || a.yName != last_.second) {
      last_ = PairNames(a.xName, a.yName);
      pairs_.insert(last_);
      lastReference_ = indexOf(references_, plot_.references, a.xName);
      lastQuery_ = indexOf(queries_, plot_.queries, a.yName);
    }
    if (!keepAll_ && !choice_.reference.empty() &&
        (a.xName != choice_.reference || a.yName != choice_.query))
      return;
    Sequence &reference = plot_.references[lastReference_], &query = plot_.queries[lastQuery_];
    reference.length = std::max(reference.length, static_cast<int64_t>(a.xLength));
    query.length = std::max(query.length, static_cast<int64_t>(a.yLength));
    plot_.referenceOf.push_back(lastReference_);
    plot_.queryOf.push_back(lastQuery_);
    Alignment alignment;
    alignment.xb = static_cast<int64_t>(a.xb);
    alignment.yb = static_cast<int64_t>(a.yb);
    alignment.xe = static_cast<int64_t>(a.xe);
    alignment.ye = static_cast<int64_t>(a.ye);
    alignment.score = a.alignerScore.empty() ? 0 : std::strtof(std::string(a.alignerScore).c_str(), nullptr);
    if (a.identityDenominator > 0)
      alignment.identity = static_cast<float>(100.0 * static_cast<double>(a.identityNumerator) /
                                              static_cast<double>(a.identityDenominator));
    alignment.strand = a.strand == '-' ? '-' : '+';
    plot_.minusAlignments += alignment.strand == '-';
    plot_.alignments.push_back(alignment);
  }

  // The first line of a record of an alignment file is its alignment line;
  // the wanted numbers come in ascending order, as the records do.
  void line(std::string_view text, uint64_t record, aliconv::LineRole role) override {
    if (samText_) namedBySam(text, role);
    if (role != aliconv::LineRole::RECORD || nextWanted_ == wanted_.end() || nextWanted_->first != record)
      return;
    nextWanted_->second = std::string(text);
    ++nextWanted_;
  }

  // A BAM or CRAM file's references and unmapped reads.
  void binaryHeader(const sam_hdr_t *header) override {
    for (int tid = 0; tid < sam_hdr_nref(header); ++tid)
      samNames_.references.emplace_back(sam_hdr_tid2name(header, tid));
  }
  void binaryRecord(const bam1_t *record, uint64_t) override {
    if (record->core.flag & BAM_FUNMAP) samNames_.unmapped.emplace(bam_get_qname(record));
  }

  const std::set<PairNames> &pairs() const { return pairs_; }

  // Counts the sequences a SAM, BAM or CRAM input names without aligning them.
  void countUnaligned() const {
    for (const std::string &name : samNames_.references) plot_.unalignedReferences += references_.count(name) == 0;
    for (const std::string &name : samNames_.unmapped) plot_.unalignedQueries += queries_.count(name) == 0;
  }

 private:
  // A SAM text's @SQ lines and unmapped records.
  void namedBySam(std::string_view text, aliconv::LineRole role) {
    aliconv::splitFields(text, '\t', fields_);
    if (role == aliconv::LineRole::OTHER && fields_.front() == "@SQ") {
      for (const std::string_view field : fields_)
        if (aliconv::startsWith(field, "SN:")) samNames_.references.emplace_back(field.substr(3));
    } else if (role == aliconv::LineRole::RECORD && fields_.size() > 1) {
      uint64_t flag = 0;
      if (aliconv::parseUnsigned(fields_[1], flag) && (flag & BAM_FUNMAP)) samNames_.unmapped.emplace(fields_[0]);
    }
  }

  static uint32_t indexOf(std::map<std::string, uint32_t, std::less<>> &index, std::vector<Sequence> &sequences,
                          std::string_view name) {
    const auto found = index.find(name);
    if (found != index.end()) return found->second;
    const auto number = static_cast<uint32_t>(sequences.size());
    index.emplace(std::string(name), number);
    sequences.push_back(Sequence{std::string(name)});
    return number;
  }

  PlotInput &plot_;
  MemberLines &wanted_;
  MemberLines::iterator nextWanted_;
  const PairChoice &choice_;
  bool keepAll_;
  PairNames last_;
  uint32_t lastReference_ = 0, lastQuery_ = 0;
  std::set<PairNames> pairs_;
  std::map<std::string, uint32_t, std::less<>> references_, queries_;
  bool samText_;
  struct {
    std::vector<std::string> references;
    std::set<std::string, std::less<>> unmapped;
  } samNames_;
  std::vector<std::string_view> fields_;
};

// Refuses an input that leaves nothing to plot; keeps only the sequences
// of the alignments kept.
void checkPairs(const PlotInput &plot, const std::set<PairNames> &pairs, const PairChoice &choice) {
  if (pairs.empty())
    throw common::ToolError(plot.title + ": holds no alignments (read as " + plot.format + ")");
  if (!choice.reference.empty() && plot.alignments.empty())
    throw common::ToolError(plot.title + ": no alignment of the pair " + choice.reference + "," +
                            choice.query + " among its " + std::to_string(pairs.size()) +
                            (pairs.size() == 1 ? " pair" : " pairs"));
}

// Drops the sequences no kept alignment names (those of other pairs than
// the chosen one), renumbering the rest in their order.
void keepAlignedSequences(std::vector<Sequence> &sequences, std::vector<uint32_t> &indexOf) {
  std::vector<uint32_t> renumbered(sequences.size(), UINT32_MAX);
  for (const uint32_t i : indexOf) renumbered[i] = 0;
  std::vector<Sequence> kept;
  for (size_t i = 0; i < sequences.size(); ++i)
    if (renumbered[i] == 0) {
      renumbered[i] = static_cast<uint32_t>(kept.size());
      kept.push_back(std::move(sequences[i]));
    }
  for (uint32_t &i : indexOf) i = renumbered[i];
  sequences = std::move(kept);
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
  const aliconv::Format read = input.format();
  const bool sam = read == aliconv::Format::SAM || read == aliconv::Format::BAM || read == aliconv::Format::CRAM;
  PlotSink sink(plot, wanted, pair, reportsGiven, read == aliconv::Format::SAM);
  aliconv::ReadSettings settings;
  settings.lines = reportsGiven || sam;
  input.read(sink, settings);
  checkPairs(plot, sink.pairs(), pair);
  // A chosen pair leaves out the other sequences by choice, not for want of alignments.
  if (pair.reference.empty()) sink.countUnaligned();
  keepAlignedSequences(plot.references, plot.referenceOf);
  keepAlignedSequences(plot.queries, plot.queryOf);
  plot.xName = plot.references.front().name;
  plot.yName = plot.queries.front().name.empty() ? "second sequence" : plot.queries.front().name;
  plot.xLength = plot.references.front().length;
  plot.yLength = plot.queries.front().length;
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
