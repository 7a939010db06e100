#include "svg_text.h"

#include <charconv>
#include <cstdio>

namespace aliplot {

namespace {

// The length of the valid UTF-8 sequence at text[at], 0 when it is none.
size_t utf8Length(std::string_view text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i)
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
  // Overlong forms, surrogates and code points beyond U+10FFFF.
  if ((lead == 0xE0 && byte(at + 1) < 0xA0) || (lead == 0xED && byte(at + 1) >= 0xA0) ||
      (lead == 0xF0 && byte(at + 1) < 0x90) || (lead == 0xF4 && byte(at + 1) >= 0x90))
    return 0;
  return length;
}

// Whether XML 1.0 allows the character of a valid UTF-8 sequence: all but
// the C0 controls other than tab, line feed and return, and U+FFFE and
// U+FFFF (surrogates are no valid UTF-8). A document holding any other is
// not XML at all, so SVG viewers refuse the whole picture.
bool xmlAllows(std::string_view character) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(character[i]); };
  if (character.size() == 1) return byte(0) >= 0x20 || byte(0) == '\t' || byte(0) == '\n' || byte(0) == '\r';
  return !(character.size() == 3 && byte(0) == 0xEF && byte(1) == 0xBF && byte(2) >= 0xBE);
}

// Calls take(piece) for each character: a valid UTF-8 sequence of a
// character that XML allows, or "?" for a character it forbids and for each
// byte that starts no valid sequence. Both the SVG text and the page's data
// go through here, so a name reads the same in the picture and the page.
template <typename Take>
void forEachCharacter(std::string_view text, Take take) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = utf8Length(text, at);
    const bool allowed = length > 0 && xmlAllows(text.substr(at, length));
    take(allowed ? text.substr(at, length) : std::string_view("?"));
    at += length == 0 ? 1 : length;
  }
}

}  // namespace

void appendNumber(std::string &out, double value, int decimals) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  const char *end = result.ptr;
  if (decimals > 0) {
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
  }
  if (end - text == 2 && text[0] == '-' && text[1] == '0') {
    out += '0';
    return;
  }
  out.append(text, static_cast<size_t>(end - text));
}

void appendShortest(std::string &out, float value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  out.append(text, result.ptr);
}

std::string groupedCount(uint64_t count) {
  std::string digits = std::to_string(count);
  for (size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string xmlEscaped(std::string_view text) {
  std::string out;
  forEachCharacter(text, [&out](std::string_view piece) {
    const char c = piece[0];
    if (piece.size() > 1) {
      out += piece;
      return;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  });
  return out;
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  forEachCharacter(text, [&out](std::string_view piece) {
    const char c = piece[0];
    const auto byte = static_cast<unsigned char>(c);
    if (piece.size() > 1) {
      out += piece;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || c == '<' || c == '>' || c == '&') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  });
  return out + "\"";
}

std::string shortenedFront(const std::string &text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t start = text.size() - (limit - 1);
  // Never start inside a UTF-8 sequence.
  while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) ++start;
  return "\u2026" + text.substr(start);
}

}  // namespace aliplot
