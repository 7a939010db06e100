// How an alignment becomes an alignment line: which score it carries and
// whether the sequences are exchanged. The converter and the picker share
// it, so that a picked record is checked against exactly the line its
// conversion wrote.
#ifndef ALICONV_CONVERSION_H
#define ALICONV_CONVERSION_H

#include "alignment.h"
#include "alignment_file.h"
#include "fields.h"
#include "format.h"

#include <string>
#include <string_view>

namespace aliconv {

// ALIGNER: the aligner's own score; MATCHES: the first sequence's aligned
// bases times the identity; LENGTH: those bases. AUTO becomes the first of
// these that the input's first alignment has.
enum class ScoreKind { AUTO, ALIGNER, MATCHES, LENGTH };

const char *scoreKindName(ScoreKind kind);
bool scoreKindFromName(std::string_view name, ScoreKind &kind);
// The score kind named by --score's value (not AUTO); throws
// common::UsageError for another name.
ScoreKind scoreKindOption(const std::string &name);

struct Conversion {
  Format format = Format::PAF;
  ScoreKind score = ScoreKind::AUTO;
  bool swap = false;
};

// The source field of every line aliconv writes: the same alignment read
// from any format gives the same line.
constexpr const char *SOURCE = "aliconv";

// Refuses at `place` an alignment whose sequence names an alignment file
// cannot carry.
void checkNames(const Alignment &a, const Place &place);
// Resolves AUTO from the first alignment.
void settleScore(Conversion &conversion, const Alignment &first);
// The alignment line of `a`: names and coordinates after the exchange, the
// score of the conversion's kind (refused at `place` when the record lacks
// it), and "record N". A line that the chainer would not read back (a
// coordinate or score beyond its range) is refused at `place`.
common::AlignmentRecord alignmentLine(const Alignment &a, const Conversion &conversion,
                                      const Place &place);
// The alignment line of `a` without its name and attributes: what a program
// that ranks alignments as aliconv does needs, refused alike.
common::AlignmentRecord alignmentScoreLine(const Alignment &a, const Conversion &conversion,
                                           const Place &place);
// The fragment line of block `index` (from 0) of `a`, scored by its length.
common::AlignmentRecord fragmentLine(const Alignment &a, size_t index, const Conversion &conversion);

// The comment that records a conversion ("aliconv conversion: format=paf
// score=aligner swap=no"), and its reading back; false for another comment.
std::string conversionComment(const Conversion &conversion);
bool readConversionComment(std::string_view text, Conversion &conversion);

// The record number that an alignment line's attributes give, or 0.
uint64_t recordOfLine(std::string_view line);

}  // namespace aliconv

#endif
