// The run driver: command line, the forward and the reverse pass, the
// choice of the report, and the one place where fatal conditions become a
// message and exit status 8.
#include "alichain.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr int EXIT_FATAL = 8;

[[noreturn]] void usage(const char *calledAs) {
  throw AlichainError(std::string("Usage:    ") + (calledAs ? calledAs : "alichain") +
                      " [-r] [-f] infile\n\n");
}

OPTIONS parseArguments(int argc, char **argv) {
  if (argc < 2) usage(argc > 0 ? argv[0] : nullptr);
  OPTIONS options;
  for (int i = 1; i < argc - 1; ++i) {
    if (std::strcmp(argv[i], "-f") != 0) usage(argv[0]);
    options.opt_f = 1;
  }
  options.infile_name = argv[argc - 1];
  return options;
}

// One pass: the pass's own table in its orientation, a fresh tree, the
// sweep and the best chain.
void chain(const INPUT &input, int opt_r, const std::vector<uint64_t> &anchorlist, PASS &pass) {
  orientAlignments(input, opt_r, pass);
  initTree(pass);
  try {
    process(pass, anchorlist);
  } catch (const ChainSumOverflow &e) {
    throw AlichainError("Error: Alignment file " + input.name + ": " + e.what() + "\n");
  }
  getResult(pass);
}

void run(int argc, char **argv) {
  const OPTIONS options = parseArguments(argc, argv);
  INPUT input;
  const uint64_t alicount = readAlignments(options.infile_name, input);
  if (std::printf("%llu\n", static_cast<unsigned long long>(alicount)) < 0)
    throw AlichainError("Error: Unable to write file standard output\n");
  const std::vector<uint64_t> anchorlist = prepareAnchorlist(input.ali);
  // The passes share only what neither changes (the input, the anchor
  // order), so the reverse one runs on a thread of its own meanwhile.
  PASS forward;
  PASS reverse;
  {
    BackgroundJob reversePass([&] { chain(input, 1, anchorlist, reverse); });
    chain(input, 0, anchorlist, forward);
    reversePass.wait();
  }
  // Both passes end before any report is written, so that a fatal condition
  // in either (a chain sum beyond 64 bits) leaves no report behind; one in
  // the forward pass is the one told. The exact sums decide: at equal sums
  // the forward chain stays.
  const bool reverseWins = reverse.resultsum > forward.resultsum;
  ReportStream out(options);
  if (!options.opt_f || !reverseWins) writeToOutfile(options, input, forward, out);
  if (reverseWins) writeToOutfile(options, input, reverse, out);
  out.finish();
}

// A closed pipe must show as a failed write, not end the process.
struct IgnoreBrokenPipe {
  void (*previous)(int) = std::signal(SIGPIPE, SIG_IGN);
  ~IgnoreBrokenPipe() { std::signal(SIGPIPE, previous); }
};

// Under a tight memory limit the C++ runtime may have found no room for
// its emergency store of exception objects; a failed allocation would then
// end the process instead of throwing bad_alloc. So a run keeps a reserve
// and releases it just before bad_alloc is thrown: the exception always has
// room. The new-handler takes no argument, hence the one static.
std::atomic<void *> memoryReserve{nullptr};

[[noreturn]] void releaseReserveAndFail() {
  std::free(memoryReserve.exchange(nullptr));
  throw std::bad_alloc();
}

struct OutOfMemoryGuard {
  static constexpr size_t RESERVE = 64 * 1024;
  OutOfMemoryGuard() { memoryReserve = std::malloc(RESERVE); }
  ~OutOfMemoryGuard() {
    std::set_new_handler(previous);
    std::free(memoryReserve.exchange(nullptr));
  }
  bool ready() const { return memoryReserve != nullptr; }
  std::new_handler previous = std::set_new_handler(releaseReserveAndFail);
};

}  // namespace

int alichainMain(int argc, char **argv) {
  IgnoreBrokenPipe pipeGuard;
  OutOfMemoryGuard memoryGuard;
  std::clearerr(stdout);
  if (!memoryGuard.ready()) {
    std::fputs("Error: Out of memory\n", stderr);
    return EXIT_FATAL;
  }
  try {
    run(argc, argv);
    return 0;
  } catch (const AlichainError &e) {
    std::fflush(stdout);
    std::fputs(e.what(), stderr);
  } catch (const std::bad_alloc &) {
    std::fflush(stdout);
    std::fputs("Error: Out of memory\n", stderr);
  }
  return EXIT_FATAL;
}
