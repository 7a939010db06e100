// Writing chosen records of an input back in the input's own format: every
// line outside the records (headers, comments) and every line of a chosen
// record, as the reader hands them over; BLAST's hit counts are rewritten
// to the hits copied; BAM and CRAM get their header and chosen records.
// A sink for a reader run with ReadSettings::lines; a picker that checks
// the records as well derives from it.
#ifndef ALICONV_RECORD_COPY_H
#define ALICONV_RECORD_COPY_H

#include "readers.h"

#include <cstdint>
#include <string>
#include <vector>

struct htsFile;

namespace common {
class AtomicOutput;
}

namespace aliconv {

class RecordCopy : public RecordSink {
 public:
  // `chosen`: the record numbers to copy, sorted; `format`: the input's.
  RecordCopy(const std::vector<uint64_t> &chosen, Format format, common::AtomicOutput &out);
  ~RecordCopy() override;
  RecordCopy(const RecordCopy &) = delete;
  RecordCopy &operator=(const RecordCopy &) = delete;

  void alignment(Alignment &) override {}
  void line(std::string_view text, uint64_t record, LineRole role) override;
  void binaryHeader(const sam_hdr_t *header) override;
  void binaryRecord(const bam1_t *record, uint64_t number) override;
  // Finishes a BAM or CRAM output; throws ToolError naming the system's reason.
  void closeBinary();

 protected:
  bool chosen(uint64_t record) const;
  // The last record line copied (the record the reader hands over next).
  const std::string &recordLine() const { return recordLine_; }

 private:
  const std::vector<uint64_t> &chosen_;
  Format format_;
  common::AtomicOutput &out_;
  uint64_t recordsSeen_ = 0;
  std::string recordLine_;
  htsFile *binary_ = nullptr;
  const sam_hdr_t *header_ = nullptr;
};

}  // namespace aliconv

#endif
