// The program: options, the run, and the one place where failures become
// messages and exit statuses.
#ifndef ALISYN_RUN_H
#define ALISYN_RUN_H

namespace alisyn {

// Exit statuses: 0 success, 1 bad input or a failed read or write, 2 usage.
int alisynMain(int argc, char **argv);

}  // namespace alisyn

#endif
