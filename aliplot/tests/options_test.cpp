#include "options.h"

#include <gtest/gtest.h>

namespace {

using aliplot::OutputFormat;
using Arguments = std::vector<std::string>;

TEST(Options, TakeTheFormatFromTheOutputsName) {
  aliplot::Options o = aliplot::parseOptions({"in.gff", "r1", "-o", "plot.html", "r2"});
  EXPECT_EQ(o.alignments, "in.gff");
  EXPECT_EQ(o.reports, (Arguments{"r1", "r2"}));
  EXPECT_EQ(o.output, "plot.html");
  EXPECT_EQ(o.format, OutputFormat::HTML);
  EXPECT_EQ(aliplot::parseOptions({"-o", "p.svg", "in.gff"}).format, OutputFormat::SVG);
  o = aliplot::parseOptions({"in.gff", "-o", "-", "--format", "html", "--size", "400"});
  EXPECT_EQ(o.format, OutputFormat::HTML);
  EXPECT_EQ(o.plotSize, 400);
  EXPECT_EQ(aliplot::parseOptions({"-o", "x.svg", "--", "-odd-name"}).alignments, "-odd-name");
  EXPECT_THROW(aliplot::parseOptions({"--help"}), common::InfoRequest);
}

TEST(Options, RefuseRunsThatCannotBeMade) {
  const Arguments bad[] = {
      {},                                        // nothing
      {"in.gff"},                                // no output
      {"-o", "p.svg"},                           // no input
      {"in.gff", "-o", "p.png"},                 // unknown format
      {"in.gff", "-o", "-"},                     // standard output needs a format
      {"in.gff", "-o", "p.svg", "--size", "9"},  // too small
      {"in.gff", "-o", "p.svg", "--size", "7x"},
      {"in.gff", "-o", "p.svg", "--format", "pdf"},
      {"in.gff", "-o", "p.svg", "-x"},
      {"in.gff", "-o"},
      {"-", "-", "-o", "p.svg"},                 // standard input twice
  };
  for (const Arguments &arguments : bad)
    EXPECT_THROW(aliplot::parseOptions(arguments), aliplot::UsageError)
        << testing::PrintToString(arguments);
}

}  // namespace
