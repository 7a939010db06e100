// The readers of the input formats. Each reads its whole input and hands
// every alignment to a sink, numbering the records from 1 in input order
// (records that hold no alignment, such as unmapped SAM reads, count too);
// with `lines` set it also hands over every input line with the record it
// belongs to, so that a picker can copy records and headers.
#ifndef ALICONV_READERS_H
#define ALICONV_READERS_H

#include "alignment.h"
#include "fields.h"
#include "format.h"

#include <memory>
#include <string>
#include <string_view>

struct bam1_t;
struct sam_hdr_t;

namespace common {
class LineInput;
}

namespace aliconv {

enum class LineRole {
  OTHER,      // a header or comment line, outside every record
  RECORD,     // a line of the record given with it
  HIT_COUNT,  // BLAST's "# N hits found": the next N records are its hits
};

class RecordSink {
 public:
  virtual ~RecordSink() = default;
  virtual void alignment(Alignment &alignment) = 0;
  // Whether record N (from 1) is to be parsed and handed to alignment().
  // The readers of one-record-a-line formats skip the others, handing over
  // only their lines, and so do not check them: a sink that wants fewer
  // than all reads an input that an earlier reading with the same
  // ReadSettings::blocks has checked whole.
  virtual bool wanted(uint64_t /*record*/) const { return true; }
  // With ReadSettings::lines: every line of a text input (record 0 outside
  // records; for HIT_COUNT, the number of hits).
  virtual void line(std::string_view /*text*/, uint64_t /*record*/, LineRole /*role*/) {}
  // With ReadSettings::lines: the header and each record of a BAM or CRAM input.
  virtual void binaryHeader(const sam_hdr_t * /*header*/) {}
  virtual void binaryRecord(const bam1_t * /*record*/, uint64_t /*number*/) {}
};

struct ReadSettings {
  bool blocks = false;  // fill Alignment::blocks where the format has them
  bool lines = false;   // hand the input's lines to the sink
  // Threads that parse the records of one-record-a-line formats beside the
  // thread that reads the input and feeds the sink (0: that thread parses
  // too). The sink's calls and failures come as with 0, on the calling
  // thread.
  int parsingThreads = 0;
};

// An input ("-": standard input) whose format is recognised from its
// content unless named. BAM and CRAM are read by htslib from the path
// itself, so on standard input they must be named (-i bam, -i cram): the
// bytes looked at for recognition could not be handed back to it.
class Input {
 public:
  // Opens the input; throws ToolError when it cannot be read or its format
  // cannot be told.
  Input(const std::string &path, const Format *named);
  ~Input();
  Format format() const { return format_; }
  const std::string &name() const { return name_; }
  // Reads the whole input into the sink (once).
  void read(RecordSink &sink, const ReadSettings &settings);

 private:
  std::string path_, name_;
  std::unique_ptr<common::LineInput> text_;
  Format format_;
};

void readPaf(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
void readSam(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
void readBinarySam(const std::string &path, RecordSink &sink, const ReadSettings &settings);
void readBlast(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
void readDelta(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
void readCoords(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
void readMaf(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
void readGeneral(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);
// The alignment file format: every line is checked and handed over as a
// line; each alignment line is a record (numbered as the chainer numbers
// them) and its fragment lines belong to it.
void readAlignmentFile(common::LineInput &input, RecordSink &sink, const ReadSettings &settings);

}  // namespace aliconv

#endif
