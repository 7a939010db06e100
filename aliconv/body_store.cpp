#include "body_store.h"

#include "tool_error.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <utility>

namespace aliconv {

namespace {

// Well below the usual limit of 1024 descriptors a process.
constexpr size_t MOST_OPEN = 64;

}  // namespace

BodyStore::~BodyStore() {
  for (Body &body : bodies_) {
    if (body.file) std::fclose(body.file);
    if (!body.path.empty()) unlink(body.path.c_str());
  }
}

size_t BodyStore::add() {
  std::string pattern = dir_ + "/.aliconv-XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) throw common::ToolError(common::systemFailure("cannot write in", dir_, errno));
  ::close(fd);
  bodies_.push_back(Body{pattern, nullptr, 0});
  return bodies_.size() - 1;
}

void BodyStore::close(Body &body) {
  const bool failed = std::fclose(body.file) != 0;
  body.file = nullptr;
  --open_;
  if (failed) throw common::ToolError(common::systemFailure("cannot write", body.path, errno));
}

void BodyStore::closeLeastRecent() {
  Body *oldest = nullptr;
  for (Body &body : bodies_)
    if (body.file && (!oldest || body.lastUse < oldest->lastUse)) oldest = &body;
  if (oldest) close(*oldest);
}

std::FILE *BodyStore::stream(size_t index) {
  Body &body = bodies_[index];
  body.lastUse = ++clock_;
  if (body.file) return body.file;
  if (open_ == MOST_OPEN) closeLeastRecent();
  body.file = std::fopen(body.path.c_str(), "a");
  if (!body.file) throw common::ToolError(common::systemFailure("cannot write", body.path, errno));
  ++open_;
  return body.file;
}

void BodyStore::moveInto(size_t index, std::FILE *out) {
  Body &body = bodies_[index];
  if (body.file) close(body);
  std::FILE *in = std::fopen(body.path.c_str(), "r");
  if (!in) throw common::ToolError(common::systemFailure("cannot read back", body.path, errno));
  std::vector<char> buffer(1 << 16);
  size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) std::fwrite(buffer.data(), 1, n, out);
  const bool failed = std::ferror(in);
  std::fclose(in);
  unlink(body.path.c_str());
  const std::string path = std::move(body.path);
  body.path.clear();
  if (failed) throw common::ToolError("cannot read back " + path);
}

}  // namespace aliconv
