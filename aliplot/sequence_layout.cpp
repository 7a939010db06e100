#include "sequence_layout.h"

#include "svg_text.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace aliplot {

namespace {

// Each sequence's band length: its stated length, or the furthest position
// aligned when that is further (or no length is stated).
void settleLengths(PlotInput &plot) {
  for (size_t i = 0; i < plot.alignments.size(); ++i) {
    Sequence &reference = plot.references[plot.referenceOf[i]];
    Sequence &query = plot.queries[plot.queryOf[i]];
    reference.length = std::max(reference.length, plot.alignments[i].xe);
    query.length = std::max(query.length, plot.alignments[i].ye);
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

// Where a query lies along the references: the canvas position of the mean
// of its alignments' middles on the reference where most of its aligned
// bases lie, and whether most of them lie on the minus strand.
struct QueryPlace {
  double position = 0;
  bool flipped = false;
};

std::vector<QueryPlace> queryPlaces(const PlotInput &plot) {
  // Aligned bases per (query, reference), then the best reference of each.
  std::unordered_map<uint64_t, double> bases;
  for (size_t i = 0; i < plot.alignments.size(); ++i)
    bases[uint64_t{plot.queryOf[i]} << 32 | plot.referenceOf[i]] +=
        static_cast<double>(plot.alignments[i].xe - plot.alignments[i].xb + 1);
  std::vector<double> bestBases(plot.queries.size(), -1);
  std::vector<uint32_t> best(plot.queries.size(), 0);
  for (const auto &[key, weight] : bases) {
    const auto query = static_cast<uint32_t>(key >> 32), reference = static_cast<uint32_t>(key);
    // Ties go to the reference drawn first.
    if (weight > bestBases[query] ||
        (weight == bestBases[query] && plot.references[reference].offset < plot.references[best[query]].offset)) {
      bestBases[query] = weight;
      best[query] = reference;
    }
  }
  std::vector<double> sum(plot.queries.size()), weightSum(plot.queries.size()), minus(plot.queries.size());
  for (size_t i = 0; i < plot.alignments.size(); ++i) {
    const uint32_t q = plot.queryOf[i];
    if (plot.referenceOf[i] != best[q]) continue;
    const Alignment &a = plot.alignments[i];
    const double weight = static_cast<double>(a.xe - a.xb + 1);
    sum[q] += weight * (static_cast<double>(a.xb + a.xe) / 2);
    weightSum[q] += weight;
    minus[q] += a.strand == '-' ? weight : -weight;
  }
  std::vector<QueryPlace> places(plot.queries.size());
  for (size_t q = 0; q < places.size(); ++q)
    places[q] = {static_cast<double>(plot.references[best[q]].offset) + sum[q] / weightSum[q], minus[q] > 0};
  return places;
}

// Sorts the sequences by offset and renumbers the alignments' indices.
void sortByOffset(std::vector<Sequence> &sequences, std::vector<uint32_t> &indexOf) {
  std::vector<uint32_t> order(sequences.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](uint32_t a, uint32_t b) { return sequences[a].offset < sequences[b].offset; });
  std::vector<uint32_t> renumbered(sequences.size());
  std::vector<Sequence> sorted;
  for (const uint32_t i : order) {
    renumbered[i] = static_cast<uint32_t>(sorted.size());
    sorted.push_back(std::move(sequences[i]));
  }
  for (uint32_t &i : indexOf) i = renumbered[i];
  sequences = std::move(sorted);
}

void moveAlignments(PlotInput &plot) {
  plot.minusAlignments = 0;
  for (size_t i = 0; i < plot.alignments.size(); ++i) {
    Alignment &a = plot.alignments[i];
    const Sequence &reference = plot.references[plot.referenceOf[i]];
    const Sequence &query = plot.queries[plot.queryOf[i]];
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
    plot.minusAlignments += a.strand == '-';
  }
}

}  // namespace

void layOutSequences(PlotInput &plot, SequenceOrder order) {
  if (plot.references.size() == 1 && plot.queries.size() == 1) return;
  settleLengths(plot);
  int64_t offset = 0;
  for (const uint32_t r : referenceOrder(plot.references, order)) {
    plot.references[r].offset = offset;
    offset += plot.references[r].length;
  }
  plot.xLength = offset;
  const std::vector<QueryPlace> places = queryPlaces(plot);
  std::vector<uint32_t> queryOrder(plot.queries.size());
  std::iota(queryOrder.begin(), queryOrder.end(), 0);
  std::stable_sort(queryOrder.begin(), queryOrder.end(),
                   [&](uint32_t a, uint32_t b) { return places[a].position < places[b].position; });
  offset = 0;
  for (const uint32_t q : queryOrder) {
    plot.queries[q].offset = offset;
    plot.queries[q].flipped = places[q].flipped;
    offset += plot.queries[q].length;
  }
  plot.yLength = offset;
  moveAlignments(plot);
  sortByOffset(plot.references, plot.referenceOf);
  sortByOffset(plot.queries, plot.queryOf);
  const auto count = [](size_t n, const char *what) { return groupedCount(n) + " " + what + (n == 1 ? "" : "s"); };
  plot.xName = count(plot.references.size(), "reference sequence");
  plot.yName = count(plot.queries.size(), "query sequence") + ", placed along the references";
  plot.bands = true;
}

}  // namespace aliplot
