// The alignment file format that the chainer reads, checked with the
// chainer's own rules (common's reader) and handed over line by line. The
// records are the alignment lines, numbered as the chainer numbers them;
// the fragment lines right after one belong to it, as the chainer copies
// them with it.
//
// The chainer ignores every line that is no alignment, so a file of another
// format forced through here would convert to nothing without a word. A
// file that holds no alignment line is therefore refused at its first line
// that is neither a comment, blank, a sequence line nor a fragment line;
// one with alignment lines, or with only such lines, is taken.
#include "alignment_file.h"
#include "readers.h"
#include "tool_error.h"

#include <algorithm>

namespace aliconv {

void readAlignmentFile(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  common::AlignmentReader reader(input);
  common::AlignmentItem item;
  Alignment a;
  std::string pairX, yName;
  uint64_t xLength = 0, yLength = 0;  // from the sequence line
  uint64_t record = 0;
  bool afterAlignment = false;
  uint64_t firstForeignLine = 0;
  while (reader.next(item)) {
    if (item.kind == common::AlignmentItem::SEQUENCE_PAIR) {
      pairX.assign(item.name);
      yName.assign(item.yName);
      xLength = static_cast<uint64_t>(std::max<int64_t>(item.xe, 0));
      yLength = static_cast<uint64_t>(std::max<int64_t>(item.ye, 0));
    }
    if (item.kind == common::AlignmentItem::ALIGNMENT) {
      ++record;
      afterAlignment = true;
      if (settings.lines) sink.line(item.line, record, LineRole::RECORD);
      a.xName = item.name;
      a.yName = yName;
      // The sequence line states the lengths of the pair whose first
      // sequence it names; a line naming another sequence states none.
      const bool stated = item.name == pairX;
      a.xLength = stated ? xLength : 0;
      a.yLength = stated ? yLength : 0;
      a.xb = static_cast<uint64_t>(item.xb);
      a.xe = static_cast<uint64_t>(item.xe);
      a.yb = static_cast<uint64_t>(item.yb);
      a.ye = static_cast<uint64_t>(item.ye);
      a.strand = item.strand;
      a.alignerScore = item.scoreText;
      a.record = record;
      a.lineNumber = item.lineNumber;
      sink.alignment(a);
      continue;
    }
    if (item.kind == common::AlignmentItem::OTHER && !firstForeignLine && item.feature != "fragment" &&
        !isBlankLine(item.line))
      firstForeignLine = item.lineNumber;
    afterAlignment = afterAlignment && item.line.find("fragment") != std::string_view::npos;
    if (settings.lines)
      sink.line(item.line, afterAlignment ? record : 0,
                afterAlignment ? LineRole::RECORD : LineRole::OTHER);
  }
  if (record == 0 && firstForeignLine)
    throw common::ToolError(common::at(input.name(), firstForeignLine, "not an alignment file line"));
}

}  // namespace aliconv
