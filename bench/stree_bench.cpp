// Builds the suffix tree of a FASTA file's sequence (or of a prefix of it)
// and prints the build time; peak memory is measured by the calling script.
// Usage: stree_bench FASTA PREFIX_LENGTH BUILD_POLICY BUILD_THRESHOLD
// (PREFIX_LENGTH 0: the whole sequence).
#include "lumo.h"
#include "lumo_stree.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

bool read_fasta(const char *path, std::string *raw) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '>') continue;
    for (char c : line)
      if (std::isalpha(static_cast<unsigned char>(c)))
        raw->push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  }
  return in.eof() && !raw->empty();
}

bool parse_int(const char *text, long *value) {
  const char *end = text + std::strlen(text);
  auto res = std::from_chars(text, end, *value);
  return res.ec == std::errc() && res.ptr == end && *value >= 0;
}

} // namespace

int main(int argc, char **argv) {
  long prefix, policy, threshold;
  if (argc != 5 || !parse_int(argv[2], &prefix) || !parse_int(argv[3], &policy) ||
      !parse_int(argv[4], &threshold)) {
    std::fprintf(stderr, "usage: stree_bench FASTA PREFIX_LENGTH BUILD_POLICY BUILD_THRESHOLD\n");
    return 2;
  }
  std::string raw;
  if (!read_fasta(argv[1], &raw)) {
    std::fprintf(stderr, "stree_bench: cannot read a sequence from %s\n", argv[1]);
    return 1;
  }
  if (prefix > 0 && static_cast<size_t>(prefix) < raw.size()) raw.resize(static_cast<size_t>(prefix));
  std::string coded(raw.size(), '\0');
  // The library's DNA symbol codes: '0' to '3' for A, C, G, T, '4' else.
  for (size_t k = 0; k < raw.size(); k++) coded[k] = mapchar(1, raw[k]);

  STRING rec = STRING();
  rec.sequence = &coded[0];
  rec.raw_seq = &raw[0];
  rec.length = static_cast<int>(coded.size());
  rec.alpha_size = 5;
  STRING *recs[] = {&rec};
  auto start = std::chrono::steady_clock::now();
  SUFFIX_TREE tree = stree_gen_ukkonen_build(recs, 1, static_cast<int>(policy),
                                             static_cast<int>(threshold));
  auto built = std::chrono::steady_clock::now();
  if (!tree) {
    std::fprintf(stderr, "stree_bench: the build failed\n");
    return 1;
  }
  int leaves = tree->num_nodes, nodes = tree->nodes_created;
  stree_delete_tree(tree);
  std::chrono::duration<double> secs = built - start;
  if (std::printf("chars %zu leaves %d internal %d build_s %.3f\n", coded.size(), leaves, nodes,
                  secs.count()) < 0 ||
      std::fflush(stdout) != 0)
    return 1;
  return 0;
}
