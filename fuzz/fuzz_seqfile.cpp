// Fuzz target for the library's FASTA/FASTQ reader (read_seq_file_names). The
// first byte chooses plain or compressed reads (fuzz::alsoCompressed); a
// compressed read is followed by one with bytes after the last member.
// Every read either fails leaving the sequence array as it was, or appends
// records that agree with themselves; the compressed read gives exactly
// what the plain read gave, message included, and the bytes after the last
// member are refused.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_files.h"
#include "fuzz_gzip.h"
#include "lumo.h"

namespace {

struct Record {
  std::string name, ident, title, description, raw, coded;
  bool operator==(const Record &other) const {
    return name == other.name && ident == other.ident && title == other.title &&
           description == other.description && raw == other.raw && coded == other.coded;
  }
};

struct Outcome {
  int result = 0;
  std::string message;
  std::vector<Record> records;
  bool operator==(const Outcome &other) const {
    return result == other.result && message == other.message && records == other.records;
  }
};

// The record as read with its whole name, after checking the fields
// against each other.
Record recordOf(const STRING *s, const char *name) {
  fuzz::check(
      s != nullptr && s->raw_seq != nullptr && s->sequence != nullptr && s->desc_string != nullptr,
      "a record has every text");
  fuzz::check(s->length >= 0 && std::strlen(s->raw_seq) == static_cast<size_t>(s->length),
              "the length is the raw text's");
  fuzz::check(s->alphabet == 1 && s->raw_alpha == 1 && s->alpha_size == 5, "the record is DNA");
  fuzz::check(
      std::memchr(s->ident, '\0', sizeof s->ident) && std::memchr(s->title, '\0', sizeof s->title),
      "ident and title are ended");
  for (int k = 0; k < s->length; ++k) {
    const char c = s->raw_seq[k];
    fuzz::check(c != '\n' && c != '\r' && c != ' ' && c != '\t',
                "the raw text holds no line break or blank");
    fuzz::check(s->sequence[k] == mapchar(1, c), "the codes are the raw text's");
  }
  fuzz::check(name != nullptr && std::strpbrk(name, " \t") == nullptr, "a name is one word");
  fuzz::check(std::string(name).substr(0, sizeof s->ident - 1) == s->ident,
              "ident is the name cut to its size");
  return Record{name,           s->ident,   s->title,
                s->desc_string, s->raw_seq, std::string(s->sequence, s->length)};
}

// Reads `bytes` as a file into a fresh sequence array, and frees it again.
Outcome readAsFile(const std::string &bytes) {
  fuzz::TempFile file("seqfile", bytes);
  create_seq_array();
  char *message = nullptr;
  char **names = nullptr;
  Outcome outcome;
  outcome.result = read_seq_file_names(file.name(), &message, &names);
  if (message) outcome.message = message;
  std::free(message);
  const int count = get_num_sequences();
  fuzz::check(outcome.result >= -1 && count == (outcome.result == -1 ? 0 : outcome.result),
              "the array holds the records read, or nothing after a failure");
  fuzz::check(outcome.result != -1 || !outcome.message.empty(), "a failure says why");
  fuzz::check((names != nullptr) == (count > 0), "names come with the records appended");
  for (int k = 1; k <= count; ++k)
    outcome.records.push_back(recordOf(get_element(k), names[k - 1]));
  free_seq_names(names, count);
  free_seq_ary();
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const unsigned settings = data[0];
  const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
  const Outcome plain = readAsFile(text);
  if (!fuzz::alsoCompressed(settings, text)) return 0;
  const std::string packed = fuzz::compressedAsChosen(settings, text);
  fuzz::check(readAsFile(packed) == plain, "the compressed read gives what the plain read gave");
  fuzz::check(readAsFile(packed + "junk after the last member\n").result == -1,
              "bytes after the last member are refused");
  return 0;
}
