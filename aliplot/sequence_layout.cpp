#include "sequence_layout.h"

#include "svg_text.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace aliplot {

namespace {

// Each sequence's band length: its stated length, or the furthest position
// aligned when that is further (or no length is stated).
void settleLengths(std::vector<Sequence> &references, std::vector<Sequence> &queries,
                   const std::vector<Alignment> &pieces, const std::vector<uint32_t> &referenceOf,
                   const std::vector<uint32_t> &queryOf) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    Sequence &reference = references[referenceOf[i]];
    Sequence &query = queries[queryOf[i]];
    reference.length = std::max(reference.length, pieces[i].xe);
    query.length = std::max(query.length, pieces[i].ye);
  }
}

std::vector<uint32_t> referenceOrder(const std::vector<Sequence> &references, SequenceOrder order) {
  std::vector<uint32_t> indices(references.size());
  std::iota(indices.begin(), indices.end(), 0);
  if (order == SequenceOrder::LENGTH)
    std::stable_sort(indices.begin(), indices.end(),
                     [&](uint32_t a, uint32_t b) { return references[a].length > references[b].length; });
  if (order == SequenceOrder::NAME)
    std::stable_sort(indices.begin(), indices.end(),
                     [&](uint32_t a, uint32_t b) { return references[a].name < references[b].name; });
  return indices;
}

// The reference a query is placed along and whether it is turned over.
struct Anchor {
  uint32_t reference = 0;
  bool flipped = false;
};

// Each query's reference where most of its aligned bases lie (ties go to
// the reference drawn first), turned over when most of those bases lie on
// the minus strand.
std::vector<Anchor> alignedAnchors(const PlotInput &plot) {
  std::unordered_map<uint64_t, double> bases;  // per (query, reference)
  for (size_t i = 0; i < plot.alignments.size(); ++i)
    bases[uint64_t{plot.queryOf[i]} << 32 | plot.referenceOf[i]] +=
        static_cast<double>(plot.alignments[i].xe - plot.alignments[i].xb + 1);
  std::vector<double> bestBases(plot.queries.size(), -1);
  std::vector<Anchor> anchors(plot.queries.size());
  for (const auto &[key, weight] : bases) {
    const auto query = static_cast<uint32_t>(key >> 32), reference = static_cast<uint32_t>(key);
    if (weight > bestBases[query] || (weight == bestBases[query] && plot.references[reference].offset <
                                                                         plot.references[anchors[query].reference].offset)) {
      bestBases[query] = weight;
      anchors[query].reference = reference;
    }
  }
  std::vector<double> minus(plot.queries.size());
  for (size_t i = 0; i < plot.alignments.size(); ++i) {
    const uint32_t q = plot.queryOf[i];
    if (plot.referenceOf[i] != anchors[q].reference) continue;
    const double weight = static_cast<double>(plot.alignments[i].xe - plot.alignments[i].xb + 1);
    minus[q] += plot.alignments[i].strand == '-' ? weight : -weight;
  }
  for (size_t q = 0; q < anchors.size(); ++q) anchors[q].flipped = minus[q] > 0;
  return anchors;
}

// alisyn's view where it has one: a query's syntenic blocks lie on its
// reference and main strand (should they disagree, as in an edited table,
// the longest in the query decides), and its assignment names both.
void applySynteny(const PlotInput &plot, std::vector<Anchor> &anchors) {
  std::vector<int64_t> heaviest(plot.queries.size(), -1);
  for (size_t b = 0; b < plot.blocks.size(); ++b) {
    if (plot.blocks[b].blockClass != BlockClass::SYNTENIC) continue;
    const uint32_t q = plot.blockQueryOf[b];
    const Alignment &extent = plot.blockExtents[b];
    const auto span = [](const Alignment &a) { return a.ye - a.yb; };
    if (heaviest[q] >= 0 && span(plot.blockExtents[static_cast<size_t>(heaviest[q])]) >= span(extent)) continue;
    heaviest[q] = static_cast<int64_t>(b);
    anchors[q] = {plot.blockReferenceOf[b], extent.strand == '-'};
  }
  for (size_t q = 0; q < plot.assigned.size(); ++q)
    if (plot.assigned[q].reference >= 0)
      anchors[q] = {static_cast<uint32_t>(plot.assigned[q].reference), plot.assigned[q].strand == '-'};
}

// Adds the canvas x of each piece's middle on its query's anchor reference,
// weighted by its reference bases; `strand` also asks for the anchor's strand.
void addMiddles(const PlotInput &plot, const std::vector<Anchor> &anchors, const std::vector<Alignment> &pieces,
                const std::vector<uint32_t> &referenceOf, const std::vector<uint32_t> &queryOf,
                const std::vector<bool> &taken, bool strand, std::vector<double> &sum, std::vector<double> &weights) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Anchor &anchor = anchors[queryOf[i]];
    const Alignment &a = pieces[i];
    if (!taken[i] || referenceOf[i] != anchor.reference || (strand && (a.strand == '-') != anchor.flipped)) continue;
    const double weight = static_cast<double>(a.xe - a.xb + 1);
    sum[queryOf[i]] += weight * (static_cast<double>(plot.references[anchor.reference].offset) +
                                 static_cast<double>(a.xb + a.xe) / 2);
    weights[queryOf[i]] += weight;
  }
}

