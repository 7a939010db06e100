#include "identity.h"

#include "fields.h"

#include <cstdio>

namespace aliconv {

bool setPercentText(std::string_view percent, Alignment &a) {
  uint64_t numerator = 0, scale = 0;
  if (!decimalFraction(percent, numerator, scale) || numerator > 100 * scale) return false;
  a.identityNumerator = numerator;
  a.identityDenominator = 100 * scale;
  return true;
}

void setPercentIdentity(uint64_t same, uint64_t columns, Alignment &a) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f",
                columns ? 100.0 * static_cast<double>(same) / static_cast<double>(columns) : 0.0);
  setPercentText(text, a);
}

}  // namespace aliconv
