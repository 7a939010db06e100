// The alignment file format that the chainer reads, checked with the
// chainer's own rules (common's reader) and handed over line by line. The
// records are the alignment lines, numbered as the chainer numbers them;
// the fragment lines right after one belong to it, as the chainer copies
// them with it.
#include "alignment_file.h"
#include "readers.h"

namespace aliconv {

void readAlignmentFile(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  common::AlignmentReader reader(input);
  common::AlignmentItem item;
  Alignment a;
  std::string yName;
  uint64_t record = 0;
  bool afterAlignment = false;
  while (reader.next(item)) {
    if (item.kind == common::AlignmentItem::SEQUENCE_PAIR) yName.assign(item.yName);
    if (item.kind == common::AlignmentItem::ALIGNMENT) {
      ++record;
      afterAlignment = true;
      if (settings.lines) sink.line(item.line, record, LineRole::RECORD);
      a.xName = item.name;
      a.yName = yName;
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
    afterAlignment = afterAlignment && item.line.find("fragment") != std::string_view::npos;
    if (settings.lines)
      sink.line(item.line, afterAlignment ? record : 0,
                afterAlignment ? LineRole::RECORD : LineRole::OTHER);
  }
}

}  // namespace aliconv
