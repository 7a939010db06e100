// Picking runs the conversion again over the input, with the settings the
// report's copy of the conversion's comments records, and checks each
// picked record against the member line the report holds for it.
#include "pick.h"

#include "atomic_output.h"
#include "chain_report.h"
#include "conversion.h"
#include "line_input.h"
#include "readers.h"
#include "tool_error.h"

#include <htslib/hfile.h>
#include <htslib/sam.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <unistd.h>

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

// A failed write through htslib: its file layer writes with the system's
// calls, which leave their reason in errno (cleared before each call).
[[noreturn]] void binaryWriteFailure(const std::string &name) {
  if (errno) throw common::ToolError(common::systemFailure("cannot write", name, errno));
  throw common::ToolError("cannot write " + name);
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

class PickSink : public RecordSink {
 public:
  PickSink(std::map<uint64_t, Member> &members, const Conversion &conversion,
           common::AtomicOutput &out, const Input &input, const std::string &reportName)
      : members_(members), conversion_(conversion), out_(out), input_(input), reportName_(reportName) {}
  ~PickSink() override {
    if (binary_) sam_close(binary_);
  }

  void line(std::string_view text, uint64_t record, LineRole role) override {
    if (role == LineRole::HIT_COUNT) {
      // The hits of this count are the next `record` records.
      auto first = members_.upper_bound(recordsSeen_);
      auto last = members_.upper_bound(recordsSeen_ + record);
      const auto count = static_cast<uint64_t>(std::distance(first, last));
      std::fprintf(out_.stream(), "# %llu hits found\n", static_cast<unsigned long long>(count));
      return;
    }
    recordsSeen_ = std::max(recordsSeen_, record);
    if (role == LineRole::RECORD && !members_.count(record)) return;
    if (role == LineRole::RECORD) recordLine_.assign(text);
    std::fwrite(text.data(), 1, text.size(), out_.stream());
    std::fputc('\n', out_.stream());
  }

  void alignment(Alignment &a) override {
    const uint64_t position = positionInOutput(a);
    const auto member = members_.find(a.record);
    if (member == members_.end()) return;
    const Place place{input_.name(), a.lineNumber, isBinarySam(conversion_.format)};
    const std::string converted = conversion_.format == Format::ALIGNMENT_FILE
                                      ? recordLine_
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

  void binaryHeader(const sam_hdr_t *header) override {
    std::fflush(out_.stream());
    errno = 0;
    hFILE *file = hdopen(dup(out_.descriptor()), "w");
    binary_ = file ? hts_hopen(file, out_.name().c_str(),
                               conversion_.format == Format::BAM ? "wb" : "wc")
                   : nullptr;
    if (!binary_) binaryWriteFailure(out_.name());
    // Without a reference at hand the records are stored whole.
    if (conversion_.format == Format::CRAM) hts_set_opt(binary_, CRAM_OPT_NO_REF, 1);
    errno = 0;
    if (sam_hdr_write(binary_, header) < 0) binaryWriteFailure(out_.name());
    header_ = header;
  }

  void binaryRecord(const bam1_t *record, uint64_t number) override {
    if (!members_.count(number)) return;
    errno = 0;
    if (sam_write1(binary_, header_, record) < 0) binaryWriteFailure(out_.name());
  }

  // The alignment's number among the alignment lines of its conversion,
  // as the chainer numbers them: aliconv writes each sequence pair to an
  // output of its own, while it passes the alignment file format through
  // whole.
  uint64_t positionInOutput(const Alignment &a) {
    if (conversion_.format == Format::ALIGNMENT_FILE) return a.record;
    return ++alignmentsOfPair_[{std::string(a.xName), std::string(a.yName)}];
  }

  // Finishes a BAM or CRAM output.
  void closeBinary() {
    if (!binary_) return;
    errno = 0;
    const int status = sam_close(binary_);
    binary_ = nullptr;
    if (status < 0) binaryWriteFailure(out_.name());
  }

 private:
  std::map<uint64_t, Member> &members_;
  const Conversion &conversion_;
  common::AtomicOutput &out_;
  const Input &input_;
  const std::string &reportName_;
  uint64_t recordsSeen_ = 0;
  std::map<std::pair<std::string, std::string>, uint64_t> alignmentsOfPair_;
  std::string recordLine_;
  samFile *binary_ = nullptr;
  const sam_hdr_t *header_ = nullptr;
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
  PickSink sink(members, conversion, out, input, reportName);
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
