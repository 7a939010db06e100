// The input formats, their names on the command line, and their
// recognition from the first lines of an input.
#ifndef ALICONV_FORMAT_H
#define ALICONV_FORMAT_H

#include <string>
#include <string_view>

namespace aliconv {

enum class Format { PAF, SAM, BAM, CRAM, BLAST6, BLAST7, DELTA, COORDS, MAF, GENERAL, ALIGNMENT_FILE };

// The name used by -i and in the output's comments ("paf", "sam", ...).
const char *formatName(Format format);
// The format named, or false for an unknown name.
bool formatFromName(std::string_view name, Format &format);
// The names of all formats, separated by ", " (for messages and usage).
std::string formatNames();
// The format named by an option's value; throws common::UsageError naming
// the formats for an unknown name.
Format formatOption(const std::string &name);
// Whether records of the format come through htslib from a file.
bool isBinarySam(Format format);

// Recognises the format from the first bytes of the (decompressed) input;
// throws ToolError naming the file when no format or more than one fits.
Format recogniseContent(std::string_view content, const std::string &name);

}  // namespace aliconv

#endif
