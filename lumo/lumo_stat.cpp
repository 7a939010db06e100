// The occurrence-to-expectation ratio of a word.
#include <cmath>

#include "lumo.h"

extern "C" float calc_occexpratio(int len, int occ, float gccon, int cgcount, int radius) {
  // The types and the order of the operations below fix the result to the
  // bit: double-precision powers and products, the expectation rounded to
  // single precision before a single-precision division. The integer
  // products and differences are taken in 64 bits so that they cannot
  // overflow; wherever they fit in 32 bits the values are the same.
  const auto places = static_cast<double>(4LL * radius);
  const auto other_letters = static_cast<double>(static_cast<long long>(len) - cgcount);
  const double at_rest = std::pow(0.5 - static_cast<double>(gccon), other_letters);
  const double at_cg = std::pow(static_cast<double>(gccon), static_cast<double>(cgcount));
  const auto expval = static_cast<float>((at_cg * at_rest) * places);
  return static_cast<float>(occ) / expval;
}
