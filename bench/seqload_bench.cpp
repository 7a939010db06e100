// Loads a sequence file into the sequence array and prints the residues
// read; the calling script times it against zcat.
// Usage: seqload_bench FILE
#include <cstdio>

#include "lumo.h"

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seqload_bench FILE\n");
    return 2;
  }
  create_seq_array();
  int added = read_seq_file(argv[1], nullptr);
  long long residues = 0;
  for (int n = 1; n <= get_num_sequences(); n++) residues += get_element(n)->length;
  std::printf("records %d residues %lld\n", added, residues);
  free_seq_ary();
  return added < 0;
}
