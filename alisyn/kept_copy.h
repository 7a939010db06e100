// The second reading of the input: the kept records are copied in the
// input's own format, and their gap-free pieces collected for the chain file.
#ifndef ALISYN_KEPT_COPY_H
#define ALISYN_KEPT_COPY_H

#include "chain_file.h"
#include "record_copy.h"

#include <unordered_map>

namespace alisyn {

class KeptCopy : public aliconv::RecordCopy {
 public:
  // `kept`: sorted record numbers; `pieceOf`: the piece index of each.
  KeptCopy(const std::vector<uint64_t> &kept, const std::unordered_map<uint64_t, uint32_t> &pieceOf,
           aliconv::Format format, common::AtomicOutput &out, Fragments &fragments)
      : RecordCopy(kept, format, out), pieceOf_(pieceOf), fragments_(fragments) {}

  void alignment(aliconv::Alignment &a) override {
    const auto at = pieceOf_.find(a.record);
    if (at != pieceOf_.end()) fragments_[at->second] = a.blocks;
  }

 private:
  const std::unordered_map<uint64_t, uint32_t> &pieceOf_;
  Fragments &fragments_;
};

}  // namespace alisyn

#endif
