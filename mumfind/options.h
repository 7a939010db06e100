// The command line of mumfind.
#ifndef MUMFIND_OPTIONS_H
#define MUMFIND_OPTIONS_H

#include <string>

#include "program.h"

#include "match_finder.h"

namespace mumfind {

struct Options {
  bool indexOnly = false;        // `mumfind index`: write the reference's index to -o
  std::string reference, query;  // the sequence files; reference empty with -x alone
  std::string indexFile;         // -x: the reference index to search
  int minLength = 20;
  MatchKind kind = MatchKind::MUM;
  bool bothStrands = false;      // -b: the query's reverse complement too
  bool table = false;            // --table instead of the alignment file
  std::string output = "-";      // -o
  std::string pairReference, pairQuery;  // --pair REF,QUERY; empty: all pairs
  std::string splitDir;          // --split DIR
  int threads = 1;               // -t: threads building the index and searching the query strands
  // MUMFIND_WIDE_INDEX set (and not "0"): 64-bit index positions whatever
  // the reference length, so that tests run that path on small inputs.
  bool wideIndex = false;
};

using UsageError = common::UsageError;

// Throws UsageError, and common::InfoRequest for --help and --version.
// Reads MUMFIND_WIDE_INDEX from the environment.
Options parseOptions(int argc, char **argv);

const char *usageText();

}  // namespace mumfind

#endif
