#include "sequences.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unordered_map>

#include "lumo.h"
#include "tool_error.h"

namespace mumfind {

namespace {

struct MessageDeleter {
  void operator()(char *text) const { std::free(text); }
};

// The whole names that the reader gives beside the records.
struct Names {
  char **text = nullptr;
  int count = 0;
  ~Names() { free_seq_names(text, count); }
};

// The complement of every symbol code, from the library's DNA tables.
struct ComplementTable {
  char of[256];
  ComplementTable() {
    for (int c = 0; c < 256; c++) of[c] = static_cast<char>(c);
    for (char letter : {'A', 'C', 'G', 'T', 'N'})
      of[static_cast<unsigned char>(mapchar(1, letter))] = mapchar(1, complement(1, letter));
  }
};

// Every output names a sequence by its name alone: two alike would share a
// --split file, and --pair or a table line could not tell them apart.
void refuseDuplicateNames(const std::vector<Sequence> &sequences, const std::string &shown) {
  std::unordered_map<std::string, int> numberOf;
  for (const Sequence &s : sequences) {
    auto [seen, added] = numberOf.emplace(s.name, s.number);
    if (!added)
      throw common::ToolError(shown + ": sequences " + std::to_string(seen->second) + " and " +
                              std::to_string(s.number) + " are both named '" + s.name + "'");
  }
}

}  // namespace

std::vector<Sequence> loadSequences(const std::string &path) {
  int first = get_num_sequences() + 1;
  char *text = nullptr;
  Names names;
  int added = read_seq_file_names(path.c_str(), &text, &names.text);
  std::unique_ptr<char, MessageDeleter> message(text);
  names.count = added;
  if (added < 0) throw common::ToolError(message ? message.get() : path + ": cannot be read");
  if (message) std::fprintf(stderr, "mumfind: %s\n", message.get());
  std::string shown = path == "-" ? "standard input" : path;
  if (added == 0) throw common::ToolError(shown + ": no sequences");
  std::vector<Sequence> sequences;
  for (int n = first; n < first + added; n++) {
    STRING *s = get_element(n);
    std::string name = names.text[n - first];
    if (s->length == 0) throw common::ToolError(shown + ": sequence '" + name + "' has length 0");
    std::free(s->raw_seq);
    s->raw_seq = nullptr;
    sequences.push_back({name, s->sequence, s->length, n - first + 1, n});
  }
  refuseDuplicateNames(sequences, shown);
  return sequences;
}

void releaseCodes(std::vector<Sequence> &sequences) {
  for (Sequence &s : sequences) {
    if (s.element == 0) continue;
    STRING *record = get_element(s.element);
    std::free(record->sequence);
    record->sequence = nullptr;
    s.codes = nullptr;
    s.element = 0;
  }
}

std::string reverseComplement(const char *codes, int length) {
  static const ComplementTable table;
  std::string out(static_cast<size_t>(length), '\0');
  for (int k = 0; k < length; k++)
    out[static_cast<size_t>(length - 1 - k)] = table.of[static_cast<unsigned char>(codes[k])];
  return out;
}

}  // namespace mumfind
