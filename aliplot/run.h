// A run of aliplot: the command line, the plot written, errors reported.
#ifndef ALIPLOT_RUN_H
#define ALIPLOT_RUN_H

#include "options.h"

#include <string>

namespace aliplot {

// Reads the inputs and writes the plot; throws common::ToolError.
void writePlot(const Options &options);

// The program: 0 after a complete plot, 1 on bad input or a failed write
// (one "aliplot: " line on standard error), 2 on a usage error.
int aliplotMain(int argc, char **argv);

}  // namespace aliplot

#endif
