#include "sequence_layout.h"

#include <gtest/gtest.h>

namespace {

using aliplot::Alignment;
using aliplot::PlotInput;
using aliplot::Sequence;
using aliplot::SequenceOrder;

// Adds an alignment of query q to reference r.
void add(PlotInput &plot, uint32_t r, uint32_t q, Alignment a) {
  plot.alignments.push_back(a);
  plot.referenceOf.push_back(r);
  plot.queryOf.push_back(q);
}

// Two references of 1000 and 3000 bases; q0 lies on the second reference,
// q1 on the first and mostly on the minus strand, q2 on the second's end.
PlotInput threePairs() {
  PlotInput plot;
  plot.references = {Sequence{"chrB", 1000}, Sequence{"chrA", 3000}};
  plot.queries = {Sequence{"q0", 500}, Sequence{"q1", 400}, Sequence{"q2", 0}};
  add(plot, 1, 0, {101, 1, 600, 500, 1, '+'});
  add(plot, 0, 1, {1, 1, 300, 300, 1, '-'});
  add(plot, 0, 1, {301, 301, 350, 350, 1, '+'});
  add(plot, 1, 2, {2001, 1, 2200, 200, 1, '+'});
  return plot;
}

TEST(SequenceLayout, StacksQueriesAlongTheReferencesAndTurnsMinusOnes) {
  PlotInput plot = threePairs();
  aliplot::layOutSequences(plot, SequenceOrder::FILE);
  ASSERT_TRUE(plot.bands);
  EXPECT_EQ(plot.xLength, 4000);
  EXPECT_EQ(plot.yLength, 400 + 500 + 200);  // q2's length: its furthest position
  ASSERT_EQ(plot.queries.size(), 3u);
  EXPECT_EQ(plot.queries[0].name, "q1");
  EXPECT_TRUE(plot.queries[0].flipped);
  EXPECT_EQ(plot.queries[1].name, "q0");
  EXPECT_EQ(plot.queries[1].offset, 400);
  EXPECT_EQ(plot.queries[2].name, "q2");
  // q1's minus alignment becomes a plus one read from its end; q0 moves up.
  EXPECT_EQ(plot.alignments[1].strand, '+');
  EXPECT_EQ(plot.alignments[1].yb, 101);
  EXPECT_EQ(plot.alignments[1].ye, 400);
  EXPECT_EQ(plot.alignments[2].strand, '-');
  EXPECT_EQ(plot.alignments[0].xb, 1101);
  EXPECT_EQ(plot.alignments[0].yb, 401);
  EXPECT_EQ(plot.minusAlignments, 1u);
  EXPECT_EQ(plot.queryOf, (std::vector<uint32_t>{1, 0, 0, 2}));
}

struct OrderCase {
  SequenceOrder order;
  std::vector<std::string> references;
};

class SequenceLayoutOrders : public ::testing::TestWithParam<OrderCase> {};

TEST_P(SequenceLayoutOrders, PutsTheReferencesInTheOrderAsked) {
  PlotInput plot = threePairs();
  plot.references.push_back(Sequence{"chrC", 2000});
  add(plot, 2, 0, {1, 1, 10, 10, 1, '+'});
  aliplot::layOutSequences(plot, GetParam().order);
  std::vector<std::string> names;
  for (const Sequence &reference : plot.references) names.push_back(reference.name);
  EXPECT_EQ(names, GetParam().references);
  for (size_t i = 1; i < plot.references.size(); ++i)
    EXPECT_EQ(plot.references[i].offset, plot.references[i - 1].offset + plot.references[i - 1].length);
}

INSTANTIATE_TEST_SUITE_P(, SequenceLayoutOrders,
                         ::testing::Values(OrderCase{SequenceOrder::FILE, {"chrB", "chrA", "chrC"}},
                                           OrderCase{SequenceOrder::LENGTH, {"chrA", "chrC", "chrB"}},
                                           OrderCase{SequenceOrder::NAME, {"chrA", "chrB", "chrC"}}));

TEST(SequenceLayout, LeavesOnePairAsItIs) {
  PlotInput plot;
  plot.references = {Sequence{"r", 0}};
  plot.queries = {Sequence{"q", 0}};
  add(plot, 0, 0, {5, 7, 9, 11, 1, '-'});
  aliplot::layOutSequences(plot, SequenceOrder::NAME);
  EXPECT_FALSE(plot.bands);
  EXPECT_EQ(plot.alignments[0].yb, 7);
  EXPECT_EQ(plot.alignments[0].strand, '-');
}

}  // namespace

namespace {

// Adds a block of query q on reference r.
void addBlock(PlotInput &plot, uint32_t r, uint32_t q, Alignment extent, aliplot::BlockClass blockClass) {
  plot.blockExtents.push_back(extent);
  plot.blockReferenceOf.push_back(r);
  plot.blockQueryOf.push_back(q);
  plot.blocks.push_back({plot.blocks.size() + 1, blockClass, 1, "1"});
}

std::vector<std::string> queryNames(const PlotInput &plot) {
  std::vector<std::string> names;
  for (const Sequence &query : plot.queries) names.push_back((query.flipped ? "-" : "") + query.name);
  return names;
}

// alisyn's view wins over the alignments': q1 lies mostly on the minus
// strand of chrB, but its syntenic block is on the plus strand; q0's
// syntenic block lies before q2 on chrA, though its alignments lie after.
TEST(SequenceLayout, PlacesAndTurnsQueriesBySyntenicBlocks) {
  PlotInput plot = threePairs();
  add(plot, 1, 0, {2501, 1, 2900, 400, 1, '+'});
  addBlock(plot, 0, 1, {301, 301, 350, 350, 1, '+'}, aliplot::BlockClass::SYNTENIC);
  addBlock(plot, 1, 0, {101, 1, 600, 500, 1, '+'}, aliplot::BlockClass::SYNTENIC);
  addBlock(plot, 1, 0, {2501, 1, 2900, 400, 1, '+'}, aliplot::BlockClass::DUPLICATED);
  aliplot::layOutSequences(plot, SequenceOrder::FILE);
  EXPECT_EQ(queryNames(plot), (std::vector<std::string>{"q1", "q0", "q2"}));
  // The blocks move with their sequences: q0's block starts where its band does.
  EXPECT_EQ(plot.blockQueryOf, (std::vector<uint32_t>{0, 1, 1}));
  EXPECT_EQ(plot.blockExtents[1].xb, 1101);
  EXPECT_EQ(plot.blockExtents[1].yb, 401);
}

// An assignment names the reference and orientation outright, even
// against the alignments and the blocks.
TEST(SequenceLayout, FollowsTheAssignment) {
  PlotInput plot = threePairs();
  addBlock(plot, 0, 1, {1, 1, 300, 300, 1, '-'}, aliplot::BlockClass::SYNTENIC);
  plot.assigned.assign(3, aliplot::Assignment());
  plot.assigned[1] = {0, '+'};
  plot.assigned[2] = {1, '-'};
  aliplot::layOutSequences(plot, SequenceOrder::FILE);
  EXPECT_EQ(queryNames(plot), (std::vector<std::string>{"q1", "q0", "-q2"}));
  // The assignments follow their queries into canvas order.
  ASSERT_EQ(plot.assigned.size(), 3u);
  EXPECT_EQ(plot.assigned[2].strand, '-');
  EXPECT_EQ(plot.assigned[0].reference, 0);
}

}  // namespace
