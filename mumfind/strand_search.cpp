// Each query strand is cut into parts of a few million positions, one job
// each; workers take the next job until none is left, so that two threads
// stay busy even when one strand matches far more than the other. The
// index is only read, and each job owns its results, so the workers share
// nothing but the job counter. The parts of a strand are then joined.
#include "strand_search.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <string>
#include <thread>

namespace mumfind {

namespace {

// Query positions per job: small enough to balance two threads on one
// genome, large enough that a job's start-up is lost in it.
constexpr int64_t PART = int64_t(1) << 21;

struct Strand {
  const Sequence *query;
  char strand;        // '+' or '-'
  std::string codes;  // the reverse complement, for '-'
  std::vector<QueryPart> parts;
  std::vector<Match> matches;  // grouped by reference, query order kept within

  const char *text() const { return strand == '+' ? query->codes : codes.data(); }
};

struct Job {
  Strand *strand;
  size_t part;
};

void runJobs(const LUMO_SAINDEX *index, const SearchSettings &settings, std::vector<Job> &jobs) {
  std::atomic<size_t> next{0};
  std::vector<std::exception_ptr> failures(size_t(settings.threads));
  auto work = [&](size_t worker) {
    try {
      for (size_t k; (k = next++) < jobs.size();) {
        Strand &s = *jobs[k].strand;
        int64_t from = int64_t(jobs[k].part) * PART, to = std::min<int64_t>(from + PART, s.query->length);
        s.parts[jobs[k].part] =
            searchPart(index, s.text(), s.query->length, from, to, settings.kind, settings.minLength);
      }
    } catch (...) {
      failures[worker] = std::current_exception();
      next = jobs.size();
    }
  };
  size_t workers = std::min(size_t(settings.threads), jobs.size());
  std::vector<std::thread> threads;
  for (size_t w = 1; w < workers; w++) threads.emplace_back(work, w);
  work(0);
  for (std::thread &t : threads) t.join();
  for (const std::exception_ptr &failure : failures)
    if (failure) std::rethrow_exception(failure);
}

// A strand's matches with one reference in output coordinates: a match of
// the reverse complement at position q covers forward positions
// length - q - len to length - q - 1 (from 0).
void addMatches(const Strand &s, int reference, std::vector<PairMatch> &out) {
  auto [from, to] = std::equal_range(s.matches.begin(), s.matches.end(), Match{reference, 0, 0, 0},
                                     [](const Match &a, const Match &b) { return a.reference < b.reference; });
  for (auto m = from; m != to; ++m) {
    int64_t begin = s.strand == '+' ? m->query : s.query->length - m->query - m->length;
    out.push_back({m->ref + 1, begin + 1, m->length, s.strand});
  }
}

}  // namespace

std::vector<PairResult> searchPairs(const ReferenceIndex &index,
                                    const std::vector<const Sequence *> &references,
                                    const std::vector<const Sequence *> &queries,
                                    const SearchSettings &settings) {
  std::vector<Strand> strands;
  for (const Sequence *q : queries) {
    strands.push_back({q, '+', {}, {}, {}});
    if (settings.bothStrands) strands.push_back({q, '-', reverseComplement(q->codes, q->length), {}, {}});
  }
  std::vector<Job> jobs;
  for (Strand &s : strands) {
    s.parts.resize(size_t((s.query->length + PART - 1) / PART));
    for (size_t k = 0; k < s.parts.size(); k++) jobs.push_back({&s, k});
  }
  runJobs(index.get(), settings, jobs);
  for (Strand &s : strands) {
    s.matches = joinParts(index.get(), s.parts, settings.kind);
    s.parts.clear();
    std::stable_sort(s.matches.begin(), s.matches.end(),
                     [](const Match &a, const Match &b) { return a.reference < b.reference; });
  }
  size_t perQuery = settings.bothStrands ? 2 : 1;
  std::vector<PairResult> results;
  for (const Sequence *ref : references) {
    for (size_t k = 0; k < queries.size(); k++) {
      PairResult pair{ref, queries[k], {}};
      for (size_t s = 0; s < perQuery; s++) addMatches(strands[k * perQuery + s], ref->number - 1, pair.matches);
      results.push_back(std::move(pair));
    }
  }
  return results;
}

}  // namespace mumfind
