#include "importer/import_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "importer/format_registry.h"

namespace {

struct Parsed {
  bool ok;
  ImportOptions options;
  std::string reason;
};

Parsed parse(std::vector<const char*> args) {
  args.insert(args.begin(), "plandrex-import");
  Parsed result{false, {}, ""};
  result.ok =
      parseImportOptions(static_cast<int>(args.size()), args.data(), result.options, result.reason);
  return result;
}

TEST(ImportOptionsTest, Defaults) {
  const Parsed parsed = parse({"data/20240801.as-rel2.txt.bz2"});
  ASSERT_TRUE(parsed.ok) << parsed.reason;
  EXPECT_EQ(parsed.options.inputs.at(0), "data/20240801.as-rel2.txt.bz2");
  EXPECT_EQ(parsed.options.sourceNames.at(0), "20240801.as-rel2.txt.bz2");
  EXPECT_EQ(parsed.options.outputFile, "");
  EXPECT_EQ(parsed.options.description, "");
  EXPECT_EQ(parsed.options.format, nullptr);
  EXPECT_FALSE(parsed.options.settings.keepSelfLoops);
  EXPECT_FALSE(parsed.options.quiet);

  const Parsed fromStdin = parse({"-"});
  ASSERT_TRUE(fromStdin.ok);
  EXPECT_EQ(fromStdin.options.inputs.at(0), "-");
  EXPECT_EQ(fromStdin.options.sourceNames.at(0), "-");
}

TEST(ImportOptionsTest, EveryOptionInBothForms) {
  for (const bool attached : {false, true}) {
    SCOPED_TRACE(attached);
    const Parsed parsed =
        attached ? parse({"--format=links", "--source-name=as.txt", "--description=d e",
                          "--keep-self-loops", "--quiet", "-o", "out.zng", "in.txt"})
                 : parse({"in.txt", "--format", "links", "--source-name", "as.txt", "--description",
                          "d e", "--keep-self-loops", "--quiet", "-o", "out.zng"});
    ASSERT_TRUE(parsed.ok) << parsed.reason;
    EXPECT_EQ(parsed.options.inputs.at(0), "in.txt");
    EXPECT_EQ(parsed.options.format, findFormat("links"));
    EXPECT_EQ(parsed.options.sourceNames.at(0), "as.txt");
    EXPECT_EQ(parsed.options.description, "d e");
    EXPECT_TRUE(parsed.options.settings.keepSelfLoops);
    EXPECT_TRUE(parsed.options.quiet);
    EXPECT_EQ(parsed.options.outputFile, "out.zng");
  }
  // A value may itself start with a dash.
  const Parsed dashed = parse({"--description", "-x-", "in"});
  ASSERT_TRUE(dashed.ok);
  EXPECT_EQ(dashed.options.description, "-x-");
}

TEST(ImportOptionsTest, HelpAndVersionWinOverTheRest) {
  EXPECT_TRUE(parse({"--bogus", "--help"}).ok == false);
  const Parsed help = parse({"--help", "--bogus"});
  EXPECT_TRUE(help.ok);
  EXPECT_TRUE(help.options.help);
  const Parsed version = parse({"--version"});
  EXPECT_TRUE(version.ok);
  EXPECT_TRUE(version.options.version);
}

TEST(ImportOptionsTest, SeveralInputsKeepTheirBaseNames) {
  const Parsed parsed = parse({"--relationships", "rel.bz2", "rib/a.txt.gz", "-", "../b.txt"});
  ASSERT_TRUE(parsed.ok) << parsed.reason;
  EXPECT_EQ(parsed.options.inputs, (std::vector<std::string>{"rib/a.txt.gz", "-", "../b.txt"}));
  EXPECT_EQ(parsed.options.sourceNames, (std::vector<std::string>{"a.txt.gz", "-", "b.txt"}));
  EXPECT_EQ(parsed.options.relationshipsFile, "rel.bz2");
}

TEST(ImportOptionsTest, RejectedCommandLines) {
  struct Case {
    std::vector<const char*> args;
    std::string reason;
  };
  const Case cases[] = {
      {{}, "no input file given"},
      {{"-o", "out.zng"}, "no input file given"},
      {{"-", "b", "-"}, "standard input (-) can be read only once"},
      {{"a", "b", "--source-name", "x"},
       "option --source-name names a single input (with several, the graph keeps their base "
       "names)"},
      {{"a", "--relationships"}, "option --relationships needs a value"},
      {{"a", "--relationships", ""}, "option --relationships needs a file name"},
      {{"a", "--relationships=r", "--relationships", "r"}, "option --relationships is given twice"},
      {{"-x", "a"}, "unknown option `-x'"},
      {{"--keep-self-loop", "a"}, "unknown option `--keep-self-loop'"},
      {{"--quiet=yes", "a"}, "unknown option `--quiet=yes'"},
      {{"-o=out", "a"}, "unknown option `-o=out'"},
      {{"a", "-o"}, "option -o needs a value"},
      {{"a", "--format"}, "option --format needs a value"},
      {{"a", "-o", ""}, "option -o needs a file name"},
      {{"a", "-o", "x", "-o", "y"}, "option -o is given twice"},
      {{"a", "--quiet", "--quiet"}, "option --quiet is given twice"},
      {{"a", "--keep-self-loops", "--keep-self-loops"}, "option --keep-self-loops is given twice"},
      {{"a", "--format", "links", "--format=links"}, "option --format is given twice"},
      {{"a", "--format", "serial1"},
       "unknown format `serial1' (known: serial-1, serial-2, snap-caida, links, bgpdump, mrt)"},
      {{"a", "--description", "two\nlines"}, "--description must not contain a line break"},
      {{"a", "--source-name", "x\ry"}, "--source-name must not contain a line break"},
      // What the user typed reaches the terminal with its control bytes escaped.
      {{"--\x1b[2J", "a"}, "unknown option `--\\x1b[2J'"},
      {{"-\x7f\t\x01", "a"}, "unknown option `-\\x7f\t\\x01'"},
      {{"a", "--format=l\ninks\x9b"},
       "unknown format `l\\x0ainks\x9b' (known: serial-1, serial-2, snap-caida, links, bgpdump, mrt)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    const Parsed parsed = parse(c.args);
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.reason, c.reason);
  }
  const std::string longest(511, 'd');
  EXPECT_TRUE(parse({"a", "--description", longest.c_str()}).ok);
  const std::string tooLong(512, 'd');
  const Parsed refused = parse({"a", "--description", tooLong.c_str()});
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.reason, "--description is longer than 511 characters");

  // One source file per input, and a graph file lists at most 65536: more are
  // refused before anything is read.
  std::vector<const char*> inputs(65536, "a");
  EXPECT_TRUE(parse(inputs).ok);
  inputs.push_back("a");
  const Parsed tooMany = parse(inputs);
  EXPECT_FALSE(tooMany.ok);
  EXPECT_EQ(tooMany.reason, "wrong number of inputs (a graph file lists at most 65536)");
}

}  // namespace
