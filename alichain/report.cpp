// The report writer: a GFF version 2 document naming the best chain of the
// current pass, followed by the input lines it copies.
#include "alichain.h"

#include <cstdio>
#include <ctime>

namespace {

// The report stream; every write is checked, and a failure ends the run.
class ReportStream {
 public:
  explicit ReportStream(const std::string &fileName) : name_(fileName) {
    file_ = std::fopen(fileName.c_str(), "w");
    if (!file_) throw AlichainError("Error: Unable to write file " + fileName + "\n");
  }
  ReportStream() : file_(stdout), name_("standard output") {}
  ReportStream(const ReportStream &) = delete;
  ReportStream &operator=(const ReportStream &) = delete;
  ~ReportStream() {
    if (file_ && file_ != stdout) std::fclose(file_);
  }

  void put(const char *data, size_t length) {
    if (length && std::fwrite(data, 1, length, file_) != length) fail();
  }
  void put(const std::string &s) { put(s.data(), s.size()); }

  // Flushes standard output, or closes the report file, checking either.
  void finish() {
    if (file_ == stdout) {
      if (std::fflush(stdout) != 0 || std::ferror(stdout)) fail();
      return;
    }
    FILE *f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0) fail();
  }

 private:
  [[noreturn]] void fail() { throw AlichainError("Error: Unable to write file " + name_ + "\n"); }

  FILE *file_;
  std::string name_;
};

std::string currentDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char date[100] = "";
  if (localtime_r(&now, &local)) std::strftime(date, sizeof date, "%b/%d/%y %X", &local);
  return date;
}

void writeHeader(ReportStream &out) {
  std::string h = "##gff-version 2\n##source-version alichain 0.0\n##date " + currentDate() +
                  "\n##\n##alichain";
  if (opt_f) h += " -f";
  h += " " + infile_name + "\n";
  char line[200];
  std::snprintf(line, sizeof line,
                "##Number of used alignments:\t%llu\n##Score sum of these alignments: %g\n",
                static_cast<unsigned long long>(resultcount), static_cast<double>(resultscore));
  h += line;
  h += "##Used alignments:\n##";
  out.put(h);
}

// The member numbers (from 1), at most 25 to a line.
void writeMemberList(ReportStream &out) {
  std::string list;
  uint64_t listed = 0;
  for (uint64_t j = 0; j < alicount; ++j) {
    if (!member[j]) continue;
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

void copySpan(ReportStream &out, const LINESPAN &span) {
  out.put(input.text.get() + span.begin, span.end - span.begin);
}

}  // namespace

int writeToOutfile(const std::string &filename) {
  // The lines copied come from the text read once per run, so both reports
  // show the same version of the file.
  std::unique_ptr<ReportStream> out =
      opt_f ? std::make_unique<ReportStream>(filename + ".chainout")
            : std::make_unique<ReportStream>();
  writeHeader(*out);
  writeMemberList(*out);
  for (const LINESPAN &span : input.copiedLines) copySpan(*out, span);
  for (uint64_t j = 0; j < alicount; ++j)
    if (member[j]) copySpan(*out, alignmentSpan(j));
  out->finish();
  return 1;
}
