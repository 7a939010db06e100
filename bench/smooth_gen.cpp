// Writes a hit table of N realistic word hits to standard output: a header
// line, then records "dir pos len pvalue word" along a 100 Mbp sequence.
// Hits come in clusters (a word family hitting one region), clusters in
// random order; about a third of the records are candidates (direction
// code at most 1, p-value below 0.01, length at most 22).
// Usage: smooth_gen N [seed]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

const long genome = 100000000;

void write_record(std::mt19937_64 &rng, long center, std::string &line) {
  static const char bases[] = "ACGT";
  std::uniform_int_distribution<int> dir(0, 9), len(6, 30), offset(-300, 300), base(0, 3);
  std::uniform_real_distribution<double> exponent(-6.0, 0.0);
  const int d = dir(rng) < 8 ? dir(rng) % 2 : 2;  // 80 % on a counted strand
  const int l = len(rng);
  long pos = center + offset(rng);
  pos = pos < 1 ? 1 : pos > genome ? genome : pos;
  // Exponents spread evenly from 1e-6 to 1, so about 2 in 3 fall below 0.01.
  const double p = std::pow(10.0, exponent(rng));
  char head[96];
  std::snprintf(head, sizeof head, "%d\t%ld\t%d\t%.3g\t", d, pos, l, p);
  line = head;
  for (int i = 0; i < l; ++i)
    line += bases[base(rng)];
  line += '\n';
  std::fputs(line.c_str(), stdout);
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fputs("usage: smooth_gen N [seed]\n", stderr);
    return 2;
  }
  const long n = std::strtol(argv[1], nullptr, 10);
  std::mt19937_64 rng(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 42);
  std::uniform_int_distribution<long> where(1, genome);
  std::geometric_distribution<int> cluster_size(0.15);
  std::puts("dir\tpos\tlen\tpvalue\tword");
  std::string line;
  for (long written = 0; written < n;) {
    const long center = where(rng);
    for (int k = 1 + cluster_size(rng); k > 0 && written < n; --k, ++written)
      write_record(rng, center, line);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
