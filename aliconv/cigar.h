// The gap-free blocks of an alignment from the strings that describe its
// columns: a CIGAR (SAM, PAF's cg:Z) or a difference string (PAF's cs:Z).
#ifndef ALICONV_CIGAR_H
#define ALICONV_CIGAR_H

#include "alignment.h"
#include "fields.h"

#include <string_view>

namespace aliconv {

// Walks the operations of a CIGAR text: M, = and X align, D and N skip the
// first sequence, I the second; clips and padding take no column.
void walkCigar(std::string_view cigar, BlockWalker &walker, const Place &place);
// Walks a difference string: ":N" and "=SEQ" match, "*xy" a mismatch,
// "+SEQ" bases of the second sequence only, "-SEQ" of the first only,
// "~xxNyy" an intron of N bases in the first.
void walkDifferences(std::string_view cs, BlockWalker &walker, const Place &place);
// Refuses an alignment whose walk did not cover its coordinates exactly.
void checkWalkEnd(const BlockWalker &walker, const Place &place, const char *what);

}  // namespace aliconv

#endif
