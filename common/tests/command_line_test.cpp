#include "command_line.h"
#include "option_values.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Words = std::vector<std::string>;

// A command line parsed against a table of every kind of option; each
// option given is logged as "name=value;" ("name;" for a flag).
struct Parsed {
  std::string log;
  Words operands;
};

Parsed parse(const Words &words) {
  using common::Option;
  Parsed parsed;
  auto value = [&](const char *name) {
    return [&parsed, name](const std::string &v) { parsed.log += std::string(name) + "=" + v + ";"; };
  };
  auto flag = [&](const char *name) {
    return [&parsed, name](const std::string &) { parsed.log += std::string(name) + ";"; };
  };
  parsed.operands = common::parseCommandLine(words, {
      {'o', "output", Option::VALUE, value("o")},
      {'l', nullptr, Option::VALUE, value("l")},
      {'b', nullptr, Option::FLAG, flag("b")},
      {0, "swap", Option::FLAG, flag("swap")},
      {0, "split", Option::VALUE, value("split")},
      {0, "table", Option::FLAG, flag("table")},
      {0, "tables", Option::FLAG, flag("tables")},
  });
  return parsed;
}

struct Accepted {
  Words words;
  std::string log;
  Words operands;
};

class AcceptedCommandLine : public testing::TestWithParam<Accepted> {};

TEST_P(AcceptedCommandLine, AppliesOptionsInOrderAndKeepsOperands) {
  const Parsed parsed = parse(GetParam().words);
  EXPECT_EQ(parsed.log, GetParam().log);
  EXPECT_EQ(parsed.operands, GetParam().operands);
}

INSTANTIATE_TEST_SUITE_P(
    Conventions, AcceptedCommandLine,
    testing::Values(
        Accepted{{"-o", "f"}, "o=f;", {}}, Accepted{{"-of"}, "o=f;", {}},
        Accepted{{"--output=f"}, "o=f;", {}}, Accepted{{"--output", "f"}, "o=f;", {}},
        Accepted{{"--out", "f"}, "o=f;", {}}, Accepted{{"--output=a=b"}, "o=a=b;", {}},
        Accepted{{"--output="}, "o=;", {}}, Accepted{{"-l20"}, "l=20;", {}},
        Accepted{{"-bl20"}, "b;l=20;", {}}, Accepted{{"-bbl", "7"}, "b;b;l=7;", {}},
        Accepted{{"-lb"}, "l=b;", {}},  // the rest of the word is -l's value
        Accepted{{"-o", "-"}, "o=-;", {}}, Accepted{{"-o", "--"}, "o=--;", {}},
        Accepted{{"-o", "--swap"}, "o=--swap;", {}},
        Accepted{{"-o", "1", "-o", "2"}, "o=1;o=2;", {}},
        Accepted{{"a", "-b", "c", "--swap", "d"}, "b;swap;", {"a", "c", "d"}},
        Accepted{{"-b", "--", "-x", "--swap", "--"}, "b;", {"-x", "--swap", "--"}},
        Accepted{{"-", "", "x"}, "", {"-", "", "x"}}, Accepted{{"--sw"}, "swap;", {}},
        Accepted{{"--table"}, "table;", {}},  // a whole name beats a longer one it begins
        Accepted{{"--tables"}, "tables;", {}}, Accepted{{"--sp=d"}, "split=d;", {}}));

struct Refused {
  Words words;
  std::string message;
};

class RefusedCommandLine : public testing::TestWithParam<Refused> {};

