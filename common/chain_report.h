// The chain reports the chainer writes, read back: standard output holds
// the number of alignments read, the forward report and, when the mirrored
// chain scores higher, the mirrored report; a report file holds one report.
#ifndef COMMON_CHAIN_REPORT_H
#define COMMON_CHAIN_REPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace common {

struct ChainReport {
  std::string commandLine;    // after "##" on the line that names the run
  uint64_t memberCount = 0;   // "Number of used alignments"
  std::string scoreSum;       // "Score sum of these alignments", as written
  // The members' positions among the input's alignment lines, from 1,
  // ascending.
  std::vector<uint64_t> members;
  // The members' own input lines, as copied into the report: one for each
  // member, in the same order.
  std::vector<std::string> memberLines;
  // Whether the chain runs backwards in the second sequence: the second of
  // two reports in one file, or a lone report whose members' second-sequence
  // begins fall while their first-sequence begins rise.
  bool mirrored = false;
};

// Reads every report of path ("-": standard input, gzip allowed); throws
// ToolError naming the file and line where the text is no report (a member
// list that is not ascending, or whose count differs from the number of
// used alignments or of member lines copied), and when the file holds no
// report at all.
std::vector<ChainReport> readChainReports(const std::string &path);

}  // namespace common

#endif
