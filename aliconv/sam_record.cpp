#include "sam_record.h"

#include "cigar.h"

#include <htslib/hts_log.h>

#include <cstring>

namespace aliconv {

namespace {

// The read's length, its clipped bases before the alignment, and the read
// bases that the alignment covers.
struct ReadSpan {
  uint64_t length = 0, before = 0, aligned = 0;
};

ReadSpan readSpan(const uint32_t *cigar, uint32_t operations) {
  ReadSpan span;
  bool leading = true;
  for (uint32_t i = 0; i < operations; ++i) {
    const int op = bam_cigar_op(cigar[i]);
    const uint64_t n = bam_cigar_oplen(cigar[i]);
    const bool clip = op == BAM_CSOFT_CLIP || op == BAM_CHARD_CLIP;
    if (clip || (bam_cigar_type(op) & 1)) span.length += n;
    if (clip && leading) span.before += n;
    if (!clip) leading = false;
    if (!clip && (bam_cigar_type(op) & 1)) span.aligned += n;
  }
  return span;
}

void walkBinaryCigar(const uint32_t *cigar, uint32_t operations, BlockWalker &walker) {
  for (uint32_t i = 0; i < operations; ++i) {
    const int op = bam_cigar_op(cigar[i]);
    const uint64_t n = bam_cigar_oplen(cigar[i]);
    const int type = bam_cigar_type(op);  // 1: takes read bases, 2: reference bases
    if (type == 3)
      walker.aligned(n);
    else if (type == 2)
      walker.xOnly(n);
    else if (type == 1 && op != BAM_CSOFT_CLIP)
      walker.yOnly(n);
  }
}

// Alignment columns (M, I, D, =, X) for the identity that NM:i implies.
uint64_t columns(const uint32_t *cigar, uint32_t operations) {
  uint64_t total = 0;
  for (uint32_t i = 0; i < operations; ++i) {
    const int op = bam_cigar_op(cigar[i]);
    if (op == BAM_CMATCH || op == BAM_CINS || op == BAM_CDEL || op == BAM_CEQUAL || op == BAM_CDIFF)
      total += bam_cigar_oplen(cigar[i]);
  }
  return total;
}

// The value of an integer tag; false when the record has none. A value of
// another type is refused rather than read as 0.
bool integerTag(const bam1_t *record, const char *tag, const Place &place, int64_t &value) {
  const uint8_t *data = bam_aux_get(record, tag);
  if (!data) return false;
  if (std::strchr("cCsSiI", *data) == nullptr)
    place.fail(std::string("the ") + tag + " tag is not an integer");
  value = bam_aux2i(data);
  return true;
}

}  // namespace

void quietHtslib() { hts_set_log_level(HTS_LOG_OFF); }

bool samAlignment(const bam1_t *record, const sam_hdr_t *header, const Place &place, bool blocks,
                  Alignment &a, std::string &scoreText) {
  const bam1_core_t &core = record->core;
  if ((core.flag & BAM_FUNMAP) || core.tid < 0 || core.n_cigar == 0) return false;
  const uint32_t *cigar = bam_get_cigar(record);
  const ReadSpan span = readSpan(cigar, core.n_cigar);
  const auto referenceEnd = static_cast<uint64_t>(bam_endpos(record));
  if (span.aligned == 0 || referenceEnd <= static_cast<uint64_t>(core.pos))
    place.fail("the CIGAR aligns no base of the read or of the reference");
  a.xName = sam_hdr_tid2name(header, core.tid);
  a.xLength = sam_hdr_tid2len(header, core.tid);
  if (a.xLength == 0)
    place.fail("the @SQ header line of " + std::string(a.xName) + " gives no length");
  a.xb = static_cast<uint64_t>(core.pos) + 1;
  a.xe = referenceEnd;
  if (a.xe > a.xLength)
    place.fail("the alignment runs past the reference's length " + std::to_string(a.xLength));
  a.yName = bam_get_qname(record);
  a.yLength = span.length;
  a.strand = (core.flag & BAM_FREVERSE) ? '-' : '+';
  // The CIGAR counts a reverse read from its reverse complement's start.
  a.yb = a.strand == '-' ? span.length - span.before - span.aligned + 1 : span.before + 1;
  a.ye = a.yb + span.aligned - 1;
  scoreText.clear();
  int64_t score = 0, differences = 0;
  if (integerTag(record, "AS", place, score)) scoreText = std::to_string(score);
  a.alignerScore = scoreText;
  a.identityNumerator = a.identityDenominator = 0;
  if (integerTag(record, "NM", place, differences)) {
    a.identityDenominator = columns(cigar, core.n_cigar);
    if (differences < 0 || static_cast<uint64_t>(differences) > a.identityDenominator)
      place.fail("the NM:i tag exceeds the alignment's columns");
    a.identityNumerator = a.identityDenominator - static_cast<uint64_t>(differences);
  }
  a.blocks.clear();
  if (blocks) {
    BlockWalker walker(a.blocks, a);
    walkBinaryCigar(cigar, core.n_cigar, walker);
  }
  return true;
}

}  // namespace aliconv
