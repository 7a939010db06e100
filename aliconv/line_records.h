// The reading loop of the formats that hold one record a line (PAF, BLAST
// tabular, lastz's general table, show-coords tables).
#ifndef ALICONV_LINE_RECORDS_H
#define ALICONV_LINE_RECORDS_H

#include "readers.h"

#include <functional>
#include <vector>

namespace aliconv {

// What a line outside the records is to a picker.
struct OutsideLine {
  bool outside = false;  // false: the line is a record
  LineRole role = LineRole::OTHER;
  uint64_t count = 0;  // for HIT_COUNT
};

using LineClassifier = std::function<OutsideLine(std::string_view line, const Place &place)>;
using RecordParser =
    std::function<void(const std::vector<std::string_view> &fields, const Place &place, Alignment &a)>;

// Reads every line: those the classifier calls outside go to the sink as
// lines only; every other line is a record, split at tabs and parsed.
void readLineRecords(common::LineInput &input, RecordSink &sink, const ReadSettings &settings,
                     const LineClassifier &classify, const RecordParser &parse);

}  // namespace aliconv

#endif
