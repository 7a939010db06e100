// Identity as the formats state it: a percentage with a few decimals
// (BLAST, show-coords) or a count of identical columns among aligned ones.
#ifndef ALICONV_IDENTITY_H
#define ALICONV_IDENTITY_H

#include "alignment.h"

#include <string_view>

namespace aliconv {

// Sets the identity from a percentage text ("85.77"); false when the text
// is no percentage from 0 to 100.
bool setPercentText(std::string_view percent, Alignment &a);
// Sets the identity same/columns rounded to a percentage with two decimals,
// as show-coords prints it, so that a delta file and its coordinate table
// give the same identity.
void setPercentIdentity(uint64_t same, uint64_t columns, Alignment &a);

}  // namespace aliconv

#endif
