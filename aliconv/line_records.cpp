// Lines are read in batches: the reading thread copies each batch's lines,
// classifies them and numbers the records; the records' fields are then
// split and parsed, on the reading thread or on parsing threads; last the
// reading thread hands the batch to the sink in line order. Parsing, the
// costly step, thereby runs beside reading and the sink, while the sink
// sees exactly the calls of a reading on one thread: same order, and the
// first failure in line order (a bad record, a bad line, a read error)
// stops the reading with that failure.
#include "line_records.h"

#include "line_input.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace aliconv {

namespace {

// Lines a batch holds at most: large enough that handing batches between
// threads costs little, small enough that a batch stays in cache.
constexpr size_t BATCH_LINES = 2048;

struct BatchLine {
  size_t offset, size;  // in Batch::text
  uint64_t lineNumber;
  OutsideLine kind;
  uint64_t record;  // from 1, for records
  bool parse;       // a record the sink wants
};

struct Batch {
  std::string text;
  std::vector<BatchLine> lines;
  // One per line to parse, in order; reused from batch to batch so that
  // their block lists keep their room.
  std::vector<Alignment> alignments;
  size_t parsed = 0;                // alignments parsed before `parseFailure`
  std::exception_ptr parseFailure;  // the first record that failed to parse
  std::exception_ptr readFailure;   // a failure after the last line
  bool last = false;                // the input ends with this batch

  std::string_view line(const BatchLine &l) const { return std::string_view(text).substr(l.offset, l.size); }
};

// What one reading shares between the fill, parse and delivery steps.
struct Reading {
  common::LineInput &input;
  RecordSink &sink;
  const ReadSettings &settings;
  const LineClassifier &classify;
  const RecordParser &parse;
  uint64_t record = 0;
};

// Reads up to BATCH_LINES lines into the batch. A failure (read error, or
// a line the classifier refuses) ends the batch and the input.
void fill(Reading &r, Batch &b) {
  b.text.clear();
  b.lines.clear();
  b.parsed = 0;
  b.parseFailure = b.readFailure = nullptr;
  b.last = false;
  size_t wanted = 0;
  try {
    std::string_view line;
    while (b.lines.size() < BATCH_LINES) {
      if (!r.input.next(line)) {
        b.last = true;
        break;
      }
      const Place place{r.input.name(), r.input.lineNumber()};
      BatchLine l{b.text.size(), line.size(), place.line, r.classify(line, place), 0, false};
      if (!l.kind.outside) {
        l.record = ++r.record;
        l.parse = r.sink.wanted(l.record);
        wanted += l.parse;
      }
      b.text.append(line);
      b.lines.push_back(l);
    }
  } catch (...) {
    b.readFailure = std::current_exception();
    b.last = true;
  }
  if (b.alignments.size() < wanted) b.alignments.resize(wanted);
}

// Parses the batch's wanted records; stops at the first that fails.
void parseBatch(const RecordParser &parse, const std::string &file, Batch &b) {
  std::vector<std::string_view> fields;
  try {
    for (const BatchLine &l : b.lines) {
      if (!l.parse) continue;
      splitFields(b.line(l), '\t', fields);
      Alignment &a = b.alignments[b.parsed];
      parse(fields, Place{file, l.lineNumber}, a);
      a.record = l.record;
      a.lineNumber = l.lineNumber;
      ++b.parsed;
    }
  } catch (...) {
    b.parseFailure = std::current_exception();
  }
}

// Hands the batch to the sink, line by line; rethrows its first failure
// where it stands.
void deliver(Reading &r, Batch &b) {
  size_t next = 0;
  for (const BatchLine &l : b.lines) {
    if (r.settings.lines) {
      if (l.kind.outside)
        r.sink.line(b.line(l), l.kind.count, l.kind.role);
      else
        r.sink.line(b.line(l), l.record, LineRole::RECORD);
    }
    if (!l.parse) continue;
    if (next == b.parsed) std::rethrow_exception(b.parseFailure);
    r.sink.alignment(b.alignments[next++]);
  }
  if (b.readFailure) std::rethrow_exception(b.readFailure);
}

// Parsing threads beside the reading thread. Batch k sits in slot k % size
// of a ring and is parsed by thread k % threads; the reading thread fills
// the batches ahead and delivers them in order.
class ParsingThreads {
 public:
  ParsingThreads(Reading &reading, int threads)
      : reading_(reading), slots_(2 * static_cast<size_t>(threads)), states_(slots_.size(), State::FREE) {
    try {
      for (int t = 0; t < threads; ++t) threads_.emplace_back([this, t, threads] { work(t, threads); });
    } catch (...) {
      // A thread the system would not start: those started end first.
      stop();
      throw;
    }
  }

  ~ParsingThreads() { stop(); }

  void read() {
    const size_t ring = slots_.size();
    uint64_t filled = 0, delivered = 0;
    bool last = false;
    while (!last || delivered < filled) {
      if (!last && filled - delivered < ring) {
        Batch &b = slots_[filled % ring];
        fill(reading_, b);
        last = b.last;
        setState(filled++ % ring, State::FILLED);
        continue;
      }
      waitFor(delivered % ring, State::PARSED);
      deliver(reading_, slots_[delivered % ring]);
      setState(delivered++ % ring, State::FREE);
    }
  }

 private:
  enum class State { FREE, FILLED, PARSED };

  void stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread &t : threads_) t.join();
  }

  void setState(size_t slot, State state) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      states_[slot] = state;
    }
    changed_.notify_all();
  }

  // False when stopping.
  bool waitFor(size_t slot, State state) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return stopping_ || states_[slot] == state; });
    return !stopping_;
  }

  void work(int first, int step) {
    for (uint64_t k = static_cast<uint64_t>(first);; k += static_cast<uint64_t>(step)) {
      const size_t slot = k % slots_.size();
      if (!waitFor(slot, State::FILLED)) return;
      parseBatch(reading_.parse, reading_.input.name(), slots_[slot]);
      const bool last = slots_[slot].last;
      setState(slot, State::PARSED);
      if (last) return;
    }
  }

  Reading &reading_;
  std::vector<Batch> slots_;
  std::vector<State> states_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace

void readLineRecords(common::LineInput &input, RecordSink &sink, const ReadSettings &settings,
                     const LineClassifier &classify, const RecordParser &parse) {
  Reading reading{input, sink, settings, classify, parse};
  if (settings.parsingThreads > 0) {
    ParsingThreads(reading, settings.parsingThreads).read();
    return;
  }
  Batch b;
  do {
    fill(reading, b);
    parseBatch(parse, input.name(), b);
    deliver(reading, b);
  } while (!b.last);
}

}  // namespace aliconv
