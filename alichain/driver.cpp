// The run driver: command line, the forward and the reverse pass, and the
// one place where fatal conditions become a message and exit status 8.
#include "alichain.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <future>
#include <new>

// The run-wide state shared by both passes. Each pass's own state is defined
// beside the code that uses it most (sweep.cpp, scoretree.cpp): reaching a
// thread_local defined in another file costs a call at every access.
std::string infile_name;
int opt_f = 0;
uint64_t alicount = 0;
std::vector<uint64_t> anchorlist;
INPUT input;

namespace {

constexpr int EXIT_FATAL = 8;

[[noreturn]] void usage(const char *calledAs) {
  throw AlichainError(std::string("Usage:    ") + (calledAs ? calledAs : "alichain") +
                      " [-r] [-f] infile\n\n");
}

void parseArguments(int argc, char **argv) {
  if (argc < 2) usage(argc > 0 ? argv[0] : nullptr);
  for (int i = 1; i < argc - 1; ++i) {
    if (std::strcmp(argv[i], "-f") != 0) usage(argv[0]);
    opt_f = 1;
  }
  infile_name = argv[argc - 1];
}

// What the report of a pass needs of its result.
struct PASS_RESULT {
  std::vector<bool> member;
  uint64_t count = 0;
  float score = 0.0f;
};

// Sets up a fresh tree, runs the sweep of the current pass and takes its
// result.
PASS_RESULT chain() {
  initTree();
  process();
  getResult();
  return PASS_RESULT{std::move(member), resultcount, resultscore};
}

// The reverse pass, on a thread of its own beside the forward pass: the
// two sweeps share only what neither changes (the anchor order, the input).
// It makes its mirrored table while the anchors are sorted, and sweeps once
// they are.
class ReversePass {
 public:
  ~ReversePass() {
    // The run failed before the anchors were ready: the sweep is not to run.
    // (After that, a failure of the forward pass waits for this one to end.)
    if (!anchorsGiven) anchors.set_exception(std::make_exception_ptr(AlichainError("")));
  }
  void anchorsReady() {
    anchors.set_value();
    anchorsGiven = true;
  }
  // Waits for the pass; what made it fail fails here.
  PASS_RESULT result() {
    job.wait();
    return std::move(outcome);
  }

 private:
  std::promise<void> anchors;
  std::future<void> anchorsSorted = anchors.get_future();
  bool anchorsGiven = false;
  PASS_RESULT outcome;
  // Last, so that it starts when the rest is ready and ends first.
  BackgroundJob job{[this] {
    readAlignments(infile_name, 1);
    anchorsSorted.get();
    outcome = chain();
  }};
};

void makeCurrent(PASS_RESULT &result) {
  member = std::move(result.member);
  resultcount = result.count;
  resultscore = result.score;
}

void run(int argc, char **argv) {
  parseArguments(argc, argv);
  alicount = readAlignments(infile_name, 0);
  if (std::printf("%llu\n", static_cast<unsigned long long>(alicount)) < 0)
    throw AlichainError("Error: Unable to write file standard output\n");
  // Both passes end before any report is written, so that a fatal condition
  // in either (a chain sum beyond 64 bits) leaves no report behind; one in
  // the forward pass is the one told.
  ReversePass reversePass;
  // The anchor order depends on first-sequence values only, which both
  // passes share, so one sorted list serves both.
  prepareAnchorlist();
  reversePass.anchorsReady();
  PASS_RESULT forward = chain();
  PASS_RESULT reverse = reversePass.result();

  makeCurrent(forward);
  writeToOutfile(infile_name);
  if (reverse.score > forward.score) {
    makeCurrent(reverse);
    if (opt_f) std::remove((infile_name + ".chainout").c_str());
    writeToOutfile(infile_name);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    throw AlichainError("Error: Unable to write file standard output\n");
}

// Puts the run-wide state back to its start and releases its memory.
template <typename T>
void release(T &value) {
  T().swap(value);
}

// A closed pipe must show as a failed write, not end the process.
struct IgnoreBrokenPipe {
  void (*previous)(int) = std::signal(SIGPIPE, SIG_IGN);
  ~IgnoreBrokenPipe() { std::signal(SIGPIPE, previous); }
};

struct RunState {
  RunState() { resetRun(); }
  ~RunState() { resetRun(); }
};

}  // namespace

void resetRun() {
  joinBackgroundFaults();
  release(infile_name);
  opt_f = 0;
  alicount = 0;
  release(ali);
  release(member);
  resultcount = 0;
  resultscore = 0.0f;
  releaseTree();
  release(anchorlist);
  input = INPUT();
}

int alichainMain(int argc, char **argv) {
  IgnoreBrokenPipe pipeGuard;
  RunState state;
  std::clearerr(stdout);
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
