#include "line_input.h"
#include "readers.h"
#include "tool_error.h"

namespace aliconv {

namespace {

// How much of an input recognition looks at.
constexpr size_t PEEK = 1 << 16;

}  // namespace

Input::Input(const std::string &path, const Format *named)
    : path_(path), name_(path == "-" ? "standard input" : path) {
  if (named && isBinarySam(*named)) {
    format_ = *named;
    return;
  }
  text_ = std::make_unique<common::LineInput>(path);
  format_ = named ? *named : recogniseContent(text_->peek(PEEK), name_);
  if (isBinarySam(format_)) {
    if (path == "-")
      throw common::ToolError("standard input holds " + std::string(formatName(format_)) +
                              ": name the format with -i " + formatName(format_) +
                              " to read it from standard input");
    text_.reset();
  }
}

Input::~Input() = default;

void Input::read(RecordSink &sink, const ReadSettings &settings) {
  if (!text_) return readBinarySam(path_, sink, settings);
  common::LineInput &input = *text_;
  switch (format_) {
    case Format::PAF: return readPaf(input, sink, settings);
    case Format::SAM: return readSam(input, sink, settings);
    case Format::BLAST6:
    case Format::BLAST7: return readBlast(input, sink, settings);
    case Format::DELTA: return readDelta(input, sink, settings);
    case Format::COORDS: return readCoords(input, sink, settings);
    case Format::MAF: return readMaf(input, sink, settings);
    case Format::GENERAL: return readGeneral(input, sink, settings);
    case Format::ALIGNMENT_FILE: return readAlignmentFile(input, sink, settings);
    case Format::BAM:
    case Format::CRAM: break;
  }
}

}  // namespace aliconv
