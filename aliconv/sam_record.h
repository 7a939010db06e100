// A SAM, BAM or CRAM record as an alignment: the reference is the first
// sequence, the read the second. POS counts from 1 in SAM text and from 0
// in htslib's record; the CIGAR runs along the reference's forward strand
// with a reverse-strand read reverse-complemented, its clips included in
// the read's length.
#ifndef ALICONV_SAM_RECORD_H
#define ALICONV_SAM_RECORD_H

#include "alignment.h"
#include "fields.h"

#include <htslib/sam.h>

#include <string>

namespace aliconv {

// Fills `a` from the record; false for a record that aligns nothing
// (unmapped, or without reference or CIGAR). `scoreText` keeps the AS:i
// value that a.alignerScore refers to.
bool samAlignment(const bam1_t *record, const sam_hdr_t *header, const Place &place, bool blocks,
                  Alignment &a, std::string &scoreText);

// Silences htslib's own messages: every failure is reported by aliconv,
// with the file and the line or record.
void quietHtslib();

}  // namespace aliconv

#endif
