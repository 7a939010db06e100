#include "reference_index.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "atomic_output.h"
#include "tool_error.h"

namespace mumfind {

namespace {

struct Columns {
  std::vector<const char *> names, texts;
  std::vector<int64_t> lengths;
  explicit Columns(const std::vector<Sequence> &sequences) {
    for (const Sequence &s : sequences) {
      names.push_back(s.name.c_str());
      texts.push_back(s.codes);
      lengths.push_back(s.length);
    }
  }
};

std::string shownPath(const std::string &path) { return path == "-" ? "standard input" : path; }

}  // namespace

ReferenceIndex::ReferenceIndex(const std::vector<Sequence> &references, const std::string &shown, int threads,
                               bool wide) {
  Columns c(references);
  index_.reset(lumo_saindex_build_parallel(int(references.size()), c.names.data(), c.texts.data(),
                                           c.lengths.data(), threads, wide ? LUMO_SAINDEX_WIDE : 0));
  if (!index_) throw common::ToolError(shown + ": cannot be indexed (out of memory, or a name longer than 1 MiB)");
}

ReferenceIndex ReferenceIndex::load(const std::string &path) {
  std::FILE *in = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
  if (!in) throw common::ToolError(path + ": " + std::strerror(errno));
  char *message = nullptr;
  LUMO_SAINDEX *index = lumo_saindex_load(in, &message);
  if (in != stdin) std::fclose(in);
  std::string reason = message ? message : "cannot be read";
  std::free(message);
  if (!index) throw common::ToolError(shownPath(path) + ": " + reason);
  return ReferenceIndex(index);
}

void ReferenceIndex::save(const std::string &path) const {
  common::AtomicOutput out(path);
  // A failed write shows in commit, which names the reason.
  lumo_saindex_save(index_.get(), out.stream());
  out.commit();
}

void ReferenceIndex::requireBuiltFrom(const std::vector<Sequence> &references,
                                      const std::string &indexPath,
                                      const std::string &referencePath) const {
  Columns c(references);
  if (!lumo_saindex_built_from(index_.get(), int(references.size()), c.names.data(), c.texts.data(),
                               c.lengths.data()))
    throw common::ToolError(shownPath(indexPath) + ": the index was not built from the sequences of " +
                            shownPath(referencePath) + " (names, lengths or letters differ)");
}

std::vector<Sequence> ReferenceIndex::sequences() const {
  std::vector<Sequence> out;
  const char *text = lumo_saindex_text(index_.get());
  int64_t at = 0;
  for (int i = 0; i < lumo_saindex_count(index_.get()); i++) {
    int length = int(lumo_saindex_length(index_.get(), i));
    out.push_back({lumo_saindex_name(index_.get(), i), text + at, length, i + 1, 0});
    at += length + 1;
  }
  return out;
}

}  // namespace mumfind
