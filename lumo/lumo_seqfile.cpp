// FASTA and FASTQ files into the sequence array: one record per entry, all
// or nothing.
#include "lumo_seqfile.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "lumo_mem.h"
#include "lumo_text.h"

namespace {

enum fastq_state { AWAIT_HEADER, IN_SEQUENCE, IN_QUALITY };

// The state of one call. `residues` gathers the current record's text as
// read; `element` is its number in the array (0 before the first record).
struct reader {
  lumo_text *in;
  const char *name;
  long long max_length;
  int first_new;          // element number the call's first record gets
  int element;
  char *residues;
  std::size_t count, cap;
  std::size_t quality;    // quality characters of the current FASTQ record
  char *header;           // the current FASTQ record's header after its '@'
  std::size_t header_len, header_cap;
  signed char code[256];  // DNA symbol code of every byte, -1 outside
  long long outside;      // residues outside the DNA alphabet, all records
  char outside_letter;    // the first of them
  char *outside_name;     // the whole name of the record that holds it
  char *word;             // the current record's whole name
  std::size_t word_cap;
  int want_names;         // the caller asked for every record's whole name
  char **names;           // those names, one per record added so far
  std::size_t names_count, names_cap;
  char *message;
};

// Sets the call's message to "NAME, line N: text" (no line when `line` is
// 0), the form of every message about bad input in this toolset.
// Returns 0, so that failures read `return fail(...)`.
int fail(reader *rd, long long line, const char *format, ...) {
  char what[256];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(what, sizeof what, format, args);
  va_end(args);
  const char *where_format = line > 0 ? "%s, line %lld: %s" : "%s: %s";
  int n = line > 0 ? std::snprintf(nullptr, 0, where_format, rd->name, line, what)
                   : std::snprintf(nullptr, 0, where_format, rd->name, what);
  std::free(rd->message);
  rd->message = static_cast<char *>(lumo_mem::resize(nullptr, static_cast<std::size_t>(n) + 1));
  if (rd->message) {
    if (line > 0)
      std::snprintf(rd->message, static_cast<std::size_t>(n) + 1, where_format, rd->name, line, what);
    else
      std::snprintf(rd->message, static_cast<std::size_t>(n) + 1, where_format, rd->name, what);
  }
  return 0;
}

long long line_of(const reader *rd) { return lumo_text_line_number(rd->in); }

int out_of_memory(reader *rd) { return fail(rd, line_of(rd), "out of memory"); }

char *copy_text(const char *text, std::size_t n) {
  char *copy = static_cast<char *>(lumo_mem::resize(nullptr, n + 1));
  if (copy) {
    std::memcpy(copy, text, n);
    copy[n] = '\0';
  }
  return copy;
}

// Copies text[0..n) into a block of the call that grows as needed, and
// ends it with a NUL.
int keep_text(reader *rd, char **block, std::size_t *cap, const char *text, std::size_t n) {
  if (n + 1 > *cap) {
    void *bigger = lumo_mem::resize(*block, n + 1);
    if (!bigger) return out_of_memory(rd);
    *block = static_cast<char *>(bigger);
    *cap = n + 1;
  }
  std::memcpy(*block, text, n);
  (*block)[n] = '\0';
  return 1;
}

// Keeps the current record's whole name, and a copy of it among the
// caller's names when it asked for them.
int keep_name(reader *rd, const char *text, std::size_t n) {
  if (!keep_text(rd, &rd->word, &rd->word_cap, text, n)) return 0;
  if (!rd->want_names) return 1;
  if (rd->names_count == rd->names_cap) {
    std::size_t cap = rd->names_cap ? 2 * rd->names_cap : 64;
    void *bigger = lumo_mem::resize(rd->names, cap * sizeof(char *));
    if (!bigger) return out_of_memory(rd);
    rd->names = static_cast<char **>(bigger);
    rd->names_cap = cap;
  }
  char *copy = copy_text(text, n);
  if (!copy) return out_of_memory(rd);
  rd->names[rd->names_count++] = copy;
  return 1;
}

int is_blank(char c) { return c == ' ' || c == '\t'; }

// What a sequence line may hold between residues: blanks, and carriage
// returns that line breaks of another system leave inside a line.
int is_gap(char c) { return is_blank(c) || c == '\r'; }

// Copies at most `size` - 1 bytes of text[0..n) into a field and ends it.
void set_field(char *field, std::size_t size, const char *text, std::size_t n) {
  if (n >= size) n = size - 1;
  std::memcpy(field, text, n);
  field[n] = '\0';
}

// Adds a record for the header text after its '>' or '@': `ident` its first
// word, `title` and `desc_string` the rest.
int start_record(reader *rd, const char *header, std::size_t n) {
  std::size_t k = 0;
  while (k < n && is_blank(header[k])) k++;
  std::size_t word = k;
  while (k < n && !is_blank(header[k])) k++;
  std::size_t word_end = k;
  while (k < n && is_blank(header[k])) k++;
  int element = add_element();
  STRING *s = element > 0 ? get_element(element) : nullptr;
  if (element > 0) rd->element = element;
  if (!s || !keep_name(rd, header + word, word_end - word)) return out_of_memory(rd);
  s->desc_string = copy_text(header + k, n - k);
  if (!s->desc_string) return out_of_memory(rd);
  set_field(s->ident, sizeof s->ident, header + word, word_end - word);
  set_field(s->title, sizeof s->title, header + k, n - k);
  rd->count = 0;
  return 1;
}

// Appends the residues of one sequence line, leaving out gaps.
int add_residues(reader *rd, const char *text, std::size_t n) {
  if (static_cast<long long>(rd->count + n) > rd->max_length)
    return fail(rd, line_of(rd), "sequence longer than %lld characters", rd->max_length);
  if (rd->count + n + 1 > rd->cap) {
    std::size_t cap = rd->cap ? rd->cap : 4096;
    while (cap < rd->count + n + 1) cap *= 2;
    void *bigger = lumo_mem::resize(rd->residues, cap);
    if (!bigger) return out_of_memory(rd);
    rd->residues = static_cast<char *>(bigger);
    rd->cap = cap;
  }
  if (!std::memchr(text, ' ', n) && !std::memchr(text, '\t', n) && !std::memchr(text, '\r', n)) {
    std::memcpy(rd->residues + rd->count, text, n);
    rd->count += n;
    return 1;
  }
  for (std::size_t k = 0; k < n; k++)
    if (!is_gap(text[k])) rd->residues[rd->count++] = text[k];
  return 1;
}

// Counts the residues of record s outside the DNA alphabet (code -1) and
// notes the first of them for the warning.
int count_outside(reader *rd, const STRING *s) {
  for (int k = 0; k < s->length; k++) {
    if (s->sequence[k] >= 0) continue;
    if (rd->outside++ == 0) {
      rd->outside_letter = s->raw_seq[k];
      rd->outside_name = copy_text(rd->word, std::strlen(rd->word));
      if (!rd->outside_name) return out_of_memory(rd);
    }
  }
  return 1;
}

// Gives the current record its raw and coded texts. The raw block is cut
// to size first, so a record costs about two bytes per residue.
int finish_record(reader *rd) {
  STRING *s = get_element(rd->element);
  std::size_t n = rd->count;
  char *raw = static_cast<char *>(lumo_mem::resize(rd->residues, n + 1));
  if (!raw) raw = rd->residues;
  raw[n] = '\0';
  rd->residues = nullptr;
  rd->cap = 0;
  s->raw_seq = raw;
  s->sequence = static_cast<char *>(lumo_mem::resize(nullptr, n + 1));
  if (!s->sequence) return out_of_memory(rd);
  // Mapping is a plain table lookup; letters outside the alphabet are
  // looked for only when the codes show that there are some.
  signed char any_outside = 0;
  for (std::size_t k = 0; k < n; k++) {
    signed char c = rd->code[static_cast<unsigned char>(raw[k])];
    any_outside |= c;
    s->sequence[k] = static_cast<char>(c);
  }
  s->sequence[n] = '\0';
  s->length = static_cast<int>(n);
  s->alphabet = 1;
  s->raw_alpha = 1;
  s->alpha_size = get_alpha_size(1);
  return any_outside >= 0 || count_outside(rd, s);
}

int read_fasta_line(reader *rd, const char *line, std::size_t n) {
  if (n > 0 && line[0] == '>') {
    if (rd->element >= rd->first_new && !finish_record(rd)) return 0;
    return start_record(rd, line + 1, n - 1);
  }
  return add_residues(rd, line, n);
}

// A '+' line that names something names its record: the whole header or
// its first word. Another name means records and qualities are out of step.
int check_plus_line(reader *rd, const char *text, std::size_t n) {
  std::size_t word = 0;
  while (word < rd->header_len && !is_blank(rd->header[word])) word++;
  if (n == 0 || (n == rd->header_len && std::memcmp(text, rd->header, n) == 0) ||
      (n == word && std::memcmp(text, rd->header, n) == 0))
    return 1;
  return fail(rd, line_of(rd), "the '+' line names '%.*s', not this record's '%.*s'",
              static_cast<int>(n < 100 ? n : 100), text,
              static_cast<int>(rd->header_len < 100 ? rd->header_len : 100), rd->header);
}

int read_fastq_line(reader *rd, fastq_state *state, const char *line, std::size_t n) {
  switch (*state) {
    case AWAIT_HEADER:
      if (n == 0) return 1;
      if (line[0] != '@') return fail(rd, line_of(rd), "expected a FASTQ header line ('@')");
      *state = IN_SEQUENCE;
      rd->header_len = n - 1;
      return keep_text(rd, &rd->header, &rd->header_cap, line + 1, n - 1) &&
             start_record(rd, line + 1, n - 1);
    case IN_SEQUENCE:
      if (n > 0 && line[0] == '+') {
        if (!check_plus_line(rd, line + 1, n - 1)) return 0;
        *state = IN_QUALITY;
        rd->quality = 0;
        return 1;
      }
      return add_residues(rd, line, n);
    case IN_QUALITY:
      rd->quality += n;
      if (rd->quality > rd->count)
        return fail(rd, line_of(rd), "quality longer than the sequence (%zu > %zu characters)",
                    rd->quality, rd->count);
      if (rd->quality < rd->count) return 1;
      *state = AWAIT_HEADER;
      return finish_record(rd);
  }
  return 0;
}

// The end of the text: the last record is complete or the file is cut.
int finish_text(reader *rd, int fastq, fastq_state state) {
  long long line = line_of(rd);
  if (!fastq) return rd->element < rd->first_new || finish_record(rd);
  if (state == IN_SEQUENCE) return fail(rd, line, "the last record has no '+' line");
  if (state != IN_QUALITY) return 1;
  // Only a record of length 0 can end here with its quality complete.
  if (rd->quality < rd->count)
    return fail(rd, line, "quality shorter than the sequence (%zu < %zu characters)", rd->quality,
                rd->count);
  return finish_record(rd);
}

int read_text(reader *rd) {
  const char *line;
  std::size_t n;
  int format = 0;  // '>' or '@' once the first header is seen
  fastq_state state = AWAIT_HEADER;
  int got;
  while ((got = lumo_text_next_line(rd->in, &line, &n)) == 1) {
    if (std::memchr(line, '\0', n)) return fail(rd, line_of(rd), "NUL byte");
    if (!format) {
      std::size_t k = 0;
      while (k < n && is_gap(line[k])) k++;
      if (k == n) continue;
      if (line[0] != '>' && line[0] != '@')
        return fail(rd, line_of(rd), "no header line ('>' or '@') before the sequence");
      format = line[0];
    }
    int ok = format == '>' ? read_fasta_line(rd, line, n) : read_fastq_line(rd, &state, line, n);
    if (!ok) return 0;
  }
  // The first line that the text could not give whole.
  if (got < 0) return fail(rd, line_of(rd) + 1, "%s", lumo_text_problem(rd->in));
  return finish_text(rd, format == '@', state);
}

void init_codes(reader *rd) {
  for (int c = 0; c < 256; c++)
    rd->code[c] = c < LUMO_TABLE_CHARS ? static_cast<signed char>(mapchar(1, static_cast<char>(c))) : -1;
}

// Hands the call's message to the caller, or writes it as one line.
void deliver(char *text, char **message) {
  if (message) {
    *message = text;
    return;
  }
  if (text) {
    std::fprintf(stderr, "%s\n", text);
    std::free(text);
  }
}

// Hands the whole names to the caller, or releases them after a failure.
void deliver_names(reader *rd, int ok, char ***names) {
  if (!ok) {
    for (std::size_t k = 0; k < rd->names_count; k++) std::free(rd->names[k]);
    rd->names_count = 0;
  }
  if (rd->names_count == 0) {
    std::free(rd->names);
    rd->names = nullptr;
  }
  if (names) *names = rd->names;
}

void release(reader *rd) {
  lumo_text_close(rd->in);
  std::free(rd->residues);
  std::free(rd->header);
  std::free(rd->word);
  std::free(rd->outside_name);
  std::free(rd);
}

}  // namespace

