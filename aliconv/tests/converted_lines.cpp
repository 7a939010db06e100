#include "converted_lines.h"

#include "convert.h"
#include "options.h"
#include "test_files.h"

#include <sstream>

namespace aliconv_test {

std::string dataFile(const std::string &name) { return std::string(ALICONV_TEST_DATA) + "/" + name; }

std::string convertFile(const std::string &input, const std::vector<std::string> &arguments) {
  common_test::TempDir dir;
  std::vector<std::string> words{"aliconv", "-o", dir.file("out.gff")};
  words.insert(words.end(), arguments.begin(), arguments.end());
  words.push_back(input);
  std::vector<char *> argv;
  for (std::string &word : words) argv.push_back(word.data());
  const aliconv::Options options = aliconv::parseOptions(static_cast<int>(argv.size()), argv.data());
  aliconv::convert(options.convert);
  return common_test::readFile(dir.file("out.gff"));
}

std::vector<std::string> linesOf(const std::string &text, const std::string &feature, size_t fields) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> words;
    std::istringstream split(line);
    for (std::string word; std::getline(split, word, '\t');) words.push_back(word);
    if (words.size() < 3 || words[2] != feature) continue;
    if (fields == 0 || fields >= words.size()) {
      result.push_back(line);
      continue;
    }
    std::string cut = words[0];
    for (size_t i = 1; i < fields; ++i) cut += "\t" + words[i];
    result.push_back(cut);
  }
  return result;
}

}  // namespace aliconv_test
