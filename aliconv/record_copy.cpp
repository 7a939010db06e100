#include "record_copy.h"

#include "atomic_output.h"
#include "tool_error.h"

#include <htslib/hfile.h>
#include <htslib/sam.h>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace aliconv {

namespace {

// A failed write through htslib: its file layer writes with the system's
// calls, which leave their reason in errno (cleared before each call).
[[noreturn]] void binaryWriteFailure(const std::string &name) {
  if (errno) throw common::ToolError(common::systemFailure("cannot write", name, errno));
  throw common::ToolError("cannot write " + name);
}

}  // namespace

RecordCopy::RecordCopy(const std::vector<uint64_t> &chosen, Format format, common::AtomicOutput &out)
    : chosen_(chosen), format_(format), out_(out) {}

RecordCopy::~RecordCopy() {
  if (binary_) sam_close(binary_);
}

bool RecordCopy::chosen(uint64_t record) const {
  return std::binary_search(chosen_.begin(), chosen_.end(), record);
}

void RecordCopy::line(std::string_view text, uint64_t record, LineRole role) {
  if (role == LineRole::HIT_COUNT) {
    // The hits of this count are the next `record` records.
    const auto first = std::upper_bound(chosen_.begin(), chosen_.end(), recordsSeen_);
    const auto last = std::upper_bound(chosen_.begin(), chosen_.end(), recordsSeen_ + record);
    std::fprintf(out_.stream(), "# %llu hits found\n", static_cast<unsigned long long>(last - first));
    return;
  }
  recordsSeen_ = std::max(recordsSeen_, record);
  if (role == LineRole::RECORD && !chosen(record)) return;
  if (role == LineRole::RECORD) recordLine_.assign(text);
  std::fwrite(text.data(), 1, text.size(), out_.stream());
  std::fputc('\n', out_.stream());
}

void RecordCopy::binaryHeader(const sam_hdr_t *header) {
  std::fflush(out_.stream());
  errno = 0;
  hFILE *file = hdopen(dup(out_.descriptor()), "w");
  binary_ = file ? hts_hopen(file, out_.name().c_str(), format_ == Format::BAM ? "wb" : "wc") : nullptr;
  if (!binary_) binaryWriteFailure(out_.name());
  // Without a reference at hand the records are stored whole.
  if (format_ == Format::CRAM) hts_set_opt(binary_, CRAM_OPT_NO_REF, 1);
  errno = 0;
  if (sam_hdr_write(binary_, header) < 0) binaryWriteFailure(out_.name());
  header_ = header;
}

void RecordCopy::binaryRecord(const bam1_t *record, uint64_t number) {
  if (!chosen(number)) return;
  errno = 0;
  if (sam_write1(binary_, header_, record) < 0) binaryWriteFailure(out_.name());
}

void RecordCopy::closeBinary() {
  if (!binary_) return;
  errno = 0;
  const int status = sam_close(binary_);
  binary_ = nullptr;
  if (status < 0) binaryWriteFailure(out_.name());
}

}  // namespace aliconv
