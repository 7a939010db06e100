#include "options.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace mumfind {

namespace {

int parseCount(const std::string &option, const std::string &text, long most) {
  errno = 0;
  char *end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || value < 1 || value > most)
    throw UsageError(option + " needs a whole number from 1 to " + std::to_string(most) + ", not '" +
                     text + "'");
  return static_cast<int>(value);
}

// The most threads -t takes: far more than any machine's cores.
constexpr long MOST_THREADS = 1024;

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
         "       mumfind [options] -x REFERENCE.idx [REFERENCE.fa] QUERY.fa\n"
         "       mumfind index REFERENCE.fa -o REFERENCE.idx\n"
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
         "  -t N            search N query strands at once (default 1)\n"
         "  -h, --help      this text\n";
}

namespace {

// `mumfind index REFERENCE.fa -o REFERENCE.idx`
Options parseIndexCommand(int argc, char **argv) {
  Options options;
  options.indexOnly = true;
  options.output.clear();
  for (int k = 2; k < argc; k++) {
    std::string arg = argv[k];
    if (arg == "-h" || arg == "--help") options.help = true;
    else if (arg == "-o") {
      if (k + 1 >= argc) throw UsageError("-o needs a value");
      options.output = argv[++k];
    } else if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg + " of mumfind index");
    else if (!options.reference.empty()) throw UsageError("mumfind index takes one reference file");
    else options.reference = arg;
  }
  if (options.help) return options;
  if (options.reference.empty()) throw UsageError("mumfind index needs a reference file");
  if (options.output.empty()) throw UsageError("mumfind index needs -o FILE for the index");
  return options;
}

}  // namespace

Options parseOptions(int argc, char **argv) {
  if (argc > 1 && std::string(argv[1]) == "index") return parseIndexCommand(argc, argv);
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
    else if (arg == "-l") options.minLength = parseCount("-l", value(), INT_MAX);
    else if (arg == "-t") options.threads = parseCount("-t", value(), MOST_THREADS);
    else if (arg == "-x") options.indexFile = value();
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
  bool indexed = !options.indexFile.empty();
  if (fileCount < (indexed ? 1 : 2))
    throw UsageError(indexed ? "needs a query file" : "needs a reference and a query file");
  if (indexed && fileCount == 1) files[1] = files[0], files[0].clear();
  int stdinUses = (files[0] == "-") + (files[1] == "-") + (options.indexFile == "-");
  if (stdinUses > 1) throw UsageError("only one file can be standard input");
  if (!options.splitDir.empty() && (options.table || !options.pairReference.empty() || options.output != "-"))
    throw UsageError("--split writes alignment files of its own: no --table, --pair or -o with it");
  options.reference = files[0];
  options.query = files[1];
  return options;
}

}  // namespace mumfind
