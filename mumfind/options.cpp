#include "options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace mumfind {

namespace {

int parseLength(const std::string &text) {
  errno = 0;
  char *end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > INT_MAX)
    throw UsageError("-l needs a whole number from 1 to " + std::to_string(INT_MAX) + ", not '" +
                     text + "'");
  return static_cast<int>(value);
}

void parsePair(const std::string &text, Options &options) {
  size_t comma = text.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == text.size())
    throw UsageError("--pair needs REFERENCE,QUERY (two sequence names), not '" + text + "'");
  options.pairReference = text.substr(0, comma);
  options.pairQuery = text.substr(comma + 1);
}

}  // namespace

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
         "  -h, --help      this text\n";
}

Options parseOptions(int argc, char **argv) {
  Options options;
  std::string files[2];
  int fileCount = 0;
  for (int k = 1; k < argc; k++) {
    std::string arg = argv[k];
    auto value = [&]() -> std::string {
      if (k + 1 >= argc) throw UsageError(arg + " needs a value");
      return argv[++k];
    };
    if (arg == "-h" || arg == "--help") options.help = true;
    else if (arg == "-l") options.minLength = parseLength(value());
    else if (arg == "--mum") options.kind = MatchKind::MUM;
    else if (arg == "--mem") options.kind = MatchKind::MEM;
    else if (arg == "-b") options.bothStrands = true;
    else if (arg == "--table") options.table = true;
    else if (arg == "-o") options.output = value();
    else if (arg == "--pair") parsePair(value(), options);
    else if (arg == "--split") options.splitDir = value();
    else if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg);
    else if (fileCount == 2) throw UsageError("more than two sequence files");
    else files[fileCount++] = arg;
  }
  if (options.help) return options;
  if (fileCount < 2) throw UsageError("needs a reference and a query file");
  if (files[0] == "-" && files[1] == "-") throw UsageError("only one file can be standard input");
  if (!options.splitDir.empty() && (options.table || !options.pairReference.empty() || options.output != "-"))
    throw UsageError("--split writes alignment files of its own: no --table, --pair or -o with it");
  options.reference = files[0];
  options.query = files[1];
  return options;
}

}  // namespace mumfind
