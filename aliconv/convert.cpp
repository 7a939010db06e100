#include "convert.h"

#include "atomic_output.h"
#include "body_store.h"
#include "pair_split.h"
#include "readers.h"
#include "tool_error.h"

#include <map>
#include <utility>

namespace aliconv {

namespace {

struct PairState {
  std::string reference, query;  // as the input names them
  uint64_t referenceLength = 0, queryLength = 0;  // as stated; 0: not stated
  uint64_t referenceReach = 0, queryReach = 0;    // the largest positions aligned
  uint64_t alignments = 0, minus = 0;
  size_t body = 0;
  bool hasBody = false;
};

// The folder for the bodies: the split folder, or the output's own folder
// (the temporary folder for standard output).
std::string bodyFolder(const ConvertOptions &options) {
  if (!options.splitFolder.empty()) return options.splitFolder;
  if (options.output != "-") {
    const size_t slash = options.output.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : options.output.substr(0, slash);
  }
  const char *tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

class ConvertSink : public RecordSink {
 public:
  ConvertSink(const ConvertOptions &options, Conversion &conversion, BodyStore &bodies,
              const std::string &inputName)
      : options_(options), conversion_(conversion), bodies_(bodies), inputName_(inputName) {}

  void alignment(Alignment &a) override {
    if (conversion_.format == Format::ALIGNMENT_FILE) return;
    if (options_.hasPair && (a.xName != options_.pairReference || a.yName != options_.pairQuery))
      return;
    const Place place{inputName_, a.lineNumber, isBinarySam(conversion_.format)};
    PairState &pair = pairOf(a, place);
    if (!pair.hasBody) return;  // a further pair of a single output: counted, not written
    if (pair.alignments == 0 && pairs_.size() == 1) settleScore(conversion_, a);
    common::AlignmentWriter writer(bodies_.stream(pair.body));
    writer.alignment(alignmentLine(a, conversion_, place));
    if (options_.fragments)
      for (size_t i = 0; i < a.blocks.size(); ++i) writer.fragment(fragmentLine(a, i, conversion_));
    pair.alignments += 1;
    pair.minus += a.strand == '-';
    if ((a.xLength && a.xLength != pair.referenceLength) || (a.yLength && a.yLength != pair.queryLength))
      place.fail("the sequences' lengths differ from those of the pair's first record");
    pair.referenceReach = std::max(pair.referenceReach, a.xe);
    pair.queryReach = std::max(pair.queryReach, a.ye);
  }

  // The alignment file format is passed through line by line.
  void line(std::string_view text, uint64_t, LineRole) override {
    if (pairs_.empty()) {
      pairs_.emplace_back();
      pairs_.back().body = bodies_.add();
    }
    std::FILE *out = bodies_.stream(pairs_.back().body);
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputc('\n', out);
  }

  std::vector<PairState> &pairs() { return pairs_; }

 private:
  PairState &pairOf(const Alignment &a, const Place &place) {
    if (last_ < pairs_.size() && pairs_[last_].reference == a.xName && pairs_[last_].query == a.yName)
      return pairs_[last_];
    const auto key = std::make_pair(std::string(a.xName), std::string(a.yName));
    const auto [at, added] = index_.emplace(key, pairs_.size());
    last_ = at->second;
    if (!added) return pairs_[last_];
    checkNames(a, place);
    PairState pair;
    pair.reference = key.first;
    pair.query = key.second;
    pair.referenceLength = a.xLength;
    pair.queryLength = a.yLength;
    pair.hasBody = pairs_.empty() || !options_.splitFolder.empty();
    if (pair.hasBody) pair.body = bodies_.add();
    pairs_.push_back(std::move(pair));
    return pairs_.back();
  }

  const ConvertOptions &options_;
  Conversion &conversion_;
  BodyStore &bodies_;
  const std::string &inputName_;
  std::vector<PairState> pairs_;
  std::map<std::pair<std::string, std::string>, size_t> index_;
  size_t last_ = SIZE_MAX;
};

void writeHeader(std::FILE *out, const PairState &pair, const Conversion &conversion,
                 const std::string &inputName) {
  common::AlignmentWriter writer(out);
  writer.comment("aliconv: the alignments of " + inputName + " (" + formatName(conversion.format) + ")");
  writer.comment(conversionComment(conversion));
  if (conversion.format == Format::ALIGNMENT_FILE) return;
  const bool swap = conversion.swap;
  writer.comment("first sequence (x): " + (swap ? pair.query : pair.reference) +
                 (swap ? ", the query" : ", the reference") + "; second sequence (y): " +
                 (swap ? pair.reference : pair.query) + (swap ? ", the reference" : ", the query"));
  writer.comment("coordinates from 1, inclusive, begin <= end on each sequence's forward strand; "
                 "strand - means that y runs backwards while x runs forwards");
  const uint64_t referenceLength = pair.referenceLength ? pair.referenceLength : pair.referenceReach;
  const uint64_t queryLength = pair.queryLength ? pair.queryLength : pair.queryReach;
  if (!pair.referenceLength || !pair.queryLength)
    writer.comment(std::string("lengths not stated by ") + formatName(conversion.format) +
                   ": the sequence line gives the largest positions aligned");
  if (swap)
    writer.sequencePair(pair.query, queryLength, pair.reference, referenceLength, SOURCE);
  else
    writer.sequencePair(pair.reference, referenceLength, pair.query, queryLength, SOURCE);
}

void writeSplit(const ConvertOptions &options, std::vector<PairState> &pairs,
                const Conversion &conversion, BodyStore &bodies, const std::string &inputName) {
  std::vector<common::PairEntry> entries;
  for (PairState &pair : pairs) {
    common::PairEntry entry;
    entry.reference = conversion.swap ? pair.query : pair.reference;
    entry.query = conversion.swap ? pair.reference : pair.query;
    entry.file = common::pairFileName(entry.reference, entry.query);
    common::AtomicOutput out(options.splitFolder + "/" + entry.file);
    writeHeader(out.stream(), pair, conversion, inputName);
    bodies.moveInto(pair.body, out.stream());
    out.commit();
    const uint64_t referenceLength = pair.referenceLength ? pair.referenceLength : pair.referenceReach;
    const uint64_t queryLength = pair.queryLength ? pair.queryLength : pair.queryReach;
    entry.referenceLength = conversion.swap ? queryLength : referenceLength;
    entry.queryLength = conversion.swap ? referenceLength : queryLength;
    entry.alignments = pair.alignments;
    entry.minusAlignments = pair.minus;
    entries.push_back(std::move(entry));
  }
  common::writePairIndex(options.splitFolder, entries);
}

void writeSingle(const ConvertOptions &options, std::vector<PairState> &pairs,
                 const Conversion &conversion, BodyStore &bodies, const std::string &inputName) {
  if (pairs.size() > 1)
    throw common::ToolError(inputName + " holds alignments of " + std::to_string(pairs.size()) +
                            " sequence pairs: convert one with --pair REF,QUERY or each into a "
                            "folder of its own with --split DIR");
  if (pairs.empty() && options.hasPair)
    throw common::ToolError(inputName + " holds no alignment of the pair " + options.pairReference +
                            "," + options.pairQuery);
  common::AtomicOutput out(options.output);
  if (pairs.empty()) {
    common::AlignmentWriter writer(out.stream());
    writer.comment("aliconv: the alignments of " + inputName + " (" + formatName(conversion.format) + ")");
    writer.comment(conversionComment(conversion));
    writer.comment("no alignments");
  } else {
    writeHeader(out.stream(), pairs.front(), conversion, inputName);
    bodies.moveInto(pairs.front().body, out.stream());
  }
  out.commit();
}

}  // namespace

void convert(const ConvertOptions &options) {
  Input input(options.input, options.hasFormat ? &options.format : nullptr);
  if (input.format() == Format::ALIGNMENT_FILE &&
      (options.swap || options.fragments || options.hasPair || !options.splitFolder.empty() ||
       options.score != ScoreKind::AUTO))
    throw common::ToolError("the alignment file format is passed through as it stands: --swap, "
                            "--fragments, --score, --pair and --split do not apply to it");
  if (!options.splitFolder.empty()) common::makeFolder(options.splitFolder);
  Conversion conversion;
  conversion.format = input.format();
  conversion.score = options.score;
  conversion.swap = options.swap;
  BodyStore bodies(bodyFolder(options));
  ConvertSink sink(options, conversion, bodies, input.name());
  ReadSettings settings;
  settings.blocks = options.fragments;
  settings.lines = input.format() == Format::ALIGNMENT_FILE;
  input.read(sink, settings);
  if (options.splitFolder.empty())
    writeSingle(options, sink.pairs(), conversion, bodies, input.name());
  else
    writeSplit(options, sink.pairs(), conversion, bodies, input.name());
}

}  // namespace aliconv
