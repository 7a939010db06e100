// Private to the library and its tests: the sequence-file reader with its
// length limit as a parameter, so that tests can reach the limit cheaply.
#ifndef LUMO_SEQFILE_H
#define LUMO_SEQFILE_H

#include <cstdio>

#include "lumo.h"

// read_seq_stream_names with sequences of more than `max_length` residues
// refused.
int seqfile_read(std::FILE *stream, const char *name, long long max_length, char **message,
                 char ***names);

#endif
