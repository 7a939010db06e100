// The sequences of mumfind's two input files, loaded into the library's
// sequence array, and the reverse complement of their symbol codes.
#ifndef MUMFIND_SEQUENCES_H
#define MUMFIND_SEQUENCES_H

#include <string>
#include <vector>

namespace mumfind {

// One sequence: its name and its symbol codes, owned by the sequence array.
struct Sequence {
  std::string name;  // the whole first word of its header
  char *codes;
  int length;
  int number;  // its record number in the file, from 1
};

// Reads every record of `path` into the sequence array and returns them in
// file order. Throws ToolError for a file that cannot be read or is
// malformed (the library's message), holds no sequence, one of length 0
// or two of the same name; writes the library's warning, prefixed "mumfind: ", to
// standard error. The raw texts are released at once: only codes are
// compared.
std::vector<Sequence> loadSequences(const std::string &path);

// Reverses codes[0..length) and complements each symbol code (N and codes
// outside the alphabet stay as they are); applied twice it restores the
// text.
void reverseComplement(char *codes, int length);

}  // namespace mumfind

#endif