// Each query's position along the canvas: the mean middle of its blocks
// (but duplicated ones) on its anchor's reference and strand, or when it
// has none, of its alignments on that reference.
std::vector<double> queryPositions(const PlotInput &plot, const std::vector<Anchor> &anchors) {
  const size_t n = plot.queries.size();
  std::vector<double> blockSum(n), blockWeight(n), sum(n), weight(n);
  std::vector<bool> placing(plot.blocks.size());
  for (size_t b = 0; b < placing.size(); ++b) placing[b] = plot.blocks[b].blockClass != BlockClass::DUPLICATED;
  addMiddles(plot, anchors, plot.blockExtents, plot.blockReferenceOf, plot.blockQueryOf, placing, true, blockSum,
             blockWeight);
  addMiddles(plot, anchors, plot.alignments, plot.referenceOf, plot.queryOf,
             std::vector<bool>(plot.alignments.size(), true), false, sum, weight);
  std::vector<double> positions(n);
  for (size_t q = 0; q < n; ++q)
    positions[q] = blockWeight[q] > 0 ? blockSum[q] / blockWeight[q] : weight[q] > 0 ? sum[q] / weight[q] : 0;
  return positions;
}

// Sorts the sequences by offset and renumbers the indices of the
// alignments and blocks (`indices`); `assigned`, when per sequence, follows.
void sortByOffset(std::vector<Sequence> &sequences, std::initializer_list<std::vector<uint32_t> *> indices,
                  std::vector<Assignment> *assigned) {
  std::vector<uint32_t> order(sequences.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return sequences[a].offset < sequences[b].offset; });
  std::vector<uint32_t> renumbered(sequences.size());
  std::vector<Sequence> sorted;
  std::vector<Assignment> sortedAssigned;
  for (const uint32_t i : order) {
    renumbered[i] = static_cast<uint32_t>(sorted.size());
    sorted.push_back(std::move(sequences[i]));
    if (assigned && !assigned->empty()) sortedAssigned.push_back((*assigned)[i]);
  }
  for (std::vector<uint32_t> *indexOf : indices)
    for (uint32_t &i : *indexOf) i = renumbered[i];
  sequences = std::move(sorted);
  if (assigned) *assigned = std::move(sortedAssigned);
}

// Moves alignments (or blocks' extents) to canvas positions; a turned
// query's pieces change strand.
void movePieces(const PlotInput &plot, std::vector<Alignment> &pieces, const std::vector<uint32_t> &referenceOf,
                const std::vector<uint32_t> &queryOf) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    Alignment &a = pieces[i];
    const Sequence &reference = plot.references[referenceOf[i]];
    const Sequence &query = plot.queries[queryOf[i]];
    if (query.flipped) {
      const int64_t yb = query.length - a.ye + 1;
      a.ye = query.length - a.yb + 1;
      a.yb = yb;
      a.strand = a.strand == '-' ? '+' : '-';
    }
    a.xb += reference.offset;
    a.xe += reference.offset;
    a.yb += query.offset;
    a.ye += query.offset;
  }
}

}  // namespace

void layOutSequences(PlotInput &plot, SequenceOrder order) {
  if (plot.references.size() == 1 && plot.queries.size() == 1) return;
  settleLengths(plot.references, plot.queries, plot.alignments, plot.referenceOf, plot.queryOf);
  settleLengths(plot.references, plot.queries, plot.blockExtents, plot.blockReferenceOf, plot.blockQueryOf);
  int64_t offset = 0;
  for (const uint32_t r : referenceOrder(plot.references, order)) {
    plot.references[r].offset = offset;
    offset += plot.references[r].length;
  }
  plot.xLength = offset;
  std::vector<Anchor> anchors = alignedAnchors(plot);
  applySynteny(plot, anchors);
  const std::vector<double> positions = queryPositions(plot, anchors);
  std::vector<uint32_t> queryOrder(plot.queries.size());
  std::iota(queryOrder.begin(), queryOrder.end(), 0);
  std::stable_sort(queryOrder.begin(), queryOrder.end(),
                   [&](uint32_t a, uint32_t b) { return positions[a] < positions[b]; });
  offset = 0;
  for (const uint32_t q : queryOrder) {
    plot.queries[q].offset = offset;
    plot.queries[q].flipped = anchors[q].flipped;
    offset += plot.queries[q].length;
  }
  plot.yLength = offset;
  movePieces(plot, plot.alignments, plot.referenceOf, plot.queryOf);
  movePieces(plot, plot.blockExtents, plot.blockReferenceOf, plot.blockQueryOf);
  plot.minusAlignments = 0;
  for (const Alignment &a : plot.alignments) plot.minusAlignments += a.strand == '-';
  sortByOffset(plot.references, {&plot.referenceOf, &plot.blockReferenceOf}, nullptr);
  sortByOffset(plot.queries, {&plot.queryOf, &plot.blockQueryOf}, &plot.assigned);
  const auto count = [](size_t n, const char *what) { return groupedCount(n) + " " + what + (n == 1 ? "" : "s"); };
  plot.xName = count(plot.references.size(), "reference sequence");
  plot.yName = count(plot.queries.size(), "query sequence") + ", placed along the references";
  plot.bands = true;
}

}  // namespace aliplot
