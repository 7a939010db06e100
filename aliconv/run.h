// The program: options, the run, and the one place where failures become
// messages and exit statuses.
#ifndef ALICONV_RUN_H
#define ALICONV_RUN_H

namespace aliconv {

// Exit statuses: 0 success, 1 bad input or a failed read or write, 2 usage.
int aliconvMain(int argc, char **argv);

}  // namespace aliconv

#endif
