#include "options.h"

#include <vector>

namespace aliconv {

namespace {

Format formatOption(const std::string &name) {
  Format format = Format::PAF;
  if (!formatFromName(name, format))
    throw UsageError("unknown format '" + name + "' (formats: " + formatNames() + ")");
  return format;
}

}  // namespace

const char *usageText() {
  return "usage: aliconv [-i FORMAT] [-o FILE] [--swap] [--score aligner|matches|length]\n"
         "               [--fragments] [--pair REF,QUERY | --split DIR] INPUT\n"
         "       aliconv --pick REPORT [-i FORMAT] [-o FILE] INPUT\n"
         "Converts aligner output (INPUT, '-' for standard input, plain or gzip) into the\n"
         "alignment file format that alichain reads, or picks the records of INPUT that\n"
         "a chain report lists. FORMAT: paf, sam, bam, cram, blast6, blast7, delta,\n"
         "coords, maf, general, gff (the alignment file format). See man aliconv.\n";
}

Options parseOptions(int argc, char **argv) {
  Options o;
  std::vector<std::string> inputs;
  std::string format;
  bool hasFormat = false, convertOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 == argc) throw UsageError("option " + arg + " needs a value");
      return argv[++i];
    };
    if (arg == "-h" || arg == "--help") {
      o.action = Options::HELP;
      return o;
    }
    if (arg == "--version") {
      o.action = Options::VERSION;
      return o;
    }
    if (arg == "-i") {
      format = value();
      hasFormat = true;
    } else if (arg == "-o") {
      o.convert.output = o.pick.output = value();
    } else if (arg == "--pick") {
      o.action = Options::PICK;
      o.pick.report = value();
    } else if (arg == "--swap") {
      o.convert.swap = convertOnly = true;
    } else if (arg == "--fragments") {
      o.convert.fragments = convertOnly = true;
    } else if (arg == "--score") {
      const std::string kind = value();
      if (!scoreKindFromName(kind, o.convert.score))
        throw UsageError("--score takes aligner, matches or length, not '" + kind + "'");
      convertOnly = true;
    } else if (arg == "--pair") {
      const std::string pair = value();
      const size_t comma = pair.find(',');
      if (comma == std::string::npos || comma == 0 || comma + 1 == pair.size())
        throw UsageError("--pair takes REF,QUERY: two sequence names separated by a comma");
      o.convert.hasPair = convertOnly = true;
      o.convert.pairReference = pair.substr(0, comma);
      o.convert.pairQuery = pair.substr(comma + 1);
    } else if (arg == "--split") {
      o.convert.splitFolder = value();
      if (o.convert.splitFolder.empty()) throw UsageError("--split takes a folder name");
      convertOnly = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.size() != 1) throw UsageError("give one INPUT ('-' for standard input)");
  if (o.convert.hasPair && !o.convert.splitFolder.empty())
    throw UsageError("--pair and --split exclude each other");
  if (!o.convert.splitFolder.empty() && o.convert.output != "-")
    throw UsageError("--split writes into its folder: -o does not apply");
  if (o.action == Options::PICK && convertOnly)
    throw UsageError("--pick takes the conversion's settings from the report: --swap, --score, "
                     "--fragments, --pair and --split do not apply");
  if (o.action == Options::PICK && o.pick.report == "-")
    throw UsageError("--pick reads the report twice: give it as a file, not standard input");
  o.convert.input = o.pick.input = inputs.front();
  if (hasFormat) {
    o.convert.hasFormat = o.pick.hasFormat = true;
    o.convert.format = o.pick.format = formatOption(format);
  }
  return o;
}

}  // namespace aliconv
