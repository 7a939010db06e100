#include "smooth.h"

#include <csignal>

int main(int argc, char **argv) {
  // A closed pipe or FIFO on the output, or a file grown past the size
  // limit, must show as a failed write with its message and status 1, not
  // end the process.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  return smoothMain(argc, argv);
}
