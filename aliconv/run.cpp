#include "run.h"

#include "options.h"
#include "program.h"

namespace aliconv {

int aliconvMain(int argc, char **argv) {
  return common::runProgram("aliconv", usageText(), [&] {
    const Options options = parseOptions(argc, argv);
    switch (options.action) {
      case Options::PICK: pick(options.pick); break;
      case Options::CONVERT: convert(options.convert); break;
    }
  });
}

}  // namespace aliconv
