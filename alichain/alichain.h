// alichain: finds the highest-scoring colinear chain among the pairwise
// alignments of two sequences and writes it as a GFF version 2 report.
//
// The run reads the input, then runs the forward and the reverse pass at the
// same time on two threads, then writes the reports; the whole run is
// alichainMain(), which may be called repeatedly in one process.
#ifndef ALICHAIN_H
#define ALICHAIN_H

#include "alignment_fields.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

// Alignment number meaning "no alignment" (no predecessor in a chain).
constexpr uint64_t NO_ALIGNMENT = 0x7FFFFFFFFFFFFFFFULL;

// One alignment. Second-sequence values are mirrored (negated and swapped)
// in the reverse pass. After the sweep `score` is the best score of a chain
// ending with this alignment and `pred` its predecessor in that chain.
struct ALI {
  int64_t xb;
  int64_t yb;
  int64_t xe;
  int64_t ye;
  int64_t score;
  uint64_t pred;
};

enum leftRight { LEFT = 0, RIGHT = 1 };

// One sweep event: the begin (LEFT) or end (RIGHT) of alignment `alinr`.
struct ANCHOR {
  int64_t xval;
  leftRight label;
  uint64_t alinr;
};

// Node of the 2-3 score tree. A leaf has pm == nullptr; its pl/pr link the
// leaves in key order, lMax is its key (an alignment's ye), mMax the
// alignment number and rMax the chain score. An internal node holds its
// children in pl/pm/pr and their largest keys in lMax/mMax/rMax.
// Each node fills one cache line, so a descent touches one line per level.
struct alignas(64) NODE_struct {
  NODE_struct *pup;
  NODE_struct *pl;
  NODE_struct *pm;
  NODE_struct *pr;
  int64_t lMax;
  int64_t mMax;
  int64_t rMax;
};
using NODE = NODE_struct;

// Every fatal condition of a run: `what()` is the complete text for
// standard error (an "Error: ..." line or the usage text).
struct AlichainError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A byte range [begin, end) of the input text, line breaks included.
struct LINESPAN {
  size_t begin;
  size_t end;
};

// The input file as read once per run, with what the report needs of it.
struct INPUT {
  bool loaded = false;
  // The table as parsed: the `ali` of the thread that read the file, which
  // keeps it forward while a pass on another thread copies it (and must
  // outlive that copy).
  const std::vector<ALI> *parsed = nullptr;
  std::unique_ptr<char[]> text;           // whole file; ends with '\n' unless empty
  size_t textSize = 0;
  std::vector<LINESPAN> copiedLines;      // '#' and "sequence:sequence" lines
  std::vector<size_t> alignmentLines;     // per alignment: where its line begins
  std::vector<int64_t> readScore;         // per alignment: score in tenths as read
};

// Run-wide state, reset at the start of every run. The two passes run at
// the same time, each on a thread of its own, so the state of a pass (its
// table, tree and result) is per thread; the rest is shared, and only read
// once both sweeps can run (the anchor list is handed over when sorted).
extern std::string infile_name;
extern int opt_f;
extern uint64_t alicount;
extern thread_local std::vector<ALI> ali;
// Per alignment of the current pass: a member of the best chain. Set by
// getResult; a flag of its own, so that no coordinate value can pose as it.
extern thread_local std::vector<bool> member;
extern thread_local uint64_t resultcount;
extern thread_local float resultscore;
extern thread_local NODE *tree;
// The sweep events in sorted order, each held as its creation number
// 2 * alinr + label; makeAnchor() gives the full record.
extern std::vector<uint64_t> anchorlist;
extern INPUT input;

// Driver (driver.cpp): the whole run; returns the exit status (0 or 8).
int alichainMain(int argc, char **argv);
void resetRun();

// Memory of the large arrays (memory.cpp).
// Asks the kernel to back [p, p + bytes) with huge pages where it can: the
// run fills a few large arrays once, and small pages make that fill cost
// one fault per 4 KiB.
void adviseHugePages(const void *p, size_t bytes);
// Fresh memory is zeroed by the kernel at its first touch, which costs about
// as much as the run's own work in it. This has a helper thread take those
// faults for [p, p + bytes) (contents unchanged) while the caller goes on.
// For arrays that live until joinBackgroundFaults (a range freed earlier is
// only faulted in for nothing); called from the run's main thread only.
void faultInBackground(void *p, size_t bytes);
// Stops the helpers' work that is left and waits for them to end.
void joinBackgroundFaults();

// A job run on a thread of its own while the caller goes on (background.cpp).
// Where no thread can be had, it runs when waited for. Destruction waits
// for a running job.
class BackgroundJob {
 public:
  explicit BackgroundJob(std::function<void()> job);
  ~BackgroundJob();
  BackgroundJob(const BackgroundJob &) = delete;
  BackgroundJob &operator=(const BackgroundJob &) = delete;
  // Waits for the job to end (or runs it); what it threw is thrown here.
  void wait();

 private:
  void run();
  std::function<void()> job;
  bool ran = false;
  std::exception_ptr failure;
  std::thread worker;
};

// Reader (reader.cpp): fills `ali` in the forward (opt_r 0) or reverse
// (opt_r 1) orientation; the file is read on the first call of a run, and
// a call on another thread copies the table then parsed.
uint64_t readAlignments(const std::string &filename, int opt_r);
// The input lines of alignment alinr: its own line and the directly
// following lines that contain "fragment" (and are no alignment lines).
LINESPAN alignmentSpan(uint64_t alinr);

// Score tree (scoretree.cpp).
void initTree();
void releaseTree();
NODE *findLeaf(int64_t y);
// findLeaf for each of count keys at once, on the same tree.
void findLeaves(const int64_t *y, NODE **leaf, size_t count);
void insert(uint64_t alinr, NODE *prev);
void deleteLeaf(NODE *delLeaf);
NODE *findRightSentinel();
void updateMax(NODE *father);

// Sweep and result (sweep.cpp).
void prepareAnchorlist();
ANCHOR makeAnchor(uint64_t creation);
int compareAnchors(const ANCHOR &pp, const ANCHOR &pq);
void process();
// Begin and end of an alignment; leaf is findLeaf(yb), findLeaf(ye) resp.
void processLeft(uint64_t alinr, const NODE *leaf);
void processRight(uint64_t alinr, NODE *leaf);
void getResult();

// Report (report.cpp): writes one report of the current pass; returns 1.
int writeToOutfile(const std::string &filename);

#endif
