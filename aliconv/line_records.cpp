#include "line_records.h"

#include "line_input.h"

namespace aliconv {

void readLineRecords(common::LineInput &input, RecordSink &sink, const ReadSettings &settings,
                     const LineClassifier &classify, const RecordParser &parse) {
  std::vector<std::string_view> fields;
  Alignment a;
  std::string_view line;
  uint64_t record = 0;
  while (input.next(line)) {
    const Place place{input.name(), input.lineNumber()};
    const OutsideLine kind = classify(line, place);
    if (kind.outside) {
      if (settings.lines) sink.line(line, kind.count, kind.role);
      continue;
    }
    ++record;
    if (settings.lines) sink.line(line, record, LineRole::RECORD);
    if (!sink.wanted(record)) continue;
    splitFields(line, '\t', fields);
    parse(fields, place, a);
    a.record = record;
    a.lineNumber = input.lineNumber();
    sink.alignment(a);
  }
}

}  // namespace aliconv
