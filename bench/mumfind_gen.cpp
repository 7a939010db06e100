// A deterministic related genome pair for mumfind's benchmark: a random
// reference of N bases, and a query made from it with 1% substitutions,
// five inverted (reverse-complemented) stretches of 200 kb (or N/100 when
// smaller) and a few duplicated stretches. Writes REF.fa and QUERY.fa.
// usage: mumfind_gen N REF.fa QUERY.fa [SEED]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

void writeFasta(const char *path, const char *name, const std::string &bases) {
  std::FILE *out = std::fopen(path, "w");
  if (!out) {
    std::perror(path);
    std::exit(1);
  }
  std::fprintf(out, ">%s\n", name);
  for (size_t at = 0; at < bases.size(); at += 70)
    std::fprintf(out, "%.*s\n", int(std::min<size_t>(70, bases.size() - at)), bases.data() + at);
  if (std::fclose(out) != 0) {
    std::perror(path);
    std::exit(1);
  }
}

char complement(char c) {
  switch (c) {
    case 'A': return 'T';
    case 'C': return 'G';
    case 'G': return 'C';
    default: return 'A';
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: mumfind_gen N REF.fa QUERY.fa [SEED]\n");
    return 2;
  }
  const size_t n = std::strtoull(argv[1], nullptr, 10);
  std::mt19937_64 rng(argc > 4 ? std::strtoull(argv[4], nullptr, 10) : 1);
  const char letters[] = "ACGT";
  std::string ref(n, 'A');
  for (char &c : ref) c = letters[rng() % 4];
  std::string query = ref;
  for (size_t k = 0; k < n / 100; k++) {
    char &c = query[rng() % n];
    c = letters[(std::string("ACGT").find(c) + 1 + rng() % 3) % 4];
  }
  const size_t inversion = std::min<size_t>(200000, n / 100);
  for (int k = 0; k < 5; k++) {
    size_t at = rng() % (n - inversion);
    std::reverse(query.begin() + long(at), query.begin() + long(at + inversion));
    for (size_t j = at; j < at + inversion; j++) query[j] = complement(query[j]);
  }
  for (int k = 0; k < 5; k++) {  // duplications: a copy of a 5 kb stretch elsewhere
    size_t from = rng() % (n - 5000), to = rng() % (n - 5000);
    query.replace(to, 5000, query.substr(from, 5000));
  }
  writeFasta(argv[2], "ref", ref);
  writeFasta(argv[3], "query", query);
  return 0;
}
