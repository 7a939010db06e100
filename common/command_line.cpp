#include "command_line.h"

namespace common {

namespace {

// The options every program has, answered by runProgram.
std::vector<Option> withInfoRequests(const std::vector<Option> &options) {
  std::vector<Option> all = options;
  all.push_back({'h', "help", Option::FLAG, [](const std::string &) {
                   throw InfoRequest{InfoRequest::HELP};
                 }});
  all.push_back({0, "version", Option::FLAG, [](const std::string &) {
                   throw InfoRequest{InfoRequest::VERSION};
                 }});
  return all;
}

// The option named NAME, else the only one whose name begins with NAME.
const Option &longOption(const std::vector<Option> &options, const std::string &name) {
  const Option *found = nullptr;
  int beginnings = 0;
  std::string candidates;
  for (const Option &option : options) {
    if (option.longName == nullptr) continue;
    const std::string longName = option.longName;
    if (longName == name) return option;
    if (longName.compare(0, name.size(), name) == 0) {
      found = &option;
      ++beginnings;
      candidates += (beginnings > 1 ? ", --" : "--") + longName;
    }
  }
  if (found == nullptr) throw UsageError("unknown option --" + name);
  if (beginnings > 1)
    throw UsageError("option --" + name + " is ambiguous (" + candidates + ")");
  return *found;
}

const Option &shortOption(const std::vector<Option> &options, char letter) {
  // A word from a vector (not from main) may hold a NUL, which marks no option.
  for (const Option &option : options)
    if (option.shortName != 0 && option.shortName == letter) return option;
  throw UsageError(std::string("unknown option -") + letter);
}

// The words of the command line and the next one to read.
struct Words {
  const std::vector<std::string> &words;
  size_t next;

  // The word after an option that takes it as its value.
  const std::string &valueOf(const std::string &option) {
    if (next == words.size()) throw UsageError("option " + option + " needs a value");
    return words[next++];
  }
};

// WORD is "--name" or "--name=value".
void applyLong(const std::vector<Option> &options, const std::string &word, Words &words) {
  const size_t equals = word.find('=');
  const bool hasValue = equals != std::string::npos;
  const std::string name = word.substr(2, hasValue ? equals - 2 : equals);
  if (name.empty()) throw UsageError("unknown option " + word);
  const Option &option = longOption(options, name);
  const std::string shown = std::string("--") + option.longName;
  if (option.kind == Option::FLAG) {
    if (hasValue) throw UsageError("option " + shown + " takes no value");
    option.apply("");
  } else {
    option.apply(hasValue ? word.substr(equals + 1) : words.valueOf(shown));
  }
}

// WORD is "-" followed by flags, of which the last may be an option whose
// value is the rest of the word or else the next word.
void applyShort(const std::vector<Option> &options, const std::string &word, Words &words) {
  for (size_t at = 1; at < word.size(); ++at) {
    const Option &option = shortOption(options, word[at]);
    if (option.kind == Option::FLAG) {
      option.apply("");
    } else {
      option.apply(at + 1 < word.size() ? word.substr(at + 1)
                                         : words.valueOf(std::string("-") + word[at]));
      return;
    }
  }
}

}  // namespace

std::vector<std::string> parseCommandLine(const std::vector<std::string> &arguments,
                                          const std::vector<Option> &options) {
  const std::vector<Option> all = withInfoRequests(options);
  std::vector<std::string> operands;
  Words words{arguments, 0};
  while (words.next < arguments.size()) {
    const std::string &word = arguments[words.next++];
    if (word == "--") {
      operands.insert(operands.end(), arguments.begin() + static_cast<long>(words.next),
                      arguments.end());
      break;
    }
    if (word.size() < 2 || word[0] != '-')
      operands.push_back(word);
    else if (word[1] == '-')
      applyLong(all, word, words);
    else
      applyShort(all, word, words);
  }
  return operands;
}

std::vector<std::string> parseCommandLine(int argc, char **argv, const std::vector<Option> &options) {
  // A program started without even its own name has no arguments either.
  if (argc < 1) return parseCommandLine(std::vector<std::string>(), options);
  return parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options);
}

}  // namespace common
