// alichain: finds the highest-scoring colinear chain among the pairwise
// alignments of two sequences and writes it as a GFF version 2 report.
//
// A run loads the input once (INPUT), sorts the sweep events once, then
// chains twice, each pass on a record of its own (PASS): the forward pass
// on the alignments as read, the reverse pass with the second sequence
// mirrored. The passes may run side by side, since they share only what
// neither changes. The whole run is alichainMain(), which keeps no state
// between calls.
#ifndef ALICHAIN_H
#define ALICHAIN_H

#include "alignment_fields.h"
#include "atomic_output.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
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

// Thrown by the sweep when a chain's score sum leaves the 64-bit range;
// the driver names the file.
struct ChainSumOverflow : std::overflow_error {
  ChainSumOverflow() : std::overflow_error("chain score sum exceeds the 64-bit range") {}
};

// The command line.
struct OPTIONS {
  std::string infile_name;
  int opt_f = 0;  // "-f": the report goes to infile_name + ".chainout"
};

// A byte range [begin, end) of the input text, line breaks included.
struct LINESPAN {
  size_t begin;
  size_t end;
};

// The input file as read once per run, and what the passes and the report
// need of it. Nothing changes it after readAlignments.
struct INPUT {
  std::string name;
  std::unique_ptr<char[]> text;       // whole file; ends with '\n' unless empty
  size_t textSize = 0;
  std::vector<ALI> ali;               // the alignments as read: forward, scores as read
  std::vector<LINESPAN> copiedLines;  // '#' and "sequence:sequence" lines
  std::vector<size_t> alignmentLines; // per alignment: where its line begins
};

// Nodes of one score tree come from blocks and are recycled through a free
// list, so the sweep's many small allocations cost nothing and the tree
// stays compact in memory. The blocks are freed with the pool.
struct NODE_POOL {
  struct FreeBlock {
    void operator()(NODE *block) const;
  };
  std::vector<std::unique_ptr<NODE[], FreeBlock>> blocks;
  size_t current = 0;  // block being handed out
  size_t usedInBlock = 0;
  NODE *freeList = nullptr;
};

// One chaining pass: its own oriented table, score tree and result. A
// function that works on a pass takes its record, and nothing else of the
// pass lives anywhere else.
struct PASS {
  std::vector<ALI> ali;       // the alignments in this pass's orientation
  NODE *tree = nullptr;       // root of the score tree (initTree)
  NODE_POOL pool;             // the tree's nodes
  // Set by getResult: per alignment, a member of the best chain (a flag of
  // its own, so that no coordinate value can pose as a mark).
  std::vector<bool> member;
  uint64_t resultcount = 0;   // number of members
  float resultscore = 0.0f;   // the best chain's score as reported
  int64_t resultsum = 0;      // the same score exactly, in tenths: decides the winner
};

// Driver (driver.cpp): the whole run; returns the exit status (0 or 8).
int alichainMain(int argc, char **argv);

// Asks the kernel to back [p, p + bytes) with huge pages where it can
// (memory.cpp): the run fills a few large arrays once, and small pages
// make that fill cost one fault per 4 KiB.
void adviseHugePages(const void *p, size_t bytes);

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

// Reader (reader.cpp).
// Loads the file `filename` into `input`: its text, its alignments as read
// and the lines the report copies. Returns the number of alignments.
uint64_t readAlignments(const std::string &filename, INPUT &input);
// Gives the pass its own table of the input's alignments, in the forward
// (opt_r 0) or the reverse (opt_r 1, second sequence mirrored) orientation.
void orientAlignments(const INPUT &input, int opt_r, PASS &pass);
// The input lines of alignment alinr: its own line and the directly
// following lines that contain "fragment" (and are no alignment lines).
LINESPAN alignmentSpan(const INPUT &input, uint64_t alinr);

// Score tree (scoretree.cpp).
void initTree(PASS &pass);
NODE *findLeaf(const PASS &pass, int64_t y);
// findLeaf for each of count keys at once, on the same tree.
void findLeaves(const PASS &pass, const int64_t *y, NODE **leaf, size_t count);
void insert(PASS &pass, uint64_t alinr, NODE *prev);
void deleteLeaf(PASS &pass, NODE *delLeaf);
NODE *findRightSentinel(const PASS &pass);
void updateMax(NODE *father);

// Sweep and result (sweep.cpp).
// The sweep events of `ali` in sorted order, each held as its creation
// number 2 * alinr + label (makeAnchor gives the full record). The order
// depends on first-sequence values only, so one list serves both passes.
std::vector<uint64_t> prepareAnchorlist(const std::vector<ALI> &ali);
ANCHOR makeAnchor(const std::vector<ALI> &ali, uint64_t creation);
int compareAnchors(const ANCHOR &pp, const ANCHOR &pq);
void process(PASS &pass, const std::vector<uint64_t> &anchorlist);
// Begin and end of an alignment; leaf is findLeaf(yb), findLeaf(ye) resp.
void processLeft(PASS &pass, uint64_t alinr, const NODE *leaf);
void processRight(PASS &pass, uint64_t alinr, NODE *leaf);
void getResult(PASS &pass);

// Report (report.cpp).
// The report stream: standard output, or with "-f" a new file that
// replaces infile_name + ".chainout" only when complete (finish()).
class ReportStream {
 public:
  explicit ReportStream(const OPTIONS &options);
  void put(const char *data, size_t length);
  void put(const std::string &s) { put(s.data(), s.size()); }
  // Flushes standard output, or closes the new file and puts it in place.
  void finish();

 private:
  [[noreturn]] void fail();
  std::string name_;  // the report's name, as messages show it
  std::unique_ptr<common::AtomicOutput> out_;
};
// Writes one complete report of `pass` to `out`; returns 1.
int writeToOutfile(const OPTIONS &options, const INPUT &input, const PASS &pass,
                   ReportStream &out);
// `name` as the header shows it: control bytes and '\' escaped, so the
// header stays one line per field and the escape is unambiguous.
std::string escapeName(const std::string &name);

#endif
