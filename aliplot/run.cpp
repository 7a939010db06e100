#include "run.h"

#include "atomic_output.h"
#include "thinned_layer.h"
#include "html_page.h"
#include "picture.h"
#include "plot_input.h"
#include "svg_plot.h"
#include "synteny_input.h"
#include "program.h"
#include "raster_output.h"
#include "sequence_layout.h"

namespace aliplot {

namespace {

std::string documentFor(const PlotInput &plot, const Picture &picture, OutputFormat format) {
  switch (format) {
    case OutputFormat::HTML: return htmlPage(plot, picture);
    case OutputFormat::PNG:
      return renderedDocument(svgDocument(plot, picture), picture.width, picture.height, RenderedFormat::PNG);
    case OutputFormat::PDF:
      return renderedDocument(svgDocument(plot, picture), picture.width, picture.height, RenderedFormat::PDF);
    case OutputFormat::SVG: break;
  }
  return svgDocument(plot, picture);
}

}  // namespace

void writePlot(const Options &options) {
  PlotInput plot = readPlotInput(options.alignments, options.reports, options.pair, options.input);
  if (!options.blocks.empty()) readBlocks(options.blocks, plot, options.pair);
  if (!options.assign.empty()) readAssignments(options.assign, plot, options.pair);
  if (!options.title.empty()) plot.title = options.title;
  layOutSequences(plot, options.order);
  const Picture picture = pictureFor(plot, options.plotSize, DEFAULT_LINE_BUDGET);
  const std::string document = documentFor(plot, picture, options.format);
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
