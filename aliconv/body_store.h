// The alignment lines of each sequence pair, kept in a file of their own
// until the pair's output is written: its first lines need what only the
// whole input tells (the lengths, when the format states none, and that
// the input holds no other pair). Memory stays independent of the input;
// at most a few bodies are open at a time, however many pairs there are.
#ifndef ALICONV_BODY_STORE_H
#define ALICONV_BODY_STORE_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace aliconv {

class BodyStore {
 public:
  // Bodies are made in folder `dir`.
  explicit BodyStore(std::string dir) : dir_(std::move(dir)) {}
  ~BodyStore();
  BodyStore(const BodyStore &) = delete;
  BodyStore &operator=(const BodyStore &) = delete;

  // A new, empty body; returns its number. Throws ToolError.
  size_t add();
  // The body's stream, positioned at its end. Throws ToolError.
  std::FILE *stream(size_t body);
  // Appends the body to `out` and removes it; throws ToolError when the
  // body cannot be read back.
  void moveInto(size_t body, std::FILE *out);

 private:
  struct Body {
    std::string path;
    std::FILE *file = nullptr;
    uint64_t lastUse = 0;
  };
  void closeLeastRecent();
  void close(Body &body);

  std::string dir_;
  std::vector<Body> bodies_;
  size_t open_ = 0;
  uint64_t clock_ = 0;
};

}  // namespace aliconv

#endif