int seqfile_read(std::FILE *stream, const char *name, long long max_length, char **message,
                 char ***names) {
  if (message) *message = nullptr;
  if (names) *names = nullptr;
  reader *rd = static_cast<reader *>(lumo_mem::zeroed(1, sizeof(reader)));
  if (!rd || !(rd->in = lumo_text_open(stream))) {
    std::free(rd);
    deliver(copy_text("out of memory", 13), message);
    return -1;
  }
  rd->name = name ? name : "(stream)";
  rd->max_length = max_length;
  rd->want_names = names != nullptr;
  rd->first_new = get_num_sequences() + 1;
  init_codes(rd);
  int ok = read_text(rd);
  int added = get_num_sequences() - rd->first_new + 1;
  if (!ok) {
    while (get_num_sequences() >= rd->first_new) delete_element(get_num_sequences());
    if (!rd->message) rd->message = copy_text("out of memory", 13);
  } else if (rd->outside > 0) {
    fail(rd, 0, "warning: %lld characters outside the DNA alphabet (the first '%c', in '%s') are "
                "mapped as the DNA table maps them", rd->outside, rd->outside_letter,
         rd->outside_name);
  }
  deliver(rd->message, message);
  deliver_names(rd, ok, names);
  release(rd);
  return ok ? added : -1;
}

