// Picking runs the conversion again over the input, with the settings the
// report's copy of the conversion's comments records, and checks each
// picked record against the member line the report holds for it.
#include "pick.h"

#include "atomic_output.h"
#include "chain_report.h"
#include "conversion.h"
#include "line_input.h"
#include "readers.h"
#include "record_copy.h"
#include "tool_error.h"

#include <cstdlib>
#include <map>

namespace aliconv {

namespace {

struct Member {
  std::string line;
  uint64_t listed = 0;  // the number the member list gives it
  bool found = false;
};

Conversion reportConversion(const std::string &report) {
  common::LineInput input(report);
  std::string_view line;
  Conversion conversion;
  while (input.next(line))
    if (readConversionComment(line, conversion)) return conversion;
  throw common::ToolError(input.name() + ": the report holds no comment of aliconv's conversion, so "
                          "its members do not come from aliconv's output");
}

std::map<uint64_t, Member> readMembers(const common::ChainReport &report, const Conversion &conversion,
                                       const std::string &name) {
  std::map<uint64_t, Member> members;
  // The reader has checked that there is one member line for each member.
  for (size_t i = 0; i < report.members.size(); ++i) {
    const std::string &line = report.memberLines[i];
    // The alignment file format is passed through: its records are the
    // alignment lines, numbered as the report numbers its members.
    const uint64_t record = conversion.format == Format::ALIGNMENT_FILE ? report.members[i]
                                                                        : recordOfLine(line);
    if (record == 0)
      throw common::ToolError(name + ": the member line '" + line + "' carries no record number");
    if (!members.emplace(record, Member{line, report.members[i], false}).second)
      throw common::ToolError(name + ": two member lines name record " + std::to_string(record));
  }
  return members;
}

std::string lineText(const common::AlignmentRecord &record) {
  char *text = nullptr;
  size_t size = 0;
  std::FILE *memory = open_memstream(&text, &size);
  if (!memory) throw common::ToolError("out of memory");
  common::AlignmentWriter(memory).alignment(record);
  std::fclose(memory);
  std::string line(text, size);
  std::free(text);
  if (!line.empty()) line.pop_back();
  return line;
}

// Copies the members, checking each against its member line.
class PickSink : public RecordCopy {
 public:
  PickSink(std::map<uint64_t, Member> &members, const std::vector<uint64_t> &numbers,
           const Conversion &conversion, common::AtomicOutput &out, const Input &input,
           const std::string &reportName)
      : RecordCopy(numbers, conversion.format, out),
        members_(members),
        conversion_(conversion),
        input_(input),
        reportName_(reportName) {}

  void alignment(Alignment &a) override {
    const uint64_t position = positionInOutput(a);
    const auto member = members_.find(a.record);
    if (member == members_.end()) return;
    const Place place{input_.name(), a.lineNumber, isBinarySam(conversion_.format)};
    const std::string converted = conversion_.format == Format::ALIGNMENT_FILE
                                      ? recordLine()
                                      : lineText(alignmentLine(a, conversion_, place));
    if (converted != member->second.line)
      throw common::ToolError(reportName_ + ": its member line for record " + std::to_string(a.record) +
                              " is not what " + input_.name() + " converts to (" + converted +
                              "): the report comes from another input or conversion");
    if (position != member->second.listed)
      throw common::ToolError(reportName_ + ": its member list names alignment " +
                              std::to_string(member->second.listed) + " where it copies the line of record " +
                              std::to_string(a.record) + ", which is alignment " + std::to_string(position) +
                              " of the conversion: the member list and the member lines disagree");
    member->second.found = true;
  }

  // The alignment's number among the alignment lines of its conversion,
  // as the chainer numbers them: aliconv writes each sequence pair to an
  // output of its own, while it passes the alignment file format through
  // whole.
  uint64_t positionInOutput(const Alignment &a) {
    if (conversion_.format == Format::ALIGNMENT_FILE) return a.record;
    return ++alignmentsOfPair_[{std::string(a.xName), std::string(a.yName)}];
  }

 private:
  std::map<uint64_t, Member> &members_;
  const Conversion &conversion_;
  const Input &input_;
  const std::string &reportName_;
  std::map<std::pair<std::string, std::string>, uint64_t> alignmentsOfPair_;
};

}  // namespace

void pick(const PickOptions &options) {
  const std::vector<common::ChainReport> reports = common::readChainReports(options.report);
  const std::string reportName = options.report == "-" ? "standard input" : options.report;
  const Conversion conversion = reportConversion(options.report);
  Input input(options.input, options.hasFormat ? &options.format : nullptr);
  if (input.format() != conversion.format)
    throw common::ToolError(reportName + " chains a conversion of " + formatName(conversion.format) +
                            " input, but " + input.name() + " holds " + formatName(input.format()));
  // Of two reports the second, the mirrored chain, is written only when it
  // scores higher: the chain the run found.
  std::map<uint64_t, Member> members = readMembers(reports.back(), conversion, reportName);
  common::AtomicOutput out(options.output);
  std::vector<uint64_t> numbers;
  for (const auto &member : members) numbers.push_back(member.first);
  PickSink sink(members, numbers, conversion, out, input, reportName);
  ReadSettings settings;
  settings.lines = true;
  input.read(sink, settings);
  sink.closeBinary();
  for (const auto &[record, member] : members)
    if (!member.found)
      throw common::ToolError(reportName + " lists record " + std::to_string(record) + ", which " +
                              input.name() + " does not hold");
  out.commit();
}

}  // namespace aliconv