TEST_P(RefusedCommandLine, NamesTheOption) {
  try {
    parse(GetParam().words);
    FAIL() << "accepted " << testing::PrintToString(GetParam().words);
  } catch (const common::UsageError &e) {
    EXPECT_EQ(std::string(e.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Conventions, RefusedCommandLine,
    testing::Values(Refused{{"-x"}, "unknown option -x"}, Refused{{"-bx"}, "unknown option -x"},
                    Refused{{"--bogus"}, "unknown option --bogus"},
                    Refused{{"--bogus=1"}, "unknown option --bogus"},
                    Refused{{"--=1"}, "unknown option --=1"},
                    Refused{{"--s"}, "option --s is ambiguous (--swap, --split)"},
                    Refused{{"--tab"}, "option --tab is ambiguous (--table, --tables)"},
                    Refused{{"-o"}, "option -o needs a value"},
                    Refused{{"-bo"}, "option -o needs a value"},
                    Refused{{"a", "--output"}, "option --output needs a value"},
                    Refused{{"--out"}, "option --output needs a value"},
                    Refused{{"--swap=yes"}, "option --swap takes no value"},
                    Refused{{"--bogus", "--help"}, "unknown option --bogus"}));

struct Request {
  Words words;
  common::InfoRequest::Kind kind;
};

class InfoRequestCommandLine : public testing::TestWithParam<Request> {};

TEST_P(InfoRequestCommandLine, EndsTheParse) {
  try {
    parse(GetParam().words);
    FAIL() << "no request in " << testing::PrintToString(GetParam().words);
  } catch (const common::InfoRequest &request) {
    EXPECT_EQ(request.kind, GetParam().kind);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryProgram, InfoRequestCommandLine,
    testing::Values(Request{{"-h"}, common::InfoRequest::HELP},
                    Request{{"--help"}, common::InfoRequest::HELP},
                    Request{{"--he"}, common::InfoRequest::HELP},
                    Request{{"-bh"}, common::InfoRequest::HELP},
                    Request{{"a", "--help", "--bogus"}, common::InfoRequest::HELP},
                    Request{{"--version"}, common::InfoRequest::VERSION},
                    Request{{"--v"}, common::InfoRequest::VERSION}));

TEST(CommandLine, OperandsAndValuesThatLookLikeRequestsAreNone) {
  EXPECT_EQ(parse({"--", "--help", "-h"}).operands, (Words{"--help", "-h"}));
  EXPECT_EQ(parse({"-o", "--version"}).log, "o=--version;");
}

TEST(CommandLine, MainsArgumentsLoseTheProgramsName) {
  char name[] = "prog", option[] = "-of", operand[] = "x";
  char *argv[] = {name, option, operand, nullptr};
  std::string output;
  const Words operands = common::parseCommandLine(
      3, argv, {{'o', nullptr, common::Option::VALUE, [&](const std::string &v) { output = v; }}});
  EXPECT_EQ(output, "f");
  EXPECT_EQ(operands, Words{"x"});
  EXPECT_TRUE(common::parseCommandLine(0, argv, {}).empty());
}

TEST(CommandLine, AnOptionsOwnRefusalPropagates) {
  EXPECT_THROW(common::parseCommandLine(
                   {"-l", "x"}, {{'l', nullptr, common::Option::VALUE,
                                  [](const std::string &v) { common::numberOption("-l", v, 1, 9); }}}),
               common::UsageError);
}

struct Number {
  std::string text;
  bool accepted;
};

class NumberOption : public testing::TestWithParam<Number> {};

TEST_P(NumberOption, TakesWholeNumbersInRangeOnly) {
  const Number &n = GetParam();
  if (n.accepted) {
    EXPECT_EQ(common::numberOption("-l", n.text, -5, 1000), std::stoll(n.text));
    return;
  }
  try {
    common::numberOption("-l", n.text, -5, 1000);
    FAIL() << "accepted '" << n.text << "'";
  } catch (const common::UsageError &e) {
    EXPECT_EQ(std::string(e.what()), "-l needs a whole number from -5 to 1000, not '" + n.text + "'");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberOption,
    testing::Values(Number{"0", true}, Number{"-5", true}, Number{"1000", true}, Number{"007", true},
                    Number{"1001", false}, Number{"-6", false}, Number{"", false}, Number{" 5", false},
                    Number{"5 ", false}, Number{"+5", false}, Number{"5x", false},
                    Number{"0x10", false}, Number{"1e3", false}, Number{"2.0", false},
                    Number{"99999999999999999999", false}, Number{"-", false}));

TEST(NumberOption, NamesWhatItCounts) {
  try {
    common::numberOption("--size", "9", 200, 3000, "a number of pixels");
    FAIL();
  } catch (const common::UsageError &e) {
    EXPECT_STREQ(e.what(), "--size needs a number of pixels from 200 to 3000, not '9'");
  }
  EXPECT_EQ(common::numberOption("-n", "9223372036854775807", 0, INT64_MAX), INT64_MAX);
}

TEST(PairOption, SplitsAtTheFirstComma) {
  const common::SequencePair pair = common::pairOption("chr1,ctg 7,b");
  EXPECT_EQ(pair.reference, "chr1");
  EXPECT_EQ(pair.query, "ctg 7,b");
  for (const std::string bad : {"", ",", "a,", ",b", "ab"}) {
    try {
      common::pairOption(bad);
      FAIL() << "accepted '" << bad << "'";
    } catch (const common::UsageError &e) {
      EXPECT_EQ(std::string(e.what()),
                "--pair needs REF,QUERY (two sequence names separated by a comma), not '" + bad +
                    "'");
    }
  }
}

}  // namespace
