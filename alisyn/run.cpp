#include "run.h"

#include "atomic_output.h"
#include "chains.h"
#include "input_copy.h"
#include "kept_copy.h"
#include "options.h"
#include "parallel.h"
#include "pairs_table.h"
#include "program.h"
#include "summary.h"
#include "tables.h"
#include "tool_error.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>

namespace alisyn {

namespace {

struct Result {
  AlignmentSet set;
  std::vector<Block> blocks;
  Classification classification;
};

Result synteny(aliconv::Input &input, const Options &o) {
  Result r;
  // The outputs' reading copies the kept records only, so this one checks
  // the gap-free blocks of all.
  r.set = readAlignments(input, o.score, o.prefix != "-", o.threads);
  const std::vector<Piece> &pieces = r.set.pieces;
  const ChainList chains = extractChains(pieces, bestChains(pieces, o.chains, o.threads), o.chains);
  r.blocks = filterBlocks(pieces, chains, o.filter, o.chains, r.set.references.names.size(),
                          r.set.queries.names.size());
  sortBlocks(r.blocks, pieces);
  r.classification =
      classify(pieces, r.blocks, r.set.references.names.size(), r.set.queries.names.size(), o.chains.maxOverlap);
  return r;
}

RunFacts factsOf(const Result &r, const std::string &inputName) {
  RunFacts facts;
  facts.inputName = inputName;
  std::set<std::pair<uint32_t, uint32_t>> pairs;
  // Alignments of one pair mostly follow one another: each run of them
  // is looked up once.
  const Piece *last = nullptr;
  for (const Piece &p : r.set.pieces) {
    if (!last || p.reference != last->reference || p.query != last->query) pairs.emplace(p.reference, p.query);
    last = &p;
  }
  facts.pairs = pairs.size();
  for (const Block &b : r.blocks) facts.keptAlignments += b.members.size();
  return facts;
}

// Writes every output of PREFIX; the input is read a second time to copy
// the kept records and collect their gap-free pieces.
void writeOutputs(const Options &o, const std::string &path, const Result &r, RunFacts &facts) {
  std::vector<std::pair<uint64_t, uint32_t>> byRecord;  // record number, piece
  for (const Block &b : r.blocks)
    for (const uint32_t m : b.members) byRecord.emplace_back(r.set.records[m], m);
  std::sort(byRecord.begin(), byRecord.end());
  std::vector<uint64_t> kept;
  std::vector<uint32_t> pieces;
  for (const auto &[record, piece] : byRecord) {
    kept.push_back(record);
    pieces.push_back(piece);
  }
  const aliconv::Format format = r.set.conversion.format;
  common::AtomicOutput blocksOut(o.prefix + ".blocks.tsv");
  common::AtomicOutput keptOut(o.prefix + ".kept." + aliconv::formatName(format));
  common::AtomicOutput assignOut(o.prefix + ".assign.tsv");
  common::AtomicOutput pairsOut(o.prefix + ".pairs.tsv");
  std::unique_ptr<common::AtomicOutput> chainOut;
  // The copy of the kept records (with the chain file, built from their
  // gap-free pieces) and the tables need nothing of each other.
  const auto copyKept = [&] {
    Fragments fragments;
    aliconv::Input again(path, &format);
    KeptCopy copy(kept, pieces, format, keptOut, fragments);
    aliconv::ReadSettings settings;
    settings.blocks = settings.lines = true;
    // With the tables written beside it, the copy has one thread fewer.
    settings.parsingThreads = std::max(0, o.threads - 2);
    again.read(copy, settings);
    copy.closeBinary();
    facts.chainFileNote = chainFileObstacle(r.set, r.blocks, fragments);
    if (!facts.chainFileNote.empty() && o.chainFileRequired)
      throw common::ToolError("no chain file can be written: " + facts.chainFileNote);
    if (facts.chainFileNote.empty()) {
      chainOut = std::make_unique<common::AtomicOutput>(o.prefix + ".chain");
      writeChainFile(chainOut->stream(), r.set, r.blocks, fragments);
    }
  };
  const auto writeTables = [&] {
    writeBlocksTable(blocksOut.stream(), r.set, r.blocks, r.classification.classes);
    writeAssignments(assignOut.stream(), r.set, r.classification.assignments);
    writePairsTable(pairsOut.stream(), r.set, r.blocks, r.classification.classes);
  };
  if (o.threads > 1) {
    common::inParallel(2, [&](int part) { part == 0 ? copyKept() : writeTables(); });
  } else {
    copyKept();
    writeTables();
  }
  blocksOut.commit();
  keptOut.commit();
  assignOut.commit();
  pairsOut.commit();
  if (chainOut) chainOut->commit();
}

void run(const Options &o, const std::string &path, const std::string &inputName) {
  aliconv::Input input(path, o.hasFormat ? &o.format : nullptr);
  const Result r = synteny(input, o);
  RunFacts facts = factsOf(r, inputName);
  if (o.prefix == "-") {
    writeBlocksTable(stdout, r.set, r.blocks, r.classification.classes);
    // The summary follows only a complete table.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
      throw common::ToolError(common::systemFailure("cannot write", "standard output", errno));
  } else {
    writeOutputs(o, path, r, facts);
  }
  if (!o.quiet) writeSummary(stderr, facts, r.set, r.blocks, r.classification.classes);
}

// Runs on a copy of standard input, naming it as such in every message.
void runOnStandardInput(const Options &o) {
  const StandardInputCopy copy;
  try {
    run(o, copy.path(), "standard input");
  } catch (const common::ToolError &e) {
    std::string message = e.what();
    for (size_t at; (at = message.find(copy.path())) != std::string::npos;)
      message.replace(at, copy.path().size(), "standard input");
    throw common::ToolError(message);
  }
}

}  // namespace

int alisynMain(int argc, char **argv) {
  return common::runProgram("alisyn", usageText(), [&] {
    const Options o = parseOptions(argc, argv);
    if (o.input == "-" && o.prefix != "-")
      runOnStandardInput(o);
    else
      run(o, o.input, o.input == "-" ? "standard input" : o.input);
  });
}

}  // namespace alisyn
