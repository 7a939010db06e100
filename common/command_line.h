// The command line of aliconv, aliplot, mumfind and every program added to
// them, parsed as getopt_long parses it:
//   --name=VALUE or --name VALUE, and any unambiguous beginning of a name
//   (--fo for --format);
//   -oVALUE or -o VALUE, -l20; flags bundled (-bl20 is -b -l 20);
//   options and operands in any order; "--" ends the options, so a file
//   named "-x" can follow it; "-" alone is an operand (standard input);
//   -h and --help, and --version, in every program (runProgram answers them).
//
// A program declares its options and what each does, and parses inside
// runProgram, which turns the failures into messages and exit statuses:
//
//   int alisynMain(int argc, char **argv) {
//     return common::runProgram("alisyn", usageText(), [&] {
//       Settings settings;
//       const std::vector<std::string> files = common::parseCommandLine(argc, argv, {
//           {'o', nullptr, common::Option::VALUE, [&](const std::string &v) { settings.output = v; }},
//           {'l', nullptr, common::Option::VALUE, [&](const std::string &v) {
//              settings.length = common::numberOption("-l", v, 1, INT_MAX); }},
//           {0, "pair", common::Option::VALUE, [&](const std::string &v) {
//              settings.pair = common::pairOption(v); }},
//           {0, "swap", common::Option::FLAG, [&](const std::string &) { settings.swap = true; }},
//       });
//       if (files.size() != 2) throw common::UsageError("give two sequence files");
//       run(settings, files);
//     });
//   }
#ifndef COMMON_COMMAND_LINE_H
#define COMMON_COMMAND_LINE_H

#include <functional>
#include <string>
#include <vector>

#include "program.h"

namespace common {

struct Option {
  enum Kind { FLAG, VALUE };
  char shortName;        // the letter of -x; 0 when the option has none
  const char *longName;  // the name of --name, without the dashes; nullptr when none
  Kind kind;
  // Called once for each time the option is given, in command-line order,
  // with its value ("" for a FLAG); throws UsageError for a value it refuses.
  std::function<void(const std::string &value)> apply;
};

// Applies the options of ARGUMENTS (the words after the program's name) and
// returns the operands in their order. Throws UsageError naming the option
// for an unknown or ambiguous option, a missing value or a value given to a
// flag, and InfoRequest for -h, --help and --version (not declared in
// OPTIONS: every program has them).
std::vector<std::string> parseCommandLine(const std::vector<std::string> &arguments,
                                          const std::vector<Option> &options);

// The same for main's arguments (ARGV[0] is the program's name).
std::vector<std::string> parseCommandLine(int argc, char **argv, const std::vector<Option> &options);

}  // namespace common

#endif
