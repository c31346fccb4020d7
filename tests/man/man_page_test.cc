// The manual pages: they render without a warning, carry the build's version, document every
// option that the programs' own help names, and show the report exactly as plandrex prints it.

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/plandrex_binary.h"
#include "tests/e2e/temp_dir.h"
#include "tests/man/man_page_render.h"

namespace {

const std::string kManDir = MAN_PAGE_DIR;
const std::vector<std::string> kPages = {"plandrex.1", "plandrex-import.1", "plandrex-table.1",
                                         "plandrex-graph.5"};

std::string page(const std::string& name) { return kManDir + "/" + name; }

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    result.push_back(line);
  }
  return result;
}

// The options a help text names: words that begin with one or two dashes and a letter, with the
// colon of --over: and --comp:, and not inside a hyphenated word.
std::set<std::string> optionsNamedIn(const std::string& help) {
  std::set<std::string> options;
  const std::regex option(R"((^|[\s(\[])(--?[a-z][a-z-]*:?))");
  for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it) {
    options.insert((*it)[2]);
  }
  return options;
}

void expectEveryHelpOptionDocumented(const std::string& program, const std::string& pageName) {
  e2e::RunOptions options;
  options.args = {"--help"};
  const e2e::ProcessResult help = e2e::runProgram(program, options);
  ASSERT_TRUE(help.exitedWith(0)) << help;
  const std::set<std::string> named = optionsNamedIn(help.out);
  ASSERT_GE(named.size(), 5u) << help.out;
  const std::string text = mancheck::renderAsText(GROFF_PROGRAM, page(pageName));
  ASSERT_FALSE(text.empty());
  for (const std::string& option : named) {
    EXPECT_NE(text.find(option), std::string::npos) << pageName << " does not mention " << option;
  }
}

TEST(ManPageTest, EveryPageRendersWithoutWarnings) {
  for (const std::string& name : kPages) {
    SCOPED_TRACE(name);
    EXPECT_EQ(mancheck::renderingProblems(GROFF_PROGRAM, page(name)), "");
  }
}

TEST(ManPageTest, EveryPageCarriesTheBuildsVersion) {
  for (const std::string& name : kPages) {
    SCOPED_TRACE(name);
    const std::string text = mancheck::renderAsText(GROFF_PROGRAM, page(name));
    EXPECT_NE(text.find("plandrex " PLANDREX_VERSION_TEXT), std::string::npos);
    EXPECT_EQ(text.find("@"), std::string::npos) << "a placeholder was left unfilled";
  }
}

TEST(ManPageTest, PlandrexPageDocumentsEveryOptionOfItsHelp) {
  expectEveryHelpOptionDocumented(e2e::plandrexPath(), "plandrex.1");
}

TEST(ManPageTest, ImportPageDocumentsEveryOptionOfItsHelpAndItsVersion) {
#ifdef PLANDREX_IMPORT_BINARY
  expectEveryHelpOptionDocumented(PLANDREX_IMPORT_BINARY, "plandrex-import.1");
  e2e::RunOptions options;
  options.args = {"--version"};
  const e2e::ProcessResult version = e2e::runProgram(PLANDREX_IMPORT_BINARY, options);
  ASSERT_TRUE(version.exitedWith(0)) << version;
  ASSERT_FALSE(version.out.empty());
  const std::string text = mancheck::renderAsText(GROFF_PROGRAM, page("plandrex-import.1"));
  EXPECT_NE(text.find(lines(version.out).front()), std::string::npos) << version.out;
#else
  GTEST_SKIP() << "plandrex-import is not part of this build";
#endif
}

// The --format entry names every format the importer knows, as its refusal of an unknown one
// lists them.
TEST(ManPageTest, ImportPageFormatOptionNamesEveryFormat) {
#ifdef PLANDREX_IMPORT_BINARY
  e2e::RunOptions options;
  options.args = {"--format", "none", "x"};
  const e2e::ProcessResult refused = e2e::runProgram(PLANDREX_IMPORT_BINARY, options);
  ASSERT_TRUE(refused.exitedWith(1)) << refused;
  const std::size_t from = refused.err.find("(known: ");
  ASSERT_NE(from, std::string::npos) << refused.err;
  const std::string known =
      refused.err.substr(from + 8, refused.err.find(')', from) - from - 8) + ", ";
  const std::string text = mancheck::renderAsText(GROFF_PROGRAM, page("plandrex-import.1"));
  const std::size_t entry = text.find("--format name\n");
  ASSERT_NE(entry, std::string::npos) << text;
  const std::string paragraph = text.substr(entry, text.find("--source-name", entry) - entry);
  int named = 0;
  for (std::size_t start = 0, comma; (comma = known.find(", ", start)) != std::string::npos;
       start = comma + 2, ++named) {
    const std::string format = known.substr(start, comma - start);
    EXPECT_NE(paragraph.find(format), std::string::npos) << format << " missing in:\n" << paragraph;
  }
  EXPECT_EQ(named, 6);
#else
  GTEST_SKIP() << "plandrex-import is not part of this build";
#endif
}

