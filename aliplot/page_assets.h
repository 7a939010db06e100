// The interactive page's script and style sheet (page.js, page.css), built
// into the program so that every page carries them inline.
#ifndef ALIPLOT_PAGE_ASSETS_H
#define ALIPLOT_PAGE_ASSETS_H

namespace aliplot {

extern const char *const PAGE_SCRIPT;
extern const char *const PAGE_STYLE;

}  // namespace aliplot

#endif
