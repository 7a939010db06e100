// The conversion of an input into alignment files: one file (standard
// output or -o FILE) for an input of one sequence pair or for the pair
// that --pair names, or one file per pair in a folder (--split).
#ifndef ALICONV_CONVERT_H
#define ALICONV_CONVERT_H

#include "conversion.h"

#include <string>

namespace aliconv {

struct ConvertOptions {
  std::string input = "-";
  std::string output = "-";
  std::string splitFolder;  // empty: one output
  bool hasFormat = false;
  Format format = Format::PAF;
  ScoreKind score = ScoreKind::AUTO;
  bool swap = false;
  bool fragments = false;
  bool hasPair = false;
  std::string pairReference, pairQuery;  // as the input names them
};

// Runs the conversion; throws ToolError on bad input or a failed write,
// leaving every existing output as it was.
void convert(const ConvertOptions &options);

}  // namespace aliconv

#endif
