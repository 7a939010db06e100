#include "program.h"

#include "lumotools_version.h"
#include "tool_error.h"

#include <csignal>
#include <cstdio>
#include <new>

namespace common {

namespace {

// Does the work, or answers a request for the usage text or the version.
void workOrAnswer(const char *usage, const std::function<void()> &work) {
  try {
    work();
  } catch (const InfoRequest &request) {
    std::fputs(request.kind == InfoRequest::HELP ? usage : LUMOTOOLS_VERSION "\n", stdout);
  }
}

}  // namespace

int runProgram(const char *name, const char *usage, const std::function<void()> &work) {
  std::signal(SIGPIPE, SIG_IGN);
  try {
    workOrAnswer(usage, work);
    if (std::fflush(stdout) != 0) throw ToolError("cannot write standard output");
    return 0;
  } catch (const UsageError &e) {
    std::fprintf(stderr, "%s: %s\n%s", name, e.what(), usage);
    return 2;
  } catch (const ToolError &e) {
    std::fprintf(stderr, "%s: %s\n", name, e.what());
  } catch (const std::bad_alloc &) {
    std::fprintf(stderr, "%s: out of memory\n", name);
  }
  return 1;
}

}  // namespace common
