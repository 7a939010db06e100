#include "cigar.h"

#include <algorithm>

namespace aliconv {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Takes the decimal number at `at`; refuses a missing or oversized one.
uint64_t takeCount(std::string_view text, size_t &at, const Place &place, const char *what) {
  const size_t begin = at;
  while (at < text.size() && isDigit(text[at])) ++at;
  uint64_t count = 0;
  if (!parseUnsigned(text.substr(begin, at - begin), count))
    place.fail(std::string(what) + " holds no length at position " + std::to_string(begin + 1));
  return count;
}

size_t letterRun(std::string_view text, size_t at) {
  size_t end = at;
  while (end < text.size() && ((text[end] >= 'a' && text[end] <= 'z') ||
                               (text[end] >= 'A' && text[end] <= 'Z')))
    ++end;
  return end - at;
}

}  // namespace

void walkCigar(std::string_view cigar, BlockWalker &walker, const Place &place) {
  size_t at = 0;
  while (at < cigar.size()) {
    const uint64_t count = takeCount(cigar, at, place, "the CIGAR");
    if (at == cigar.size()) place.fail("the CIGAR ends without an operation");
    switch (cigar[at++]) {
      case 'M': case '=': case 'X': walker.aligned(count); break;
      case 'D': case 'N': walker.xOnly(count); break;
      case 'I': walker.yOnly(count); break;
      case 'S': case 'H': case 'P': break;
      default: place.fail("the CIGAR holds an unknown operation '" + std::string(1, cigar[at - 1]) + "'");
    }
  }
}

void walkDifferences(std::string_view cs, BlockWalker &walker, const Place &place) {
  size_t at = 0;
  while (at < cs.size()) {
    const char op = cs[at++];
    size_t letters = letterRun(cs, at);
    switch (op) {
      case ':': walker.aligned(takeCount(cs, at, place, "the cs:Z string")); break;
      case '=': walker.aligned(letters); at += letters; break;
      case '*':
        if (letters < 2) place.fail("the cs:Z string has a mismatch without its two bases");
        walker.aligned(1);
        at += 2;
        break;
      case '+': walker.yOnly(letters); at += letters; break;
      case '-': walker.xOnly(letters); at += letters; break;
      case '~': {
        // Two splice bases, the intron's length, two splice bases.
        at += std::min<size_t>(2, letters);
        walker.xOnly(takeCount(cs, at, place, "the cs:Z intron"));
        at += std::min<size_t>(2, letterRun(cs, at));
        break;
      }
      default: place.fail("the cs:Z string holds an unknown operation '" + std::string(1, op) + "'");
    }
  }
}

void checkWalkEnd(const BlockWalker &walker, const Place &place, const char *what) {
  if (!walker.complete()) place.fail(std::string(what) + " does not span the alignment's coordinates");
}

}  // namespace aliconv
