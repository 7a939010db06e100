#include "options.h"

#include "command_line.h"
#include "option_values.h"

#include <vector>

namespace aliconv {

namespace {

void pairOption(const std::string &text, ConvertOptions &options) {
  const common::SequencePair pair = common::pairOption(text);
  options.hasPair = true;
  options.pairReference = pair.reference;
  options.pairQuery = pair.query;
}

std::string splitOption(const std::string &folder) {
  if (folder.empty()) throw UsageError("--split takes a folder name");
  return folder;
}

}  // namespace

const char *usageText() {
  return "usage: aliconv [-i FORMAT] [-o FILE] [--swap] [--score aligner|matches|length]\n"
         "               [--fragments] [--pair REF,QUERY | --split DIR] INPUT\n"
         "       aliconv --pick REPORT [-i FORMAT] [-o FILE] INPUT\n"
         "       aliconv -h | --help | --version\n"
         "Converts aligner output (INPUT, '-' for standard input, plain or gzip) into the\n"
         "alignment file format that alichain reads, or picks the records of INPUT that\n"
         "a chain report lists. FORMAT: paf, sam, bam, cram, blast6, blast7, delta,\n"
         "coords, maf, general, gff (the alignment file format). See man aliconv.\n";
}

Options parseOptions(int argc, char **argv) {
  using common::Option;
  Options o;
  ConvertOptions &c = o.convert;
  bool convertOnly = false;  // an option that --pick refuses was given
  const std::vector<std::string> inputs = common::parseCommandLine(argc, argv, {
      {'i', nullptr, Option::VALUE, [&](const std::string &v) {
         c.format = o.pick.format = formatOption(v);
         c.hasFormat = o.pick.hasFormat = true;
       }},
      {'o', nullptr, Option::VALUE, [&](const std::string &v) { c.output = o.pick.output = v; }},
      {0, "pick", Option::VALUE, [&](const std::string &v) {
         o.action = Options::PICK;
         o.pick.report = v;
       }},
      {0, "swap", Option::FLAG, [&](const std::string &) { c.swap = convertOnly = true; }},
      {0, "fragments", Option::FLAG, [&](const std::string &) { c.fragments = convertOnly = true; }},
      {0, "score", Option::VALUE, [&](const std::string &v) {
         c.score = scoreKindOption(v);
         convertOnly = true;
       }},
      {0, "pair", Option::VALUE, [&](const std::string &v) {
         pairOption(v, c);
         convertOnly = true;
       }},
      {0, "split", Option::VALUE, [&](const std::string &v) {
         c.splitFolder = splitOption(v);
         convertOnly = true;
       }},
  });
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
  return o;
}

}  // namespace aliconv
