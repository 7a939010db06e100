#include "driver.h"

#include <cstdio>
#include <future>

#include "alignment_file.h"
#include "atomic_output.h"
#include "lumo.h"
#include "match_output.h"
#include "options.h"
#include "pair_split.h"
#include "program.h"
#include "reference_index.h"
#include "strand_search.h"
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

// The file the reference sequences came from: the reference file, or the
// index alone.
const std::string &referenceFile(const Options &o) { return o.reference.empty() ? o.indexFile : o.reference; }

PairPlan planPairs(const Options &o, const std::vector<Sequence> &refs,
                   const std::vector<Sequence> &queries) {
  PairPlan plan;
  if (!o.pairReference.empty()) {
    plan.references.push_back(named(refs, o.pairReference, referenceFile(o)));
    plan.queries.push_back(named(queries, o.pairQuery, o.query));
  } else {
    for (const Sequence &s : refs) plan.references.push_back(&s);
    for (const Sequence &s : queries) plan.queries.push_back(&s);
    size_t pairs = refs.size() * queries.size();
    // An alignment file holds one coordinate plane: several pairs go to
    // files of their own, or one is chosen. A table names the pair on every
    // line.
    if (pairs > 1 && o.splitDir.empty() && !o.table)
      throw common::ToolError(referenceFile(o) + " and " + o.query + " hold " + std::to_string(pairs) +
                              " sequence pairs: choose one with --pair REFERENCE,QUERY or write "
                              "each to a file of its own with --split DIR");
  }
  if (!o.table) {
    refuseUncarriableNames(plan.references, referenceFile(o));
    refuseUncarriableNames(plan.queries, o.query);
  }
  return plan;
}

void writeHeader(std::FILE *out, const Options &o) {
  std::fprintf(out, "# mumfind: %s of at least %d characters, %s\n",
               o.kind == MatchKind::MUM ? "maximal matches unique in both sequences"
                                        : "all maximal matches",
               o.minLength, o.bothStrands ? "both strands of the query" : "forward strand");
  std::fprintf(out, "# reference %s, query %s\n", referenceFile(o).c_str(), o.query.c_str());
}

SearchSettings settingsOf(const Options &o) {
  return {o.kind, o.minLength, o.bothStrands, o.threads};
}

void writeSplit(const ReferenceIndex &index, const PairPlan &plan, const Options &o) {
  common::makeFolder(o.splitDir);
  std::vector<common::PairEntry> entries;
  for (const PairResult &pair : searchPairs(index, plan.references, plan.queries, settingsOf(o))) {
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
  }
  common::writePairIndex(o.splitDir, entries);
}

void writeOne(const ReferenceIndex &index, const PairPlan &plan, const Options &o) {
  std::vector<PairResult> pairs = searchPairs(index, plan.references, plan.queries, settingsOf(o));
  common::AtomicOutput out(o.output);
  if (!o.table) writeHeader(out.stream(), o);
  for (const PairResult &pair : pairs) {
    if (o.table) writeTable(out.stream(), pair);
    else writeAlignments(out.stream(), pair);
  }
  out.commit();
}

std::string shown(const std::string &path) { return path == "-" ? "standard input" : path; }

// The reference index of the run: built from the reference sequences, or
// read from -x (and checked against them when they are given too).
ReferenceIndex makeIndex(const Options &o, const std::vector<Sequence> &refs) {
  if (o.indexFile.empty()) return ReferenceIndex(refs, shown(o.reference), o.threads, o.wideIndex);
  ReferenceIndex index = ReferenceIndex::load(o.indexFile);
  if (!refs.empty()) index.requireBuiltFrom(refs, o.indexFile, o.reference);
  return index;
}

void run(const Options &o) {
  std::vector<Sequence> refs;
  if (!o.reference.empty()) refs = loadSequences(o.reference);
  if (o.indexOnly) {
    makeIndex(o, refs).save(o.output);
    return;
  }
  // With threads to spare, the query file is read while the index is made
  // (which reads the reference codes and touches no sequence array).
  const bool overlap = o.threads > 1;
  std::future<ReferenceIndex> made =
      std::async(overlap ? std::launch::async : std::launch::deferred, [&] { return makeIndex(o, refs); });
  std::vector<Sequence> queries;
  if (overlap) queries = loadSequences(o.query);
  ReferenceIndex index = made.get();
  releaseCodes(refs);  // the index holds them now
  if (!overlap) queries = loadSequences(o.query);
  std::vector<Sequence> references = index.sequences();
  PairPlan plan = planPairs(o, references, queries);
  if (!o.splitDir.empty()) writeSplit(index, plan, o);
  else writeOne(index, plan, o);
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
