// SAM text through common's line input (plain or gzip, files or standard
// input) and htslib's record parser; BAM and CRAM files through htslib.
#include "line_input.h"
#include "readers.h"
#include "sam_record.h"
#include "tool_error.h"

#include <htslib/kstring.h>

#include <memory>
#include <vector>

namespace aliconv {

namespace {

struct HeaderFree {
  void operator()(sam_hdr_t *header) const { sam_hdr_destroy(header); }
};
struct RecordFree {
  void operator()(bam1_t *record) const { bam_destroy1(record); }
};
struct FileClose {
  void operator()(samFile *file) const { sam_close(file); }
};
using Header = std::unique_ptr<sam_hdr_t, HeaderFree>;
using Record = std::unique_ptr<bam1_t, RecordFree>;

Record newRecord() {
  Record record(bam_init1());
  if (!record) throw common::ToolError("out of memory");
  return record;
}

// htslib reads an integer tag's value as far as it is digits, so that
// "AS:i:abc" would stand as 0: every such value must be a whole number.
// Leaves the record's columns in `fields`.
void checkIntegerTags(std::string_view text, const Place &place, std::vector<std::string_view> &fields) {
  splitFields(text, '\t', fields);
  for (size_t i = 11; i < fields.size(); ++i)
    if (fields[i].size() >= 5 && fields[i].substr(2, 3) == ":i:")
      signedField(fields[i].substr(5), place, ("the " + std::string(fields[i].substr(0, 4)) + " tag").c_str());
}

// The record in `text` parsed against `header`.
void parseRecord(std::string_view text, sam_hdr_t *header, bam1_t *record, const Place &place,
                 std::vector<std::string_view> &fields) {
  kstring_t buffer = KS_INITIALIZE;
  kputsn(text.data(), text.size(), &buffer);
  const int status = buffer.s ? sam_parse1(&buffer, header, record) : -1;
  ks_free(&buffer);
  if (status < 0) place.fail("malformed SAM record");
  checkIntegerTags(text, place, fields);
  // htslib takes a record as unplaced when the header lacks its reference,
  // and also when its position is 0, which an unmapped read may have; it
  // then marks the record unmapped, so the flag is read as written.
  if (record->core.tid >= 0 || fields[2] == "*") return;
  const std::string reference(fields[2]);
  if (sam_hdr_name2tid(header, reference.c_str()) < 0)
    place.fail("no @SQ header line names the reference '" + reference + "'");
  uint64_t flag = 0;
  if (parseUnsigned(fields[1], flag) && !(flag & BAM_FUNMAP))
    place.fail("the record is mapped to '" + reference + "' but its position is 0");
}

}  // namespace

void readSam(common::LineInput &input, RecordSink &sink, const ReadSettings &settings) {
  quietHtslib();
  std::string headerText;
  Header header;
  Record record = newRecord();
  Alignment a;
  std::string scoreText;
  std::string_view line;
  std::vector<std::string_view> fields;
  uint64_t number = 0;
  while (input.next(line)) {
    const Place place{input.name(), input.lineNumber()};
    if (isBlankLine(line)) {
      if (settings.lines) sink.line(line, 0, LineRole::OTHER);
      continue;
    }
    if (!header && line.front() == '@') {
      headerText.append(line).push_back('\n');
      if (settings.lines) sink.line(line, 0, LineRole::OTHER);
      continue;
    }
    if (!header) {
      header.reset(sam_hdr_parse(headerText.size(), headerText.c_str()));
      if (!header) place.fail("the SAM header above this line is malformed");
    }
    ++number;
    if (settings.lines) sink.line(line, number, LineRole::RECORD);
    parseRecord(line, header.get(), record.get(), place, fields);
    if (!samAlignment(record.get(), header.get(), place, settings.blocks, a, scoreText)) continue;
    a.record = number;
    a.lineNumber = input.lineNumber();
    sink.alignment(a);
  }
}

void readBinarySam(const std::string &path, RecordSink &sink, const ReadSettings &settings) {
  quietHtslib();
  const std::string name = path == "-" ? "standard input" : path;
  std::unique_ptr<samFile, FileClose> file(sam_open(path.c_str(), "r"));
  if (!file) throw common::ToolError("cannot open " + name + " as BAM or CRAM");
  Header header(sam_hdr_read(file.get()));
  if (!header) throw common::ToolError(name + ": the header is damaged or missing");
  if (settings.lines) sink.binaryHeader(header.get());
  Record record = newRecord();
  Alignment a;
  std::string scoreText;
  uint64_t number = 0;
  for (;;) {
    const int status = sam_read1(file.get(), header.get(), record.get());
    if (status == -1) break;
    const Place place{name, number + 1, true};
    if (status < -1) place.fail("damaged or truncated record");
    ++number;
    if (settings.lines) sink.binaryRecord(record.get(), number);
    if (!samAlignment(record.get(), header.get(), place, settings.blocks, a, scoreText)) continue;
    a.record = number;
    a.lineNumber = number;
    sink.alignment(a);
  }
}

}  // namespace aliconv
