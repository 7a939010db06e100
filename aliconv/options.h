// The command line of aliconv.
#ifndef ALICONV_OPTIONS_H
#define ALICONV_OPTIONS_H

#include "convert.h"
#include "pick.h"

#include <stdexcept>
#include <string>

namespace aliconv {

// A command line that cannot be run: what() says why.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  enum Action { CONVERT, PICK, HELP, VERSION } action = CONVERT;
  ConvertOptions convert;
  PickOptions pick;
};

// Throws UsageError.
Options parseOptions(int argc, char **argv);
const char *usageText();

}  // namespace aliconv

#endif
