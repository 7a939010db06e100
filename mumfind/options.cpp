#include "options.h"

#include <cstdlib>

#include "command_line.h"
#include "option_values.h"

#include <climits>

namespace mumfind {

namespace {

bool wideIndexAsked() {
  const char *wide = std::getenv("MUMFIND_WIDE_INDEX");
  return wide && *wide && std::string(wide) != "0";
}

// `mumfind index [-t N] REFERENCE.fa -o REFERENCE.idx`: the words after
// "index".
Options parseIndexCommand(const std::vector<std::string> &arguments) {
  using common::Option;
  Options options;
  options.indexOnly = true;
  options.output.clear();
  options.wideIndex = wideIndexAsked();
  const std::vector<std::string> files = common::parseCommandLine(arguments, {
      {'o', nullptr, Option::VALUE, [&](const std::string &v) { options.output = v; }},
      {'t', nullptr, Option::VALUE, [&](const std::string &v) { options.threads = common::threadsOption(v); }},
  });
  if (files.size() != 1) throw UsageError("mumfind index takes one reference file");
  if (options.output.empty()) throw UsageError("mumfind index needs -o FILE for the index");
  options.reference = files[0];
  return options;
}

}  // namespace

const char *usageText() {
  return "usage: mumfind [options] REFERENCE.fa QUERY.fa\n"
         "       mumfind [options] -x REFERENCE.idx [REFERENCE.fa] QUERY.fa\n"
         "       mumfind index [-t N] REFERENCE.fa -o REFERENCE.idx\n"
         "Finds the maximal exact matches between every reference and every query\n"
         "sequence (FASTA or FASTQ, plain or gzip; '-' is standard input).\n"
         "'mumfind index' writes the index of the reference sequences to a file\n"
         "that -x reads instead of indexing them again.\n"
         "  -l N            minimum match length (default 20)\n"
         "  --mum           matches unique in both sequences (default)\n"
         "  --mem           all maximal matches\n"
         "  -b              also matches on the reverse complement of the query\n"
         "  --table         one line per match: reference, query, strand,\n"
         "                  reference start, query start, length\n"
         "  -o FILE         output file (default standard output)\n"
         "  --pair REF,QUERY  only this pair of sequences\n"
         "  --split DIR     one alignment file per pair in DIR, indexed in DIR/pairs.tsv\n"
         "  -x FILE         the reference index that 'mumfind index' wrote; a reference\n"
         "                  file given too must be the one it was built from\n"
         "  -t N            threads building the index and searching the query\n"
         "                  (default 1)\n"
         "  -h, --help      this text\n"
         "  --version       the version\n";
}

Options parseOptions(int argc, char **argv) {
  using common::Option;
  if (argc > 1 && std::string(argv[1]) == "index")
    return parseIndexCommand(std::vector<std::string>(argv + 2, argv + argc));
  Options options;
  const std::vector<std::string> files = common::parseCommandLine(argc, argv, {
      {'l', nullptr, Option::VALUE, [&](const std::string &v) {
         options.minLength = static_cast<int>(common::numberOption("-l", v, 1, INT_MAX));
       }},
      {0, "mum", Option::FLAG, [&](const std::string &) { options.kind = MatchKind::MUM; }},
      {0, "mem", Option::FLAG, [&](const std::string &) { options.kind = MatchKind::MEM; }},
      {'b', nullptr, Option::FLAG, [&](const std::string &) { options.bothStrands = true; }},
      {0, "table", Option::FLAG, [&](const std::string &) { options.table = true; }},
      {'o', nullptr, Option::VALUE, [&](const std::string &v) { options.output = v; }},
      {0, "pair", Option::VALUE, [&](const std::string &v) {
         const common::SequencePair pair = common::pairOption(v);
         options.pairReference = pair.reference;
         options.pairQuery = pair.query;
       }},
      {0, "split", Option::VALUE, [&](const std::string &v) { options.splitDir = v; }},
      {'x', nullptr, Option::VALUE, [&](const std::string &v) { options.indexFile = v; }},
      {'t', nullptr, Option::VALUE, [&](const std::string &v) { options.threads = common::threadsOption(v); }},
  });
  options.wideIndex = wideIndexAsked();
  const bool indexed = !options.indexFile.empty();
  if (files.size() > 2) throw UsageError("more than two sequence files");
  if (files.size() < (indexed ? 1u : 2u))
    throw UsageError(indexed ? "needs a query file" : "needs a reference and a query file");
  options.reference = files.size() == 2 ? files[0] : "";
  options.query = files.back();
  int standardInputs = (options.reference == "-") + (options.query == "-") + (options.indexFile == "-");
  if (standardInputs > 1) throw UsageError("only one file can be standard input");
  if (!options.splitDir.empty() && (options.table || !options.pairReference.empty() || options.output != "-"))
    throw UsageError("--split writes alignment files of its own: no --table, --pair or -o with it");
  return options;
}

}  // namespace mumfind
