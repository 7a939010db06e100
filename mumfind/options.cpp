#include "options.h"

#include "command_line.h"
#include "option_values.h"

#include <climits>

namespace mumfind {

const char *usageText() {
  return "usage: mumfind [options] REFERENCE.fa QUERY.fa\n"
         "Finds the maximal exact matches between every reference and every query\n"
         "sequence (FASTA or FASTQ, plain or gzip; '-' is standard input).\n"
         "  -l N            minimum match length (default 20)\n"
         "  --mum           matches unique in both sequences (default)\n"
         "  --mem           all maximal matches\n"
         "  -b              also matches on the reverse complement of the query\n"
         "  --table         one line per match: reference, query, strand,\n"
         "                  reference start, query start, length\n"
         "  -o FILE         output file (default standard output)\n"
         "  --pair REF,QUERY  only this pair of sequences\n"
         "  --split DIR     one alignment file per pair in DIR, indexed in DIR/pairs.tsv\n"
         "  -h, --help      this text\n"
         "  --version       the version\n";
}

Options parseOptions(int argc, char **argv) {
  using common::Option;
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
  });
  if (files.size() > 2) throw UsageError("more than two sequence files");
  if (files.size() < 2) throw UsageError("needs a reference and a query file");
  if (files[0] == "-" && files[1] == "-") throw UsageError("only one file can be standard input");
  if (!options.splitDir.empty() && (options.table || !options.pairReference.empty() || options.output != "-"))
    throw UsageError("--split writes alignment files of its own: no --table, --pair or -o with it");
  options.reference = files[0];
  options.query = files[1];
  return options;
}

}  // namespace mumfind
