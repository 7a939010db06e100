// The command line of alisyn.
#ifndef ALISYN_OPTIONS_H
#define ALISYN_OPTIONS_H

#include "conversion.h"
#include "filter.h"
#include "format.h"
#include "piece.h"

#include <string>

namespace alisyn {

struct Options {
  std::string input;
  std::string prefix = "-";  // "-": the blocks table to standard output, nothing else
  bool hasFormat = false;
  aliconv::Format format = aliconv::Format::PAF;
  aliconv::ScoreKind score = aliconv::ScoreKind::AUTO;
  FilterMode filter = FilterMode::ONE_TO_ONE;
  ChainSettings chains;
  bool chainFileRequired = false;  // --chain: fail when no chain file can be written
  bool quiet = false;              // -q: no summary
  int threads = 1;                 // -t: parsing and chaining on this many threads
};

// The defaults, with the reasons in the man page.
constexpr uint64_t DEFAULT_MAX_OVERLAP = 200;
constexpr uint64_t DEFAULT_MAX_GAP = 50000;

// Throws common::UsageError.
Options parseOptions(int argc, char **argv);
const char *usageText();

}  // namespace alisyn

#endif
