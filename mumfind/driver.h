// One run of mumfind: the command line in, the outputs written, the exit
// status out (0 done, 1 a failure with one message on standard error, 2 a
// command line that cannot be run).
#ifndef MUMFIND_DRIVER_H
#define MUMFIND_DRIVER_H

namespace mumfind {

int mumfindMain(int argc, char **argv);

}  // namespace mumfind

#endif
