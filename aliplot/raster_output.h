// The plot's SVG document rendered into a PNG or PDF in the program itself
// (librsvg draws it on a cairo surface), at the document's own size in
// pixels (PNG) or points (PDF).
#ifndef ALIPLOT_RASTER_OUTPUT_H
#define ALIPLOT_RASTER_OUTPUT_H

#include <string>

namespace aliplot {

enum class RenderedFormat { PNG, PDF };

// The rendered file's bytes. Throws common::ToolError when the document
// cannot be parsed or drawn.
std::string renderedDocument(const std::string &svg, int width, int height, RenderedFormat format);

}  // namespace aliplot

#endif
