#include "option_values.h"

#include "program.h"

#include <charconv>

namespace common {

int64_t numberOption(const std::string &option, const std::string &text, int64_t least,
                     int64_t most, const std::string &what) {
  int64_t value = 0;
  const char *end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < least || value > most)
    throw UsageError(option + " needs " + what + " from " + std::to_string(least) + " to " +
                     std::to_string(most) + ", not '" + text + "'");
  return value;
}

int threadsOption(const std::string &text) {
  constexpr int64_t MOST_THREADS = 1024;
  return static_cast<int>(numberOption("-t", text, 1, MOST_THREADS));
}

SequencePair pairOption(const std::string &text) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == text.size())
    throw UsageError("--pair needs REF,QUERY (two sequence names separated by a comma), not '" +
                     text + "'");
  return {text.substr(0, comma), text.substr(comma + 1)};
}

}  // namespace common
