// Each query strand is one job; workers take the next job until none is
// left, the longest strands first so that the last to finish are short.
// The index is only read, and each job owns its query copy and results, so
// the workers share nothing but the job counter.
#include "strand_search.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <numeric>
#include <string>
#include <thread>

namespace mumfind {

namespace {

struct StrandJob {
  const Sequence *query;
  char strand;  // '+' or '-'
  std::vector<Match> matches;
};

void runJob(const LUMO_SAINDEX *index, const SearchSettings &settings, StrandJob &job) {
  const Sequence &q = *job.query;
  if (job.strand == '+') {
    job.matches = findMatches(index, q.codes, q.length, settings.kind, settings.minLength);
  } else {
    std::string reverse = reverseComplement(q.codes, q.length);
    job.matches = findMatches(index, reverse.data(), q.length, settings.kind, settings.minLength);
  }
  // Grouped by reference sequence for the pairs, query order kept within.
  std::stable_sort(job.matches.begin(), job.matches.end(),
                   [](const Match &a, const Match &b) { return a.reference < b.reference; });
}

void runJobs(const LUMO_SAINDEX *index, const SearchSettings &settings, std::vector<StrandJob> &jobs) {
  std::vector<size_t> order(jobs.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return jobs[a].query->length > jobs[b].query->length; });
  std::atomic<size_t> next{0};
  std::vector<std::exception_ptr> failures(size_t(settings.threads));
  auto work = [&](size_t worker) {
    try {
      for (size_t k; (k = next++) < order.size();) runJob(index, settings, jobs[order[k]]);
    } catch (...) {
      failures[worker] = std::current_exception();
      next = order.size();
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
void addMatches(const StrandJob &job, int reference, std::vector<PairMatch> &out) {
  auto [from, to] = std::equal_range(job.matches.begin(), job.matches.end(), Match{reference, 0, 0, 0},
                                     [](const Match &a, const Match &b) { return a.reference < b.reference; });
  for (auto m = from; m != to; ++m) {
    int64_t begin = job.strand == '+' ? m->query : job.query->length - m->query - m->length;
    out.push_back({m->ref + 1, begin + 1, m->length, job.strand});
  }
}

}  // namespace

std::vector<PairResult> searchPairs(const ReferenceIndex &index,
                                    const std::vector<const Sequence *> &references,
                                    const std::vector<const Sequence *> &queries,
                                    const SearchSettings &settings) {
  std::vector<StrandJob> jobs;
  for (const Sequence *q : queries) {
    jobs.push_back({q, '+', {}});
    if (settings.bothStrands) jobs.push_back({q, '-', {}});
  }
  runJobs(index.get(), settings, jobs);
  size_t strands = settings.bothStrands ? 2 : 1;
  std::vector<PairResult> results;
  for (const Sequence *ref : references) {
    for (size_t k = 0; k < queries.size(); k++) {
      PairResult pair{ref, queries[k], {}};
      for (size_t s = 0; s < strands; s++) addMatches(jobs[k * strands + s], ref->number - 1, pair.matches);
      results.push_back(std::move(pair));
    }
  }
  return results;
}

}  // namespace mumfind
