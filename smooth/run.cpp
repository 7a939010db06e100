// The run of the program: arguments, files, reading, neighbour count and
// output, with every failure turned into a message and an exit status.
#include "line_reader.h"
#include "neighbours.h"
#include "numbers.h"
#include "outfile.h"
#include "smooth.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// State of one run; everything it owns is released when the run ends.
struct SMOOTH_RUN {
  const char *infilename = nullptr;
  const char *outfilename = nullptr;
  int winsize = 0;
  int lowlimit = 0;
  int infd = -1;
  READER reader{};
  OUTFILE out{};
  std::vector<LINE> input;  // the candidates in input order
  size_t num1 = 0;          // number of candidates in input
};

void file_error(const char *filename, const char *what, int errnum) {
  std::fprintf(stderr, "smooth: %s: %s: %s\n", filename, what, std::strerror(errnum));
}

const char *skip_reason(RECORD_STATUS status) {
  switch (status) {
  case RECORD_BAD_DIR: return "direction code missing or not a 32-bit decimal integer";
  case RECORD_BAD_POS: return "position missing or not a 32-bit decimal integer";
  case RECORD_BAD_LEN: return "length missing or not a 32-bit decimal integer";
  default: return "p-value missing";
  }
}

// Opens the input, refusing a directory. Returns false after a message.
bool open_input(SMOOTH_RUN *run) {
  run->infd = open(run->infilename, O_RDONLY | O_CLOEXEC);
  if (run->infd < 0) {
    file_error(run->infilename, "cannot open", errno);
    return false;
  }
  struct stat st;
  if (fstat(run->infd, &st) != 0) {
    file_error(run->infilename, "cannot read", errno);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    file_error(run->infilename, "cannot read", EISDIR);
    return false;
  }
  reader_init(&run->reader, run->infd);
  return true;
}

// Opens the output. Called only once the neighbours are counted, so that
// a run that fails before its first write leaves an existing output file
// as it was. Returns false after a message.
bool open_output(SMOOTH_RUN *run) {
  const int err = out_open(&run->out, run->outfilename);
  if (err != 0) {
    file_error(run->outfilename, "cannot create", err);
    return false;
  }
  return true;
}

// Reads every record after the first line into the candidate list, warning
// about and skipping malformed lines. Returns false after a read error
// (with its message) or when the line buffer could not grow (reader.oom).
bool read_records(SMOOTH_RUN *run) {
  size_t buf_len = 0;
  unsigned long lineno = 1;
  // The first line is a header, whatever it holds.
  if (my_getline(&run->reader, &buf_len) != nullptr) {
    while (const char *inbuf = my_getline(&run->reader, &buf_len)) {
      ++lineno;
      RECORD rec;
      const RECORD_STATUS status = parse_record(inbuf, buf_len, &rec);
      if (status == RECORD_OK && is_candidate(rec))
        run->input.push_back(LINE{rec.pos, 0, rec.len, rec.dir, rec.pval});
      else if (status != RECORD_OK && status != RECORD_BLANK)
        std::fprintf(stderr, "smooth: %s: line %lu: %s; line skipped\n", run->infilename,
                     lineno, skip_reason(status));
    }
  }
  run->num1 = run->input.size();
  if (run->reader.err != 0)
    file_error(run->infilename, "read error", run->reader.err);
  return run->reader.err == 0 && !run->reader.oom;
}

// Marks each candidate that has at least lowlimit neighbours.
void mark_candidates(SMOOTH_RUN *run) {
  const std::vector<uint32_t> counts =
      count_neighbours(run->input.data(), run->num1, run->winsize);
  for (size_t i = 0; i < run->num1; ++i) {
    LINE &c = run->input[i];
    c.bs = static_cast<int64_t>(counts[i]) >= run->lowlimit;
  }
}

// Writes the marked candidates in input order.
void write_candidates(SMOOTH_RUN *run) {
  for (size_t i = 0; i < run->num1; ++i) {
    const LINE &c = run->input[i];
    if (c.bs)
      out_numbers3(&run->out, c.pos, int64_t(c.pos) + c.len, c.len);
  }
}

// A usage text that cannot be written is a failure like any other write.
int print_usage() {
  if (std::fputs("USAGE: smooth <infile> windowsize <outfile> threshold\n", stdout) != EOF &&
      std::fflush(stdout) == 0)
    return 0;
  file_error("standard output", "write error", errno);
  return 1;
}

// The one message for memory running out, wherever it happens.
int out_of_memory() {
  std::fputs("smooth: out of memory\n", stderr);
  return 1;
}

int filter(SMOOTH_RUN *run) {
  if (!open_input(run))
    return 1;
  if (!read_records(run))
    return run->reader.oom ? out_of_memory() : 1;
  mark_candidates(run);
  if (!open_output(run))
    return 1;
  write_candidates(run);
  const int err = out_close(&run->out, run->outfilename);
  if (err != 0) {
    file_error(run->outfilename, "write error", err);
    return 1;
  }
  return 0;
}

} // namespace

int smoothMain(int argc, char **argv) {
  if (argc != 5) {
    return print_usage();
  }
  SMOOTH_RUN run;
  run.infilename = argv[1];
  run.winsize = atoi_clamped(argv[2]);
  run.outfilename = argv[3];
  run.lowlimit = atoi_clamped(argv[4]);
  int status = 1;
  try {
    status = filter(&run);
  } catch (const std::bad_alloc &) {
    status = out_of_memory();
  }
  out_discard(&run.out);
  if (run.infd >= 0)
    close(run.infd);
  reader_free(&run.reader);
  return status;
}
