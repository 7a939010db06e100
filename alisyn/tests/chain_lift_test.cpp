// The chain file read back with a reader written from the format's
// description: every chain's header agrees with its pieces and the
// sequence sizes, and every aligned base of the kept alignments (read back
// from the kept file through aliconv's readers) lifts to the base its
// alignment pairs it with, unless an overlapping alignment of the same
// block lifts it (the overlap is lifted once).
#include "readers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

struct ChainHeader {
  std::string tName, qName;
  uint64_t tSize = 0, tStart = 0, tEnd = 0, qSize = 0, qStart = 0, qEnd = 0;
  char qStrand = '+';
};

// Reference base (0-based) -> query base on the chain's query strand
// (0-based), for one reference, query and strand; -1: not lifted. Blocks
// may share a few bases within the overlap tolerance, or many without a
// filter: a base lifted by a second chain goes to `more`.
struct Lift {
  std::vector<int64_t> to;
  std::multimap<uint64_t, int64_t> more;
  bool lifts(uint64_t t, int64_t q) const {
    if (to[t] == q) return true;
    const auto [first, last] = more.equal_range(t);
    for (auto at = first; at != last; ++at)
      if (at->second == q) return true;
    return false;
  }
};

std::map<std::string, Lift> readChainFile(const std::string &path, size_t &chains) {
  std::ifstream in(path);
  std::map<std::string, Lift> lifts;
  std::string line;
  chains = 0;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::istringstream words(line);
    std::string word;
    long long score = 0;
    std::string tStrand;
    ChainHeader h;
    words >> word >> score >> h.tName >> h.tSize >> tStrand >> h.tStart >> h.tEnd >> h.qName >> h.qSize >>
        h.qStrand >> h.qStart >> h.qEnd;
    EXPECT_EQ("chain", word);
    EXPECT_EQ("+", tStrand);
    EXPECT_TRUE(h.tStart < h.tEnd && h.tEnd <= h.tSize) << line;
    EXPECT_TRUE(h.qStart < h.qEnd && h.qEnd <= h.qSize) << line;
    ++chains;
    Lift &lift = lifts[h.tName + " " + h.qName + " " + h.qStrand];
    if (lift.to.empty()) lift.to.assign(h.tSize, -1);
    uint64_t t = h.tStart, q = h.qStart;
    for (;;) {
      EXPECT_TRUE(std::getline(in, line));
      std::istringstream numbers(line);
      uint64_t size = 0, dt = 0, dq = 0;
      numbers >> size;
      EXPECT_GT(size, 0u);
      EXPECT_LE(t + size, h.tEnd);
      for (uint64_t k = 0; k < size && t + k < h.tEnd; ++k) {
        if (lift.to[t + k] == -1)
          lift.to[t + k] = static_cast<int64_t>(q + k);
        else
          lift.more.emplace(t + k, static_cast<int64_t>(q + k));
      }
      t += size, q += size;
      if (!(numbers >> dt >> dq)) break;
      t += dt, q += dq;
    }
    EXPECT_EQ(h.tEnd, t) << "the pieces do not end where the header says (reference)";
    EXPECT_EQ(h.qEnd, q) << "the pieces do not end where the header says (query)";
  }
  return lifts;
}

class KeptPairs : public aliconv::RecordSink {
 public:
  explicit KeptPairs(std::map<std::string, Lift> &lifts) : lifts_(lifts) {}
  void alignment(aliconv::Alignment &a) override {
    ++alignments;
    const auto at = lifts_.find(std::string(a.xName) + " " + std::string(a.yName) + " " + a.strand);
    ASSERT_NE(at, lifts_.end()) << "no chain for the pair of record " << a.record;
    ASSERT_FALSE(a.blocks.empty());
    for (const aliconv::Block &b : a.blocks)
      for (uint64_t k = 0; k < b.length; ++k) {
        const uint64_t t = b.x - 1 + k;
        const uint64_t q = a.strand == '+' ? b.y - 1 + k : a.yLength - (b.y + b.length - 1 - k);
        ++bases;
        if (at->second.lifts(t, static_cast<int64_t>(q))) ++lifted;
      }
  }
  uint64_t alignments = 0, bases = 0, lifted = 0;

 private:
  std::map<std::string, Lift> &lifts_;
};

// The alignments the blocks table counts.
uint64_t blockMembers(const std::string &path) {
  std::ifstream in(path);
  std::string line;
  uint64_t total = 0;
  while (std::getline(in, line)) {
    if (line[0] == '#') continue;
    std::istringstream fields(line);
    std::string field;
    for (int k = 0; k < 10; ++k) std::getline(fields, field, '\t');
    total += std::stoull(field);
  }
  return total;
}

struct Case {
  const char *input;
  const char *options;
  const char *kept;
};

// Names the case by its input in test listings.
void PrintTo(const Case &c, std::ostream *os) { *os << c.input << ' ' << c.options; }

class ChainLift : public ::testing::TestWithParam<Case> {};

TEST_P(ChainLift, EveryAlignedBaseLandsWhereItsAlignmentSays) {
  const std::string prefix = ::testing::TempDir() + "alisyn_lift_" + std::to_string(getpid());
  const std::string command = std::string(ALISYN_BINARY) + " " + GetParam().options + " -o " + prefix + " " +
                              ALISYN_DATA + "/" + GetParam().input + " 2>/dev/null";
  ASSERT_EQ(0, std::system(command.c_str())) << command;
  size_t chains = 0;
  std::map<std::string, Lift> lifts = readChainFile(prefix + ".chain", chains);
  EXPECT_GT(chains, 0u);
  KeptPairs pairs(lifts);
  aliconv::Input kept(prefix + ".kept." + GetParam().kept, nullptr);
  aliconv::ReadSettings settings;
  settings.blocks = true;
  kept.read(pairs, settings);
  EXPECT_GT(pairs.alignments, 0u);
  // Bases that an overlapping alignment lifts instead: at most the
  // tolerance (200 by default) on each side of each alignment.
  EXPECT_GE(pairs.lifted + 400 * pairs.alignments, pairs.bases);
  EXPECT_GT(pairs.lifted, pairs.bases * 98 / 100);
  EXPECT_EQ(blockMembers(prefix + ".blocks.tsv"), pairs.alignments) << "the kept file holds other alignments than the blocks";
  for (const char *suffix : {".chain", ".blocks.tsv", ".assign.tsv", ".pairs.tsv"}) std::remove((prefix + suffix).c_str());
  std::remove((prefix + ".kept." + GetParam().kept).c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ChainLift,
    ::testing::Values(Case{"ecoli_MG1655_vs_536.minimap2.asm20.paf.gz", "", "paf"},
                      Case{"ecoli_MG1655_vs_536.nucmer.default.delta.gz", "", "delta"},
                      Case{"ecoli_MG1655_vs_536.nucmer.delta.gz", "--filter none", "delta"},
                      Case{"mt.lastz.maf", "--filter none", "maf"},
                      Case{"mt.minimap2.paf", "--filter none --max-gap 0", "paf"},
                      Case{"mt.minimap2.bam", "", "bam"}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::to_string(info.index); });

}  // namespace