// The page explains every count that the importer prints, under the label it prints.
TEST(ManPageTest, ImportPageExplainsEveryCount) {
#ifdef PLANDREX_IMPORT_BINARY
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("links.txt", "7|11|-1\n11|300|0\n"));
  e2e::RunOptions options;
  options.args = {"-o", dir.file("links.zng"), dir.file("links.txt")};
  const e2e::ProcessResult run = e2e::runProgram(PLANDREX_IMPORT_BINARY, options);
  ASSERT_TRUE(run.exitedWith(0)) << run;
  const std::vector<std::string> counts = lines(run.err);
  ASSERT_GE(counts.size(), 5u) << run.err;
  const std::string text = mancheck::renderAsText(GROFF_PROGRAM, page("plandrex-import.1"));
  for (const std::string& count : counts) {
    const std::string label = count.substr(0, count.rfind(": "));
    EXPECT_NE(text.find(label), std::string::npos)
        << "plandrex-import.1 does not explain " << label;
  }
#else
  GTEST_SKIP() << "plandrex-import is not part of this build";
#endif
}

// The page shows the report of the two bundled sample snapshots; it must be the report that
// plandrex prints for them now, line for line and column for column.
TEST(ManPageTest, PlandrexPageShowsTheSampleReportAsPrinted) {
  const e2e::ProcessResult report =
      e2e::runPlandrex({PLANDREX_SOURCE_DIR "/examples/as-snapshot-1.zng",
                        PLANDREX_SOURCE_DIR "/examples/as-snapshot-2.zng"});
  ASSERT_TRUE(report.exitedWith(0)) << report;
  const std::vector<std::string> printed = lines(report.out);
  ASSERT_EQ(printed.size(), 25u);

  const std::vector<std::string> shown =
      lines(mancheck::renderAsText(GROFF_PROGRAM, page("plandrex.1")));
  size_t first = 0;
  while (first < shown.size() && shown[first].find(printed[0]) == std::string::npos) {
    ++first;
  }
  ASSERT_LT(first + printed.size(), shown.size()) << "the report's first line is not shown";
  const size_t indent = shown[first].find(printed[0]);
  for (size_t i = 0; i < printed.size(); ++i) {
    SCOPED_TRACE(printed[i]);
    const std::string& line = shown[first + i];
    EXPECT_EQ(line.substr(0, indent), std::string(indent, ' '));
    EXPECT_EQ(line.substr(std::min(indent, line.size())), printed[i]);
  }
}

TEST(ManPageTest, TablePageDocumentsEveryOptionOfItsHelpAndItsVersion) {
#ifdef PLANDREX_TABLE_BINARY
  expectEveryHelpOptionDocumented(PLANDREX_TABLE_BINARY, "plandrex-table.1");
  e2e::RunOptions options;
  options.args = {"--version"};
  const e2e::ProcessResult version = e2e::runProgram(PLANDREX_TABLE_BINARY, options);
  ASSERT_TRUE(version.exitedWith(0)) << version;
  const std::string text = mancheck::renderAsText(GROFF_PROGRAM, page("plandrex-table.1"));
  EXPECT_NE(text.find(lines(version.out).front()), std::string::npos) << version.out;
#else
  GTEST_SKIP() << "plandrex-table is not part of this build";
#endif
}

// The page names every column that the program writes: the report's, a differential graph's
// edges (which include a plain graph's), the nodes', and those of snapshots, ases and history. Rendering may hyphenate or break a long
// name at its underscores, so the check looks at the text with line breaks and padding removed.
TEST(ManPageTest, TablePageNamesEveryColumn) {
#ifdef PLANDREX_TABLE_BINARY
  e2e::TempDir dir;
  ASSERT_TRUE(dir.write("d.znd", "ZND\n1\na\n\n2\n1\n7\n11\n"
                                 "7 11 0 0 1 2 3 4 1 1 1 -1 5 6 7 8 2 1 1 0 0 0 0.000000\n"));
  const std::vector<std::vector<std::string>> runs = {
      {"report", PLANDREX_SOURCE_DIR "/examples/as-snapshot-1.zng",
       PLANDREX_SOURCE_DIR "/examples/as-snapshot-2.zng"},
      {"edges", dir.file("d.znd")},
      {"nodes", dir.file("d.znd"), dir.file("d.znd")},
      {"snapshots", dir.file("d.znd")},
      {"ases", dir.file("d.znd")},
      {"history", dir.file("d.znd")}};
  std::string text;
  for (const std::string& line :
       lines(mancheck::renderAsText(GROFF_PROGRAM, page("plandrex-table.1")))) {
    text += " " + line;
  }
  for (const std::vector<std::string>& args : runs) {
    e2e::RunOptions options;
    options.args = args;
    const e2e::ProcessResult run = e2e::runProgram(PLANDREX_TABLE_BINARY, options);
    ASSERT_TRUE(run.exitedWith(0)) << run;
    std::istringstream header(lines(run.out).front());
    for (std::string column; std::getline(header, column, ',');) {
      EXPECT_TRUE(std::regex_search(text, std::regex("[ (]" + column + "[ ,;:.)]")))
          << "plandrex-table.1 does not name " << column << " (" << args.front() << ")";
    }
  }
#else
  GTEST_SKIP() << "plandrex-table is not part of this build";
#endif
}

}  // namespace

