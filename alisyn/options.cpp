#include "options.h"

#include "command_line.h"
#include "option_values.h"
#include "program.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace alisyn {

namespace {

using common::UsageError;

uint64_t countOption(const std::string &option, const std::string &text) {
  return static_cast<uint64_t>(common::numberOption(option, text, 0, INT64_MAX, "a whole number of bases"));
}

double scoreOption(const std::string &option, const std::string &text) {
  char *end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
    throw UsageError(option + " takes a number, not '" + text + "'");
  return value;
}

FilterMode filterOption(const std::string &name) {
  FilterMode mode = FilterMode::ONE_TO_ONE;
  if (!filterModeFromName(name, mode))
    throw UsageError("--filter takes one-to-one, reference, query or none, not '" + name + "'");
  return mode;
}

}  // namespace

const char *usageText() {
  return "usage: alisyn [-o PREFIX] [-i FORMAT] [--score aligner|matches|length]\n"
         "              [--filter one-to-one|reference|query|none] [--max-overlap N]\n"
         "              [--max-gap N] [--min-score S] [--min-length N] [--chain] [-q]\n"
         "              [-t THREADS] INPUT\n"
         "       alisyn -h | --help | --version\n"
         "Joins the alignments of INPUT (aligner output in any format aliconv reads; '-'\n"
         "for standard input; plain or gzip) into strand-aware synteny blocks, keeps\n"
         "each region's best blocks, and classes them as syntenic, inverted,\n"
         "translocated or duplicated. Writes PREFIX.blocks.tsv, PREFIX.kept.FORMAT,\n"
         "PREFIX.chain, PREFIX.assign.tsv and PREFIX.pairs.tsv (-o -: the blocks table\n"
         "to standard output only) and a summary on standard error (-q: none). See man\n"
         "alisyn.\n";
}

Options parseOptions(int argc, char **argv) {
  using common::Option;
  Options o;
  o.chains.maxOverlap = DEFAULT_MAX_OVERLAP;
  o.chains.maxGap = DEFAULT_MAX_GAP;
  const std::vector<std::string> inputs = common::parseCommandLine(argc, argv, {
      {'o', nullptr, Option::VALUE, [&](const std::string &v) {
         if (v.empty()) throw UsageError("-o takes a prefix");
         o.prefix = v;
       }},
      {'i', nullptr, Option::VALUE, [&](const std::string &v) {
         o.format = aliconv::formatOption(v);
         o.hasFormat = true;
       }},
      {'q', "quiet", Option::FLAG, [&](const std::string &) { o.quiet = true; }},
      {'t', nullptr, Option::VALUE, [&](const std::string &v) { o.threads = common::threadsOption(v); }},
      {0, "score", Option::VALUE, [&](const std::string &v) { o.score = aliconv::scoreKindOption(v); }},
      {0, "filter", Option::VALUE, [&](const std::string &v) { o.filter = filterOption(v); }},
      {0, "max-overlap", Option::VALUE,
       [&](const std::string &v) { o.chains.maxOverlap = countOption("--max-overlap", v); }},
      {0, "max-gap", Option::VALUE, [&](const std::string &v) { o.chains.maxGap = countOption("--max-gap", v); }},
      {0, "min-score", Option::VALUE,
       [&](const std::string &v) { o.chains.minScore = scoreOption("--min-score", v); }},
      {0, "min-length", Option::VALUE,
       [&](const std::string &v) { o.chains.minLength = countOption("--min-length", v); }},
      {0, "chain", Option::FLAG, [&](const std::string &) { o.chainFileRequired = true; }},
  });
  if (inputs.size() != 1) throw UsageError("give one INPUT ('-' for standard input)");
  if (o.prefix == "-" && o.chainFileRequired) throw UsageError("--chain writes PREFIX.chain: give -o PREFIX");
  o.input = inputs.front();
  return o;
}

}  // namespace alisyn
