#include "fields.h"

#include "tool_error.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace aliconv {

void Place::fail(const std::string &what) const {
  if (binaryRecord)
    throw common::ToolError(file + ", record " + std::to_string(line) + ": " + what);
  throw common::ToolError(common::at(file, line, what));
}

void splitFields(std::string_view line, char separator, std::vector<std::string_view> &fields) {
  fields.clear();
  if (separator != ' ') {
    // One pass over the bytes: fields are short, and a search call per
    // field costs more than looking at each byte.
    const char *begin = line.data(), *end = begin + line.size();
    for (const char *at = begin; at != end; ++at)
      if (*at == separator) {
        fields.emplace_back(begin, static_cast<size_t>(at - begin));
        begin = at + 1;
      }
    fields.emplace_back(begin, static_cast<size_t>(end - begin));
    return;
  }
  size_t at = 0;
  for (;;) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at == line.size()) return;
    const size_t begin = at;
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
    fields.push_back(line.substr(begin, at - begin));
  }
}

bool parseUnsigned(std::string_view text, uint64_t &value) {
  const char *end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

uint64_t unsignedField(std::string_view text, const Place &place, const char *what) {
  uint64_t value = 0;
  if (!parseUnsigned(text, value))
    place.fail(std::string(what) + " is not a whole number: '" + std::string(text) + "'");
  return value;
}

int64_t signedField(std::string_view text, const Place &place, const char *what) {
  int64_t value = 0;
  const char *end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end)
    place.fail(std::string(what) + " is not a whole number: '" + std::string(text) + "'");
  return value;
}

bool decimalFraction(std::string_view text, uint64_t &numerator, uint64_t &denominator) {
  numerator = 0;
  denominator = 1;
  bool point = false;
  size_t digits = 0;
  for (const char c : text) {
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    // 18 digits keep numerator and denominator within 64 bits.
    if (++digits > 18) return false;
    numerator = numerator * 10 + static_cast<uint64_t>(c - '0');
    if (point) denominator *= 10;
  }
  return digits > 0;
}

bool isScore(std::string_view text) {
  const std::string word(text);
  char *stop = nullptr;
  const double value = std::strtod(word.c_str(), &stop);
  return !word.empty() && stop == word.c_str() + word.size() && std::isfinite(value) &&
         std::fabs(value) <= 1e15;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool isBlankLine(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace aliconv
