#include "raster_output.h"

#include "tool_error.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <memory>

namespace aliplot {

namespace {

// Cairo's stream writers append to the string they are given.
cairo_status_t appendBytes(void *closure, const unsigned char *data, unsigned int length) {
  static_cast<std::string *>(closure)->append(reinterpret_cast<const char *>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

struct GObjectRelease {
  void operator()(RsvgHandle *handle) const { g_object_unref(handle); }
};
struct SurfaceRelease {
  void operator()(cairo_surface_t *surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
  void operator()(cairo_t *cr) const { cairo_destroy(cr); }
};

std::unique_ptr<RsvgHandle, GObjectRelease> parsed(const std::string &svg) {
  GError *error = nullptr;
  RsvgHandle *handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8 *>(svg.data()), svg.size(), &error);
  if (!handle) {
    const std::string why = error ? error->message : "unknown reason";
    if (error) g_error_free(error);
    throw common::ToolError("the drawing could not be read for rendering: " + why);
  }
  return std::unique_ptr<RsvgHandle, GObjectRelease>(handle);
}

void check(cairo_status_t status, const char *what) {
  if (status != CAIRO_STATUS_SUCCESS)
    throw common::ToolError(std::string(what) + ": " + cairo_status_to_string(status));
}

}  // namespace

std::string renderedDocument(const std::string &svg, int width, int height, RenderedFormat format) {
  const auto handle = parsed(svg);
  std::string bytes;
  std::unique_ptr<cairo_surface_t, SurfaceRelease> surface(
      format == RenderedFormat::PNG ? cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)
                                    : cairo_pdf_surface_create_for_stream(appendBytes, &bytes, width, height));
  check(cairo_surface_status(surface.get()), "the picture could not be made");
  {
    std::unique_ptr<cairo_t, ContextRelease> cr(cairo_create(surface.get()));
    const RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    GError *error = nullptr;
    if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error)) {
      const std::string why = error ? error->message : "unknown reason";
      if (error) g_error_free(error);
      throw common::ToolError("the drawing could not be rendered: " + why);
    }
    check(cairo_status(cr.get()), "the drawing could not be rendered");
  }
  if (format == RenderedFormat::PNG)
    check(cairo_surface_write_to_png_stream(surface.get(), appendBytes, &bytes), "the PNG could not be written");
  cairo_surface_finish(surface.get());
  check(cairo_surface_status(surface.get()), "the picture could not be finished");
  return bytes;
}

}  // namespace aliplot
