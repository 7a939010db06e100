// Text of the plot's documents: numbers and names written safely into SVG,
// HTML and JSON.
#ifndef ALIPLOT_SVG_TEXT_H
#define ALIPLOT_SVG_TEXT_H

#include <cstdint>
#include <string>
#include <string_view>

namespace aliplot {

// value with at most `decimals` decimals, without trailing zeros ("-0" as "0").
void appendNumber(std::string &out, double value, int decimals);
// The shortest text that reads back as the same float.
void appendShortest(std::string &out, float value);
// 1234567 as "1,234,567".
std::string groupedCount(uint64_t count);
// Text for XML and HTML content and attribute values. A character that
// XML 1.0 forbids (C0 controls but tab, line feed and return; U+FFFE,
// U+FFFF) and each byte that starts no valid UTF-8 sequence (which covers
// encoded surrogates) becomes '?', so every document is well-formed XML.
std::string xmlEscaped(std::string_view text);
// A quoted JSON string that is also safe inside an HTML script element;
// its characters are replaced as xmlEscaped replaces them.
std::string jsonString(std::string_view text);
// At most `limit` characters: a longer text keeps its end after an ellipsis.
std::string shortenedFront(const std::string &text, size_t limit);

}  // namespace aliplot

#endif
