// The report writer: a GFF version 2 document naming the best chain of a
// pass, followed by the input lines it copies.
#include "alichain.h"

#include "tool_error.h"

#include <cstdio>
#include <ctime>

namespace {

std::string currentDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char date[100] = "";
  if (localtime_r(&now, &local)) std::strftime(date, sizeof date, "%b/%d/%y %X", &local);
  return date;
}

void writeHeader(const OPTIONS &options, const PASS &pass, ReportStream &out) {
  std::string h = "##gff-version 2\n##source-version alichain 0.0\n##date " + currentDate() +
                  "\n##\n##alichain";
  if (options.opt_f) h += " -f";
  h += " " + escapeName(options.infile_name) + "\n";
  char line[200];
  std::snprintf(line, sizeof line,
                "##Number of used alignments:\t%llu\n##Score sum of these alignments: %g\n",
                static_cast<unsigned long long>(pass.resultcount),
                static_cast<double>(pass.resultscore));
  h += line;
  h += "##Used alignments:\n##";
  out.put(h);
}

// The member numbers (from 1), at most 25 to a line.
void writeMemberList(const PASS &pass, ReportStream &out) {
  std::string list;
  uint64_t listed = 0;
  for (uint64_t j = 0; j < pass.member.size(); ++j) {
    if (!pass.member[j]) continue;
    if (listed > 0 && listed % 25 == 0) list += "\n##";
    list += " " + std::to_string(j + 1);
    ++listed;
    if (list.size() >= 65536) {
      out.put(list);
      list.clear();
    }
  }
  list += "\n##\n";
  out.put(list);
}

void copySpan(const INPUT &input, const LINESPAN &span, ReportStream &out) {
  out.put(input.text.get() + span.begin, span.end - span.begin);
}

}  // namespace

ReportStream::ReportStream(const OPTIONS &options)
    : name_(options.opt_f ? options.infile_name + ".chainout" : "standard output") {
  try {
    out_ = std::make_unique<common::AtomicOutput>(options.opt_f ? name_ : "-");
  } catch (const common::ToolError &) {
    fail();
  }
}

void ReportStream::put(const char *data, size_t length) {
  if (length && std::fwrite(data, 1, length, out_->stream()) != length) fail();
}

void ReportStream::finish() {
  // The complete report takes the report's name in one step: whatever stood
  // there before (a link included) is replaced, never written through.
  try {
    out_->commit();
  } catch (const common::ToolError &) {
    fail();
  }
}

void ReportStream::fail() { throw AlichainError("Error: Unable to write file " + name_ + "\n"); }

std::string escapeName(const std::string &name) {
  std::string escaped;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      escaped += "\\\\";
    } else if (c == '\n') {
      escaped += "\\n";
    } else if (c == '\t') {
      escaped += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      static const char HEX[] = "0123456789abcdef";
      escaped += {'\\', 'x', HEX[byte >> 4], HEX[byte & 15]};
    } else {
      escaped += c;
    }
  }
  return escaped;
}

int writeToOutfile(const OPTIONS &options, const INPUT &input, const PASS &pass,
                   ReportStream &out) {
  writeHeader(options, pass, out);
  writeMemberList(pass, out);
  for (const LINESPAN &span : input.copiedLines) copySpan(input, span, out);
  for (uint64_t j = 0; j < pass.member.size(); ++j)
    if (pass.member[j]) copySpan(input, alignmentSpan(input, j), out);
  return 1;
}
