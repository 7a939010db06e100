// Option values that several programs take, each read in one place so that
// every program accepts the same spellings and names a bad value alike.
#ifndef COMMON_OPTION_VALUES_H
#define COMMON_OPTION_VALUES_H

#include <cstdint>
#include <string>

namespace common {

// TEXT as a whole decimal number from LEAST to MOST; otherwise throws
// UsageError "OPTION needs WHAT from LEAST to MOST, not 'TEXT'" (signs other
// than a leading '-', blanks and values beyond 64 bits are refused).
int64_t numberOption(const std::string &option, const std::string &text, int64_t least,
                     int64_t most, const std::string &what = "a whole number");

// The value of -t N, threads to use: 1 to 1024 (far more than any
// machine's cores); otherwise throws UsageError naming -t.
int threadsOption(const std::string &text);

// The sequence pair of "--pair REF,QUERY": the reference's and the query's
// names as the input names them, split at the first comma.
struct SequencePair {
  std::string reference, query;
};

// Throws UsageError naming --pair when TEXT holds no comma or either name
// is empty.
SequencePair pairOption(const std::string &text);

}  // namespace common

#endif
