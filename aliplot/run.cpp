#include "run.h"

#include "atomic_output.h"
#include "grey_layer.h"
#include "html_page.h"
#include "picture.h"
#include "plot_input.h"
#include "svg_plot.h"
#include "program.h"

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
  return common::runProgram("aliplot", usageText(), [&] {
    writePlot(parseOptions(std::vector<std::string>(argv + 1, argv + argc)));
  });
}

}  // namespace aliplot
