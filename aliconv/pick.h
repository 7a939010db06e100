// The records of an input that a chain report lists as members, written in
// the input's own format with its headers: the chain as a filtered file of
// the aligner's output.
#ifndef ALICONV_PICK_H
#define ALICONV_PICK_H

#include "format.h"

#include <string>

namespace aliconv {

struct PickOptions {
  std::string report;
  std::string input = "-";
  std::string output = "-";
  bool hasFormat = false;
  Format format = Format::PAF;
};

// Throws ToolError when the report is no chain report over aliconv's
// conversion of the input (a member line that the input's record does not
// convert to, a record it does not hold, a member list that numbers the
// records otherwise than the conversion's output does), on bad input and
// failed writes.
void pick(const PickOptions &options);

}  // namespace aliconv

#endif