extern "C" {

int read_seq_stream_names(FILE *stream, const char *name, char **message, char ***names) {
  if (!stream) {
    if (message) *message = nullptr;
    if (names) *names = nullptr;
    return -1;
  }
  return seqfile_read(stream, name, INT_MAX, message, names);
}

int read_seq_stream(FILE *stream, const char *name, char **message) {
  return read_seq_stream_names(stream, name, message, nullptr);
}

int read_seq_file_names(const char *path, char **message, char ***names) {
  if (message) *message = nullptr;
  if (names) *names = nullptr;
  if (!path) return -1;
  if (std::strcmp(path, "-") == 0) return read_seq_stream_names(stdin, "standard input", message, names);
  std::FILE *stream = std::fopen(path, "rb");
  if (!stream) {
    const char *why = std::strerror(errno);
    std::size_t n = std::strlen(path) + std::strlen(why) + 16;
    char *text = static_cast<char *>(lumo_mem::resize(nullptr, n));
    if (text) std::snprintf(text, n, "%s: cannot open: %s", path, why);
    deliver(text, message);
    return -1;
  }
  int added = read_seq_stream_names(stream, path, message, names);
  std::fclose(stream);
  return added;
}

int read_seq_file(const char *path, char **message) { return read_seq_file_names(path, message, nullptr); }

void free_seq_names(char **names, int count) {
  if (!names) return;
  for (int k = 0; k < count; k++) std::free(names[k]);
  std::free(names);
}

}  // extern "C"
