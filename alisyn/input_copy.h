// Standard input copied to a temporary file as it comes (compressed or
// not), so that it can be read twice: once for the alignments, once to
// copy the kept records. The file is removed when the copy goes.
#ifndef ALISYN_INPUT_COPY_H
#define ALISYN_INPUT_COPY_H

#include <string>

namespace alisyn {

class StandardInputCopy {
 public:
  // Throws ToolError when standard input cannot be read or the copy written.
  StandardInputCopy();
  ~StandardInputCopy();
  StandardInputCopy(const StandardInputCopy &) = delete;
  StandardInputCopy &operator=(const StandardInputCopy &) = delete;
  const std::string &path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace alisyn

#endif
