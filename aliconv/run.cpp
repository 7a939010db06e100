#include "run.h"

#include "options.h"
#include "program.h"

#include <cstdio>

namespace aliconv {

int aliconvMain(int argc, char **argv) {
  return common::runProgram("aliconv", usageText(), [&] {
    const Options options = parseOptions(argc, argv);
    switch (options.action) {
      case Options::HELP: std::fputs(usageText(), stdout); break;
      case Options::VERSION: std::puts("aliconv " LUMOTOOLS_VERSION); break;
      case Options::PICK: pick(options.pick); break;
      case Options::CONVERT: convert(options.convert); break;
    }
  });
}

}  // namespace aliconv
