// mumfind's reference set: the library's suffix-array index of every
// sequence of the reference file, built from the sequences or loaded from
// an index file that `mumfind index` saved.
#ifndef MUMFIND_REFERENCE_INDEX_H
#define MUMFIND_REFERENCE_INDEX_H

#include <memory>
#include <string>
#include <vector>

#include "lumo_saindex.h"
#include "sequences.h"

namespace mumfind {

class ReferenceIndex {
 public:
  // Indexes `references` (their codes are copied) with up to `threads`
  // threads, with 64-bit positions when they hold more than 2^31 - 1
  // characters with a separator after each, or when `wide`. Throws
  // ToolError when memory runs out; `shown` names their file in the
  // message.
  ReferenceIndex(const std::vector<Sequence> &references, const std::string &shown, int threads, bool wide);

  // Reads an index file; throws ToolError naming the file and the reason
  // (not an index, another version, damaged or cut).
  static ReferenceIndex load(const std::string &path);

  // Writes the index file through an atomic output.
  void save(const std::string &path) const;

  // Throws ToolError unless the index was built from exactly these
  // sequences (names, lengths and letters, in order).
  void requireBuiltFrom(const std::vector<Sequence> &references, const std::string &indexPath,
                        const std::string &referencePath) const;

  // The references, their codes held by the index.
  std::vector<Sequence> sequences() const;

  const LUMO_SAINDEX *get() const { return index_.get(); }

 private:
  struct Free {
    void operator()(LUMO_SAINDEX *index) const { lumo_saindex_free(index); }
  };
  explicit ReferenceIndex(LUMO_SAINDEX *index) : index_(index) {}
  std::unique_ptr<LUMO_SAINDEX, Free> index_;
};

}  // namespace mumfind

#endif
