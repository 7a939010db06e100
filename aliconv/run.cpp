#include "run.h"

#include "options.h"
#include "tool_error.h"

#include <csignal>
#include <cstdio>
#include <new>

namespace aliconv {

int aliconvMain(int argc, char **argv) {
  // A closed pipe is a write error that the output's commit reports.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    const Options options = parseOptions(argc, argv);
    switch (options.action) {
      case Options::HELP: std::fputs(usageText(), stdout); break;
      case Options::VERSION: std::puts("aliconv " LUMOTOOLS_VERSION); break;
      case Options::PICK: pick(options.pick); break;
      case Options::CONVERT: convert(options.convert); break;
    }
    if (std::fflush(stdout) != 0) throw common::ToolError("cannot write standard output");
    return 0;
  } catch (const UsageError &e) {
    std::fprintf(stderr, "aliconv: %s\n%s", e.what(), usageText());
    return 2;
  } catch (const common::ToolError &e) {
    std::fprintf(stderr, "aliconv: %s\n", e.what());
  } catch (const std::bad_alloc &) {
    std::fputs("aliconv: out of memory\n", stderr);
  }
  return 1;
}

}  // namespace aliconv
