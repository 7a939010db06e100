// The second reading of the input: the kept records are copied in the
// input's own format, and their gap-free pieces collected for the chain file.
#ifndef ALISYN_KEPT_COPY_H
#define ALISYN_KEPT_COPY_H

#include "chain_file.h"
#include "record_copy.h"


namespace alisyn {

class KeptCopy : public aliconv::RecordCopy {
 public:
  // `kept`: sorted record numbers; `pieces`: the piece index of each.
  // Readers hand records over in rising number, so one cursor finds them.
  KeptCopy(const std::vector<uint64_t> &kept, const std::vector<uint32_t> &pieces, aliconv::Format format,
           common::AtomicOutput &out, Fragments &fragments)
      : RecordCopy(kept, format, out), kept_(kept), pieces_(pieces), fragments_(fragments) {}

  bool wanted(uint64_t record) const override { return chosen(record); }
  void alignment(aliconv::Alignment &a) override {
    while (next_ < kept_.size() && kept_[next_] < a.record) ++next_;
    if (next_ < kept_.size() && kept_[next_] == a.record) fragments_[pieces_[next_]] = a.blocks;
  }

 private:
  const std::vector<uint64_t> &kept_;
  const std::vector<uint32_t> &pieces_;
  Fragments &fragments_;
  size_t next_ = 0;
};

}  // namespace alisyn

#endif
