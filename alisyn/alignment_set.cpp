#include "alignment_set.h"

#include "tool_error.h"

#include <cstdlib>

namespace alisyn {

namespace {

uint32_t numberOf(Sequences &side, std::string_view name, uint64_t length, const aliconv::Place &place) {
  if (side.last == UINT32_MAX || side.names[side.last] != name) {
    auto at = side.numbers.find(std::string(name));
    if (at == side.numbers.end()) {
      if (side.names.size() == UINT32_MAX) place.fail("more sequences than alisyn can number");
      at = side.numbers.emplace(std::string(name), static_cast<uint32_t>(side.names.size())).first;
      side.names.emplace_back(name);
      side.lengths.push_back(length);
    }
    side.last = at->second;
  }
  uint64_t &known = side.lengths[side.last];
  if (length && known && length != known)
    place.fail("the length of " + std::string(name) + " differs from the one stated before");
  if (!known) known = length;
  return side.last;
}

class CollectSink : public aliconv::RecordSink {
 public:
  CollectSink(AlignmentSet &set, const std::string &inputName) : set_(set), inputName_(inputName) {}

  void alignment(aliconv::Alignment &a) override {
    const aliconv::Place place{inputName_, a.lineNumber, aliconv::isBinarySam(set_.conversion.format)};
    if (set_.pieces.empty()) aliconv::settleScore(set_.conversion, a);
    if (set_.pieces.size() == UINT32_MAX) place.fail("more alignments than alisyn can number");
    Piece p;
    p.reference = numberOf(set_.references, a.xName, a.xLength, place);
    p.query = numberOf(set_.queries, a.yName, a.yLength, place);
    p.xb = a.xb, p.xe = a.xe, p.yb = a.yb, p.ye = a.ye;
    p.strand = a.strand;
    // The score as aliconv writes it into an alignment line, so that both
    // programs rank alignments alike.
    p.score = std::strtod(aliconv::alignmentScoreLine(a, set_.conversion, place).score.c_str(), nullptr);
    set_.pieces.push_back(p);
    set_.records.push_back(a.record);
    set_.identity.push_back(a.identityDenominator ? static_cast<double>(a.identityNumerator) /
                                                       static_cast<double>(a.identityDenominator)
                                                 : -1.0);
  }

 private:
  AlignmentSet &set_;
  const std::string &inputName_;
};

}  // namespace

AlignmentSet readAlignments(aliconv::Input &input, aliconv::ScoreKind score, bool checkBlocks, int threads) {
  AlignmentSet set;
  set.conversion.format = input.format();
  set.conversion.score = score;
  CollectSink sink(set, input.name());
  aliconv::ReadSettings settings;
  settings.blocks = checkBlocks;
  settings.parsingThreads = threads - 1;
  input.read(sink, settings);
  return set;
}

}  // namespace alisyn
