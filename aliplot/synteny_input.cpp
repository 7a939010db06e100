#include "synteny_input.h"

#include "fields.h"
#include "line_input.h"
#include "tool_error.h"

#include <unordered_map>

namespace aliplot {

namespace {

constexpr const char *CLASS_NAMES[BLOCK_CLASSES] = {"syntenic", "inverted", "translocated", "duplicated"};
constexpr const char BLOCKS_HEADER[] = "#id\treference\tref_start\tref_end\tquery\tquery_start\tquery_end\tstrand\tclass";
constexpr const char ASSIGN_HEADER[] = "#query\tquery_length\treference\torientation";
constexpr size_t BLOCK_FIELDS = 13, ASSIGN_FIELDS = 8;

using NameIndex = std::unordered_map<std::string_view, uint32_t>;

NameIndex indexOf(const std::vector<Sequence> &sequences) {
  NameIndex index;
  for (size_t i = 0; i < sequences.size(); ++i) index.emplace(sequences[i].name, static_cast<uint32_t>(i));
  return index;
}

// Reads the table's lines after its header, handing each line's fields
// (checked in number) to take(fields, place).
template <typename Take>
void readTable(const std::string &path, const char *header, const char *what, size_t fieldCount, Take take) {
  common::LineInput input(path);
  std::string_view line;
  if (!input.next(line) || !aliconv::startsWith(line, header))
    throw common::ToolError(common::at(input.name(), 1, std::string("not ") + what + " of alisyn (no header line \"" +
                                                            std::string(header).substr(0, 20) + "...\")"));
  std::vector<std::string_view> fields;
  while (input.next(line)) {
    if (aliconv::isBlankLine(line)) continue;
    const aliconv::Place place{input.name(), input.lineNumber()};
    aliconv::splitFields(line, '\t', fields);
    if (fields.size() != fieldCount)
      place.fail(std::to_string(fields.size()) + " fields, not the " + std::to_string(fieldCount) + " of " + what);
    take(fields, place);
  }
}

// The sequence's index, or -1 for a sequence of another pair than the
// chosen one; a name no alignment has is refused.
int64_t sequenceIndex(const NameIndex &index, std::string_view name, const char *side, bool pairChosen,
                      const aliconv::Place &place, const std::string &alignments) {
  const auto found = index.find(name);
  if (found != index.end()) return found->second;
  if (pairChosen) return -1;
  place.fail("names the " + std::string(side) + " " + std::string(name) + ", of which " + alignments +
             " holds no alignment: the table belongs to other alignments");
}

char strandField(std::string_view text, const aliconv::Place &place) {
  if (text != "+" && text != "-") place.fail("the strand is '" + std::string(text) + "', not + or -");
  return text[0];
}

BlockClass classField(std::string_view text, const aliconv::Place &place) {
  for (int c = 0; c < BLOCK_CLASSES; ++c)
    if (text == CLASS_NAMES[c]) return static_cast<BlockClass>(c);
  place.fail("unknown class '" + std::string(text) + "'");
}

int64_t positionField(std::string_view text, const aliconv::Place &place, const char *what) {
  const uint64_t value = aliconv::unsignedField(text, place, what);
  if (value == 0 || value > static_cast<uint64_t>(INT64_MAX / 2)) place.fail(std::string(what) + " is out of range");
  return static_cast<int64_t>(value);
}

}  // namespace

const char *blockClassName(BlockClass blockClass) { return CLASS_NAMES[static_cast<int>(blockClass)]; }

void readBlocks(const std::string &path, PlotInput &plot, const PairChoice &pair) {
  const NameIndex references = indexOf(plot.references), queries = indexOf(plot.queries);
  const bool pairChosen = !pair.reference.empty();
  plot.blocksFile = path == "-" ? "standard input" : path;
  readTable(path, BLOCKS_HEADER, "a blocks table", BLOCK_FIELDS, [&](const auto &f, const aliconv::Place &place) {
    const int64_t reference = sequenceIndex(references, f[1], "reference", pairChosen, place, plot.title);
    const int64_t query = sequenceIndex(queries, f[4], "query", pairChosen, place, plot.title);
    if (reference < 0 || query < 0) return;
    Alignment extent;
    extent.xb = positionField(f[2], place, "the reference start");
    extent.xe = positionField(f[3], place, "the reference end");
    extent.yb = positionField(f[5], place, "the query start");
    extent.ye = positionField(f[6], place, "the query end");
    if (extent.xe < extent.xb || extent.ye < extent.yb) place.fail("a block ends before it starts");
    extent.strand = strandField(f[7], place);
    BlockFacts facts;
    facts.id = aliconv::unsignedField(f[0], place, "the block's id");
    facts.blockClass = classField(f[8], place);
    facts.alignments = aliconv::unsignedField(f[9], place, "the number of alignments");
    if (!aliconv::isScore(f[10])) place.fail("the score is no number");
    facts.score = std::string(f[10]);
    extent.score = std::strtof(facts.score.c_str(), nullptr);
    if (!f[12].empty()) {
      uint64_t numerator = 0, denominator = 0;
      if (!aliconv::decimalFraction(f[12], numerator, denominator) || numerator > 100 * denominator)
        place.fail("the identity is no percentage");
      extent.identity = static_cast<float>(static_cast<double>(numerator) / static_cast<double>(denominator));
    }
    plot.blockExtents.push_back(extent);
    plot.blockReferenceOf.push_back(static_cast<uint32_t>(reference));
    plot.blockQueryOf.push_back(static_cast<uint32_t>(query));
    plot.blocks.push_back(std::move(facts));
  });
}

void readAssignments(const std::string &path, PlotInput &plot, const PairChoice &pair) {
  const NameIndex references = indexOf(plot.references), queries = indexOf(plot.queries);
  const bool pairChosen = !pair.reference.empty();
  plot.assigned.assign(plot.queries.size(), Assignment());
  readTable(path, ASSIGN_HEADER, "an assignment table", ASSIGN_FIELDS, [&](const auto &f, const aliconv::Place &place) {
    const int64_t query = sequenceIndex(queries, f[0], "query", pairChosen, place, plot.title);
    const int64_t reference = sequenceIndex(references, f[2], "reference", pairChosen, place, plot.title);
    if (reference < 0 || query < 0) return;
    plot.assigned[static_cast<size_t>(query)] = Assignment{reference, strandField(f[3], place)};
  });
}

}  // namespace aliplot
