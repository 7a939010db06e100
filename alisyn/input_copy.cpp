#include "input_copy.h"

#include "tool_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace alisyn {

StandardInputCopy::StandardInputCopy() {
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/alisyn-input-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) throw common::ToolError(common::systemFailure("cannot make a copy of standard input in", pattern, errno));
  path_ = name.data();
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    const int error = errno;
    if (got < 0) {
      close(fd);
      throw common::ToolError(common::systemFailure("cannot read", "standard input", error));
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = write(fd, buffer.data() + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) {
        const int writeError = errno;
        close(fd);
        throw common::ToolError(common::systemFailure("cannot copy standard input to", path_, writeError));
      }
      done += put;
    }
  }
  if (close(fd) != 0) throw common::ToolError(common::systemFailure("cannot copy standard input to", path_, errno));
}

StandardInputCopy::~StandardInputCopy() { std::remove(path_.c_str()); }

}  // namespace alisyn
