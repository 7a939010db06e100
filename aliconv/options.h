// The command line of aliconv.
#ifndef ALICONV_OPTIONS_H
#define ALICONV_OPTIONS_H

#include "convert.h"
#include "pick.h"

#include <string>

#include "program.h"

namespace aliconv {

using UsageError = common::UsageError;

struct Options {
  enum Action { CONVERT, PICK } action = CONVERT;
  ConvertOptions convert;
  PickOptions pick;
};

// Throws UsageError, and common::InfoRequest for --help and --version.
Options parseOptions(int argc, char **argv);
const char *usageText();

}  // namespace aliconv

#endif
