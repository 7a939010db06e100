// Test helpers: the lines aliconv makes of an input, through the program's
// own conversion and pick entry points.
#ifndef ALICONV_TESTS_CONVERTED_LINES_H
#define ALICONV_TESTS_CONVERTED_LINES_H

#include <string>
#include <vector>

namespace aliconv_test {

// The folder of the copied aligner output.
std::string dataFile(const std::string &name);
// The whole output of aliconv's conversion of `input` with the extra
// arguments; throws what the conversion throws.
std::string convertFile(const std::string &input, const std::vector<std::string> &arguments = {});
// The lines of `text` whose third field is `feature`, first `fields` fields
// only (0: whole lines).
std::vector<std::string> linesOf(const std::string &text, const std::string &feature, size_t fields = 0);

}  // namespace aliconv_test

#endif
