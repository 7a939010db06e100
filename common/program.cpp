#include "program.h"

#include "lumotools_version.h"
#include "tool_error.h"

#include <cerrno>
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
    // Text given to stdout itself (the usage text) is small enough for its
    // buffer, so a failure shows at this flush, with its reason in errno.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
      throw ToolError(systemFailure("cannot write", "standard output", errno ? errno : EIO));
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
