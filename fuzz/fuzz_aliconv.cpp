// Fuzz target for aliconv: arbitrary bytes as an aligner's output, converted
// by the whole program. The first byte chooses the run:
//   bits 0-3  the format: 1-10 named with -i (paf, sam, bam, blast6, blast7,
//             delta, coords, maf, general, gff), any other value recognised
//             from the content
//   bit 4     the input compressed as BGZF, as bgzip and BAM files are (a
//             BAM input is its decompressed bytes with this bit set)
//   bit 5     --fragments
//   bit 6     --swap
//   bit 7     --score length
// A run ends with status 0 or 1. After status 0, what it wrote must be read
// back: by aliconv itself as an alignment file, and by alichain.
#include <htslib/bgzf.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "alichain.h"
#include "fuzz_files.h"
#include "run.h"

namespace {

const char *const NAMED_FORMATS[] = {"paf",   "sam",    "bam", "blast6",  "blast7",
                                     "delta", "coords", "maf", "general", "gff"};

// Writes `bytes` to `path` as BGZF blocks.
void writeBgzf(const char *path, const std::string &bytes) {
  BGZF *out = bgzf_open(path, "w");
  if (out == nullptr || bgzf_write(out, bytes.data(), bytes.size()) < 0 || bgzf_close(out) != 0)
    std::abort();
}

int runAliconv(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "aliconv");
  std::vector<char *> argv;
  for (std::string &argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return fuzz::silenced(
      [&] { return aliconv::aliconvMain(static_cast<int>(arguments.size()), argv.data()); });
}

// Reads the converted file as the chainer does; its report goes to a file.
int runAlichain(fuzz::TempFile &converted) {
  char *argv[] = {const_cast<char *>("alichain"), const_cast<char *>("-f"), converted.name(),
                  nullptr};
  const int status = fuzz::silenced([&] { return alichainMain(3, argv); });
  std::remove((std::string(converted.name()) + ".chainout").c_str());
  return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1) return 0;
  const unsigned settings = data[0];
  const std::string content(reinterpret_cast<const char *>(data) + 1, size - 1);

  fuzz::TempFile in("aliconv-in", content);
  if (settings & 0x10) writeBgzf(in.name(), content);
  fuzz::TempFile out("aliconv-out", "");
  std::vector<std::string> arguments;
  const unsigned format = settings & 0x0F;
  if (format >= 1 && format <= 10)
    arguments.insert(arguments.end(), {"-i", NAMED_FORMATS[format - 1]});
  if (settings & 0x20) arguments.push_back("--fragments");
  if (settings & 0x40) arguments.push_back("--swap");
  if (settings & 0x80) arguments.insert(arguments.end(), {"--score", "length"});
  arguments.insert(arguments.end(), {"-o", out.name(), in.name()});
  const int status = runAliconv(arguments);
  fuzz::check(status == 0 || status == 1, "aliconv ends with status 0 or 1");
  if (status != 0) return 0;

  // What aliconv wrote, it reads back, passing every line through.
  fuzz::TempFile again("aliconv-again", "");
  fuzz::check(runAliconv({"-i", "gff", "-o", again.name(), out.name()}) == 0,
              "aliconv reads what it wrote");
  const std::string written = out.contents(), passed = again.contents();
  fuzz::check(passed.size() >= written.size() &&
                  passed.compare(passed.size() - written.size(), written.size(), written) == 0,
              "aliconv passes an alignment file through unchanged");
  fuzz::check(runAlichain(out) == 0, "alichain reads what aliconv wrote");
  return 0;
}
