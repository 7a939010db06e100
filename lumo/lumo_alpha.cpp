// Alphabet tables: canonical letters, symbol codes and complements.
#include <cstdio>

#include "lumo.h"
#include "lumo_mem.h"

ALPHABET *alpha_tables = nullptr;
int table_size = 0;

namespace {

// Entry states.
constexpr int kInvalid = 0;
constexpr int kUnbuilt = 1;
constexpr int kBuilt = 2;

constexpr int kDna = 1;
constexpr int kFirstReleasable = 5;  // 1 to 4 are fixed alphabets
constexpr int kEntries = 5;

struct DnaLetter {
  char letter;  // upper case; its lower case maps alike
  char rawmap;
  char code;
  char compl_;
};

// Ambiguity letters all fold to 'N' and complement to 'N', not to their
// IUPAC complements.
constexpr DnaLetter kDnaLetters[] = {
    {'A', 'A', '0', 'T'}, {'C', 'C', '1', 'G'}, {'G', 'G', '2', 'C'},
    {'T', 'T', '3', 'A'}, {'N', 'N', '4', 'N'}, {'R', 'N', '4', 'N'},
    {'Y', 'N', '4', 'N'}, {'M', 'N', '4', 'N'}, {'K', 'N', '4', 'N'},
    {'S', 'N', '4', 'N'}, {'W', 'N', '4', 'N'}, {'H', 'N', '4', 'N'},
    {'B', 'N', '4', 'N'}, {'V', 'N', '4', 'N'}, {'D', 'N', '4', 'N'},
};

void set_dna_entry(ALPHABET &dna, unsigned char ch, const DnaLetter &entry) {
  dna.rawmap[ch] = entry.rawmap;
  dna.map[ch] = entry.code;
  dna.compl_[ch] = entry.compl_;
}

// Characters outside the alphabet read 0 in `rawmap` and `compl_` and -1 in
// `map`, so no entry is ever left unset.
void build_dna(ALPHABET &dna) {
  for (int ch = 0; ch < LUMO_TABLE_CHARS; ++ch) {
    dna.rawmap[ch] = 0;
    dna.map[ch] = -1;
    dna.compl_[ch] = 0;
  }
  for (const DnaLetter &entry : kDnaLetters) {
    const auto upper = static_cast<unsigned char>(entry.letter);
    set_dna_entry(dna, upper, entry);
    set_dna_entry(dna, static_cast<unsigned char>(upper - 'A' + 'a'), entry);
  }
  dna.alpha_size = 5;
  dna.init_flag = kBuilt;
}

// Entries are zero-filled so that even tables never built hold no
// indeterminate bytes.
bool create_table_set() {
  void *set = lumo_mem::zeroed(kEntries, sizeof(ALPHABET));
  if (set == nullptr) {
    std::fputs("Error: Ran out of memory.  Cannot initialize alphabet table\n", stderr);
    return false;
  }
  alpha_tables = static_cast<ALPHABET *>(set);
  table_size = kEntries;
  alpha_tables[0].init_flag = kInvalid;
  for (int alpha = 1; alpha < kEntries; ++alpha) {
    alpha_tables[alpha].init_flag = kUnbuilt;
  }
  return true;
}

// The checks every lookup makes first: the built entry of `alpha`, or null
// after writing the failure's message.
const ALPHABET *usable_entry(int alpha) {
  if (alpha_tables == nullptr && alpha_init(-1) == 0) {
    return nullptr;
  }
  if (alpha < 1 || alpha >= table_size) {
    std::fputs("Error:  The program is using an invalid alphabet.\n", stderr);
    return nullptr;
  }
  if (alpha_tables[alpha].init_flag == kUnbuilt && alpha_init(alpha) == 0) {
    return nullptr;
  }
  if (alpha_tables[alpha].init_flag == kInvalid) {
    std::fputs("Error:  The program is using an invalid alphabet.\n", stderr);
    return nullptr;
  }
  return &alpha_tables[alpha];
}

using Table = char (ALPHABET::*)[LUMO_TABLE_CHARS];

// One table lookup. Codes 128 to 255 lie beyond the tables and get
// `outside`, the value of a character outside the alphabet.
char lookup(int alpha, char ch, Table table, char outside) {
  const ALPHABET *entry = usable_entry(alpha);
  if (entry == nullptr) {
    return -1;
  }
  const auto code = static_cast<unsigned char>(ch);
  return code < LUMO_TABLE_CHARS ? (entry->*table)[code] : outside;
}

// The first non-null record among the first `arylen` of `sary`, or null.
const STRING *first_record(STRING *const *sary, int arylen) {
  for (int i = 0; sary != nullptr && i < arylen; ++i) {
    if (sary[i] != nullptr) {
      return sary[i];
    }
  }
  return nullptr;
}

bool any_raw_text_in(STRING *const *sary, int arylen, int alpha) {
  for (int i = 0; i < arylen; ++i) {
    if (sary[i] != nullptr && sary[i]->raw_alpha == alpha) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" {

int alpha_init(int alpha) {
  if (alpha_tables == nullptr && !create_table_set()) {
    return 0;
  }
  if (alpha < 1 || alpha >= kFirstReleasable || alpha >= table_size ||
      alpha_tables[alpha].init_flag != kUnbuilt) {
    return 1;
  }
  if (alpha != kDna) {
    std::fputs("Error:  The program is attempting to initialize an invalid alphabet.\n", stderr);
    return 0;
  }
  build_dna(alpha_tables[alpha]);
  return 1;
}

char rawmapchar(int alpha, char ch) { return lookup(alpha, ch, &ALPHABET::rawmap, 0); }

char mapchar(int alpha, char ch) { return lookup(alpha, ch, &ALPHABET::map, -1); }

char complement(int alpha, char ch) { return lookup(alpha, ch, &ALPHABET::compl_, 0); }

int get_alpha_size(int alpha) {
  const ALPHABET *entry = usable_entry(alpha);
  return entry == nullptr ? -1 : entry->alpha_size;
}

void unmap_sequences(STRING *s1, STRING *s2, STRING **sary, int arylen) {
  // One source only: s1, else s2, else the array.
  STRING *single = s1 != nullptr ? s1 : s2;
  const STRING *first = single != nullptr ? single : first_record(sary, arylen);
  const int alpha = first != nullptr ? first->alphabet : 0;
  if (alpha < kFirstReleasable) {
    return;
  }
  const bool raw_uses_it =
      single != nullptr ? single->raw_alpha == alpha : any_raw_text_in(sary, arylen, alpha);
  if (raw_uses_it) {
    return;
  }
  alpha_free(alpha);
  if (single != nullptr) {
    single->alphabet = 0;
    return;
  }
  for (int i = 0; i < arylen; ++i) {
    if (sary[i] != nullptr) {
      sary[i]->alphabet = 0;
    }
  }
}

void alpha_free(int alpha) {
  if (alpha >= kFirstReleasable && alpha < table_size) {
    alpha_tables[alpha].init_flag = kInvalid;
  }
}

}  // extern "C"
