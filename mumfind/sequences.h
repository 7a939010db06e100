// The sequences of mumfind's two input files, loaded into the library's
// sequence array, and the reverse complement of their symbol codes.
#ifndef MUMFIND_SEQUENCES_H
#define MUMFIND_SEQUENCES_H

#include <string>
#include <vector>

namespace mumfind {

// One sequence: its name and its symbol codes, owned by the sequence array
// (or, for a reference, by the reference index).
struct Sequence {
  std::string name;  // the whole first word of its header
  const char *codes;
  int length;
  int number;   // its record number in the file, from 1
  int element;  // its entry in the sequence array; 0 for none
};

// Reads every record of `path` into the sequence array and returns them in
// file order. Throws ToolError for a file that cannot be read or is
// malformed (the library's message), holds no sequence, one of length 0
// or two of the same name; writes the library's warning, prefixed "mumfind: ", to
// standard error. The raw texts are released at once: only codes are
// compared.
std::vector<Sequence> loadSequences(const std::string &path);

// Frees the symbol codes that the sequence array holds for `sequences`
// (once indexed, a reference's codes live in the index).
void releaseCodes(std::vector<Sequence> &sequences);

// codes[0..length) reversed, each symbol code complemented (N and codes
// outside the alphabet stay as they are).
std::string reverseComplement(const char *codes, int length);

}  // namespace mumfind

#endif
