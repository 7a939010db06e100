# Writes OUTPUT, a C++ source defining the page's script and style sheet
# (the files SCRIPT and STYLE) as string constants.
file(READ ${SCRIPT} script)
file(READ ${STYLE} style)
foreach(text script style)
  string(FIND "${${text}}" ")ASSET\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${text} holds the raw string's closing delimiter")
  endif()
endforeach()
file(WRITE ${OUTPUT}.new
  "// Generated from page.js and page.css; do not edit.\n"
  "#include \"page_assets.h\"\n"
  "namespace aliplot {\n"
  "const char *const PAGE_SCRIPT = R\"ASSET(${script})ASSET\";\n"
  "const char *const PAGE_STYLE = R\"ASSET(${style})ASSET\";\n"
  "}  // namespace aliplot\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
