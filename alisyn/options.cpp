#include "options.h"

#include "fields.h"
#include "program.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace alisyn {

namespace {

using common::UsageError;

uint64_t countValue(const std::string &option, const std::string &text) {
  uint64_t value = 0;
  if (!aliconv::parseUnsigned(text, value))
    throw UsageError(option + " takes a whole number of bases, not '" + text + "'");
  return value;
}

double scoreValue(const std::string &option, const std::string &text) {
  char *end = nullptr;
  errno = 0;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
    throw UsageError(option + " takes a number, not '" + text + "'");
  return value;
}

// Applies option `name` (one that takesValue) with its value.
void applyValue(Options &o, const std::string &name, const std::string &value) {
  if (name == "-o" || name == "--output") {
    o.prefix = value;
    if (value.empty()) throw UsageError("-o takes a prefix");
  } else if (name == "-i" || name == "--format") {
    o.hasFormat = true;
    if (!aliconv::formatFromName(value, o.format))
      throw UsageError("unknown format '" + value + "' (formats: " + aliconv::formatNames() + ")");
  } else if (name == "--score") {
    if (!aliconv::scoreKindFromName(value, o.score))
      throw UsageError("--score takes aligner, matches or length, not '" + value + "'");
  } else if (name == "--filter") {
    if (!filterModeFromName(value, o.filter))
      throw UsageError("--filter takes one-to-one, reference, query or none, not '" + value + "'");
  } else if (name == "--max-overlap") {
    o.chains.maxOverlap = countValue(name, value);
  } else if (name == "--max-gap") {
    o.chains.maxGap = countValue(name, value);
  } else if (name == "--min-score") {
    o.chains.minScore = scoreValue(name, value);
  } else if (name == "--min-length") {
    o.chains.minLength = countValue(name, value);
  }
}

bool takesValue(const std::string &name) {
  for (const char *n : {"-o", "--output", "-i", "--format", "--score", "--filter", "--max-overlap",
                        "--max-gap", "--min-score", "--min-length"})
    if (name == n) return true;
  return false;
}

}  // namespace

const char *usageText() {
  return "usage: alisyn [-o PREFIX] [-i FORMAT] [--score aligner|matches|length]\n"
         "              [--filter one-to-one|reference|query|none] [--max-overlap N]\n"
         "              [--max-gap N] [--min-score S] [--min-length N] [--chain] INPUT\n"
         "Joins the alignments of INPUT (aligner output in any format aliconv reads; '-'\n"
         "for standard input; plain or gzip) into strand-aware synteny blocks, keeps\n"
         "each region's best blocks, and classes them as syntenic, inverted,\n"
         "translocated or duplicated. Writes PREFIX.blocks.tsv, PREFIX.kept.FORMAT,\n"
         "PREFIX.chain and PREFIX.assign.tsv (-o -: the blocks table to standard\n"
         "output only) and a summary on standard error. See man alisyn.\n";
}

Options parseOptions(int argc, char **argv) {
  Options o;
  o.chains.maxOverlap = DEFAULT_MAX_OVERLAP;
  o.chains.maxGap = DEFAULT_MAX_GAP;
  std::vector<std::string> inputs;
  bool optionsEnd = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (optionsEnd || arg == "-" || arg.empty() || arg[0] != '-') {
      inputs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
    } else if (arg == "-h" || arg == "--help") {
      o.action = Options::HELP;
      return o;
    } else if (arg == "--version") {
      o.action = Options::VERSION;
      return o;
    } else if (arg == "--chain") {
      o.chainFileRequired = true;
    } else {
      // --name=value, --name value, -xVALUE and -x VALUE.
      const size_t equals = arg.find('=');
      const bool isLong = arg.compare(0, 2, "--") == 0;
      std::string name = isLong ? arg.substr(0, equals) : arg.substr(0, 2);
      if (!takesValue(name)) throw UsageError("unknown option " + name);
      std::string value;
      if (isLong && equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (!isLong && arg.size() > 2) {
        value = arg.substr(2);
      } else {
        if (i + 1 == argc) throw UsageError("option " + name + " needs a value");
        value = argv[++i];
      }
      applyValue(o, name, value);
    }
  }
  if (inputs.size() != 1) throw UsageError("give one INPUT ('-' for standard input)");
  o.input = inputs.front();
  return o;
}

}  // namespace alisyn
