#include "driver.h"

#include <cstdio>

#include "alignment_file.h"
#include "atomic_output.h"
#include "lumo.h"
#include "match_output.h"
#include "options.h"
#include "pair_split.h"
#include "program.h"
#include "tool_error.h"

namespace mumfind {

namespace {

// The pairs a run writes: `references` x `queries`, or the one --pair names.
struct PairPlan {
  std::vector<const Sequence *> references, queries;
};

const Sequence *named(const std::vector<Sequence> &sequences, const std::string &name,
                      const std::string &file) {
  for (const Sequence &s : sequences)
    if (s.name == name) return &s;
  throw common::ToolError(file + ": no sequence named '" + name + "'");
}

// An alignment file names each sequence by a word the chainer must read
// back; a table takes any name.
void refuseUncarriableNames(const std::vector<const Sequence *> &sequences,
                            const std::string &file) {
  for (const Sequence *s : sequences)
    if (!common::carriableName(s->name))
      throw common::ToolError(file + ": the name '" + s->name + "' of sequence " +
                              std::to_string(s->number) +
                              " cannot be written to an alignment file (" +
                              common::UNCARRIABLE_NAME + "): write a --table");
}

PairPlan planPairs(const Options &o, const std::vector<Sequence> &refs,
                   const std::vector<Sequence> &queries) {
  PairPlan plan;
  if (!o.pairReference.empty()) {
    plan.references.push_back(named(refs, o.pairReference, o.reference));
    plan.queries.push_back(named(queries, o.pairQuery, o.query));
  } else {
    for (const Sequence &s : refs) plan.references.push_back(&s);
    for (const Sequence &s : queries) plan.queries.push_back(&s);
    size_t pairs = refs.size() * queries.size();
    // An alignment file holds one coordinate plane: several pairs go to
    // files of their own, or one is chosen. A table names the pair on every
    // line.
    if (pairs > 1 && o.splitDir.empty() && !o.table)
      throw common::ToolError(o.reference + " and " + o.query + " hold " + std::to_string(pairs) +
                              " sequence pairs: choose one with --pair REFERENCE,QUERY or write "
                              "each to a file of its own with --split DIR");
  }
  if (!o.table) {
    refuseUncarriableNames(plan.references, o.reference);
    refuseUncarriableNames(plan.queries, o.query);
  }
  return plan;
}

// Matches of one strand in output coordinates: a match of the reverse
// complement at position q covers forward positions length - q - len to
// length - q - 1 (from 0).
void addMatches(const std::vector<Match> &found, char strand, int queryLength,
                std::vector<PairMatch> &out) {
  for (const Match &m : found) {
    int64_t begin = strand == '+' ? m.query : queryLength - m.query - m.length;
    out.push_back({m.ref + 1, begin + 1, m.length, strand});
  }
}

PairResult findPair(ReferenceIndex &index, const Sequence &ref, const Sequence &query,
                    const Options &o) {
  PairResult result{&ref, &query, {}};
  addMatches(index.find(query.codes, query.length, o.kind, o.minLength), '+', query.length,
             result.matches);
  if (o.bothStrands) {
    reverseComplement(query.codes, query.length);
    std::vector<Match> minus = index.find(query.codes, query.length, o.kind, o.minLength);
    reverseComplement(query.codes, query.length);
    addMatches(minus, '-', query.length, result.matches);
  }
  return result;
}

void writeHeader(std::FILE *out, const Options &o) {
  std::fprintf(out, "# mumfind: %s of at least %d characters, %s\n",
               o.kind == MatchKind::MUM ? "maximal matches unique in both sequences"
                                        : "all maximal matches",
               o.minLength, o.bothStrands ? "both strands of the query" : "forward strand");
  std::fprintf(out, "# reference %s, query %s\n", o.reference.c_str(), o.query.c_str());
}

// Builds each reference's tree once and runs every query against it; hands
// each pair's result to `take` in reference, then query order.
template <typename Take>
void runPairs(const PairPlan &plan, const Options &o, Take take) {
  for (const Sequence *ref : plan.references) {
    ReferenceIndex index(ref->codes, ref->length);
    for (const Sequence *query : plan.queries) take(findPair(index, *ref, *query, o));
  }
}

void writeSplit(const PairPlan &plan, const Options &o) {
  common::makeFolder(o.splitDir);
  std::vector<common::PairEntry> entries;
  runPairs(plan, o, [&](const PairResult &pair) {
    common::PairEntry entry;
    entry.file = common::pairFileName(pair.reference->name, pair.query->name);
    common::AtomicOutput out(o.splitDir + "/" + entry.file);
    writeHeader(out.stream(), o);
    writeAlignments(out.stream(), pair);
    out.commit();
    entry.reference = pair.reference->name;
    entry.query = pair.query->name;
    entry.referenceLength = uint64_t(pair.reference->length);
    entry.queryLength = uint64_t(pair.query->length);
    entry.alignments = pair.matches.size();
    entry.minusAlignments = pair.minusCount();
    entries.push_back(entry);
  });
  common::writePairIndex(o.splitDir, entries);
}

void writeOne(const PairPlan &plan, const Options &o) {
  common::AtomicOutput out(o.output);
  if (!o.table) writeHeader(out.stream(), o);
  runPairs(plan, o, [&](const PairResult &pair) {
    if (o.table) writeTable(out.stream(), pair);
    else writeAlignments(out.stream(), pair);
  });
  out.commit();
}

void run(const Options &o) {
  std::vector<Sequence> refs = loadSequences(o.reference);
  std::vector<Sequence> queries = loadSequences(o.query);
  PairPlan plan = planPairs(o, refs, queries);
  if (!o.splitDir.empty()) writeSplit(plan, o);
  else writeOne(plan, o);
}

// Releases the sequence array however the run ends.
struct SequenceArray {
  SequenceArray() { create_seq_array(); }
  ~SequenceArray() { free_seq_ary(); }
};

}  // namespace

int mumfindMain(int argc, char **argv) {
  return common::runProgram("mumfind", usageText(), [&] {
    const Options options = parseOptions(argc, argv);
    SequenceArray array;
    run(options);
  });
}

}  // namespace mumfind
