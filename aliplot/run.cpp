#include "run.h"

#include "atomic_output.h"
#include "grey_layer.h"
#include "html_page.h"
#include "picture.h"
#include "plot_input.h"
#include "svg_plot.h"
#include "tool_error.h"

#include <csignal>
#include <cstdio>
#include <new>

namespace aliplot {

void writePlot(const Options &options) {
  const PlotInput plot = readPlotInput(options.alignments, options.reports);
  const Picture picture = pictureFor(plot, options.plotSize, DEFAULT_LINE_BUDGET);
  const std::string document = options.format == OutputFormat::HTML ? htmlPage(plot, picture)
                                                                     : svgDocument(plot, picture);
  common::AtomicOutput output(options.output);
  output.write(document);
  output.commit();
}

int aliplotMain(int argc, char **argv) {
  // A closed pipe is a write error that commit() reports.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(usageText(), stdout);
      return std::fflush(stdout) == 0 ? 0 : 1;
    }
    writePlot(options);
    return 0;
  } catch (const UsageError &error) {
    std::fprintf(stderr, "aliplot: %s\n%s", error.message.c_str(), usageText());
    return 2;
  } catch (const common::ToolError &error) {
    std::fprintf(stderr, "aliplot: %s\n", error.what());
  } catch (const std::bad_alloc &) {
    std::fputs("aliplot: out of memory\n", stderr);
  }
  return 1;
}

}  // namespace aliplot
