#include "plandrex/argument_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/condition_letters.h"

namespace {

// Calls parseArguments on "plandrex" followed by args; on failure *error gets the reason.
bool parse(const std::vector<std::string>& args, cmdLineParameters& params,
           std::string* error = nullptr) {
  std::vector<std::string> storage = {"plandrex"};
  storage.insert(storage.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : storage) {
    argv.push_back(&arg[0]);
  }
  argv.push_back(nullptr);
  char buffer[kErrorBufferSize];
  std::memset(buffer, 'X', sizeof buffer);
  buffer[sizeof buffer - 1] = '\0';
  const bool ok = parseArguments(static_cast<int>(storage.size()), argv.data(), params, buffer);
  if (error != nullptr) {
    *error = ok ? "" : buffer;
  }
  return ok;
}

std::vector<std::string> inputs(cmdLineParameters& params) {
  List<char*> copy = params.inputFiles;
  std::vector<std::string> names;
  while (!copy.isEmpty()) {
    names.push_back(copy.pop());
  }
  return names;
}

std::vector<int> masks(const List<int>& list) {
  List<int> copy = list;
  std::vector<int> result;
  while (!copy.isEmpty()) {
    result.push_back(copy.pop());
  }
  return result;
}

std::string describe(const std::vector<std::string>& args) {
  std::string text = "[";
  for (size_t i = 0; i < args.size(); ++i) {
    text += (i == 0 ? "" : " ") + args[i];
  }
  return text + "]";
}

struct RejectedCase {
  std::vector<std::string> args;
  const char* message;
};

void expectRejected(const std::vector<RejectedCase>& cases) {
  for (const RejectedCase& c : cases) {
    SCOPED_TRACE(describe(c.args));
    cmdLineParameters params;
    std::string error;
    EXPECT_FALSE(parse(c.args, params, &error));
    EXPECT_EQ(error, c.message);
  }
}

TEST(CmdLineParametersTest, ConstructorLeavesEmptyListsNoOutputAndEmptyComment) {
  cmdLineParameters params;
  EXPECT_TRUE(params.overConditions.isEmpty());
  EXPECT_TRUE(params.compConditions.isEmpty());
  EXPECT_TRUE(params.inputFiles.isEmpty());
  EXPECT_EQ(params.outputFile, nullptr);
  EXPECT_STREQ(params.comment, "");
  EXPECT_EQ(sizeof params.comment, 513u);
}

TEST(ParseArgumentsTest, TwoInputsWithDefaults) {
  cmdLineParameters params;
  // Flags hold garbage until parseArguments clears them.
  params.listMode = params.negate = params.buildGraph = true;
  params.multiMode = params.force = params.help = true;
  ASSERT_TRUE(parse({"a", "b"}, params));
  EXPECT_EQ(inputs(params), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(params.outputFile, nullptr);
  EXPECT_STREQ(params.comment, "");
  EXPECT_FALSE(params.listMode);
  EXPECT_FALSE(params.negate);
  EXPECT_FALSE(params.buildGraph);
  EXPECT_FALSE(params.multiMode);
  EXPECT_FALSE(params.force);
  EXPECT_FALSE(params.help);
  EXPECT_TRUE(params.overConditions.isEmpty());
  EXPECT_TRUE(params.compConditions.isEmpty());
}

TEST(ParseArgumentsTest, EachFlagOption) {
  cmdLineParameters list;
  ASSERT_TRUE(parse({"-l", "a", "b"}, list));
  EXPECT_TRUE(list.listMode);
  cmdLineParameters force;
  ASSERT_TRUE(parse({"a", "-f", "b"}, force));
  EXPECT_TRUE(force.force);
  cmdLineParameters multi;
  ASSERT_TRUE(parse({"--multi", "a", "b", "c"}, multi));
  EXPECT_TRUE(multi.multiMode);
  EXPECT_EQ(inputs(multi), (std::vector<std::string>{"a", "b", "c"}));
  cmdLineParameters negate;
  ASSERT_TRUE(parse({"-n", "--comp:a", "a", "b"}, negate));
  EXPECT_TRUE(negate.negate);
  EXPECT_TRUE(negate.buildGraph);
}

TEST(ParseArgumentsTest, HelpMayRepeatAndLiftsOnlyTheInputCount) {
  cmdLineParameters alone;
  ASSERT_TRUE(parse({"--help"}, alone));
  EXPECT_TRUE(alone.help);
  cmdLineParameters twice;
  EXPECT_TRUE(parse({"--help", "--help"}, twice));
  cmdLineParameters threeInputs;
  EXPECT_TRUE(parse({"a", "b", "c", "--help"}, threeInputs));
  cmdLineParameters multiOneInput;
  EXPECT_TRUE(parse({"--multi", "--help", "a"}, multiOneInput));
}

TEST(ParseArgumentsTest, OutputFileTakesTheNextArgumentVerbatim) {
  cmdLineParameters dash;
  ASSERT_TRUE(parse({"-o", "-", "a", "b"}, dash));
  ASSERT_NE(dash.outputFile, nullptr);
  EXPECT_STREQ(dash.outputFile, "-");
  EXPECT_EQ(inputs(dash), (std::vector<std::string>{"a", "b"}));

  cmdLineParameters option;
  ASSERT_TRUE(parse({"-o", "-l", "a", "b"}, option));
  EXPECT_STREQ(option.outputFile, "-l");
  EXPECT_FALSE(option.listMode);
}

TEST(ParseArgumentsTest, LaterOutputFileReplacesEarlierOne) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"-o", "x", "-o", "y", "a", "b"}, params));
  EXPECT_STREQ(params.outputFile, "y");
}

TEST(ParseArgumentsTest, TrailingOutputOptionAfterANamedOneIsIgnored) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"-o", "x", "a", "b", "-o"}, params));
  EXPECT_STREQ(params.outputFile, "x");
}

TEST(ParseArgumentsTest, SourceOptionMakesAnyArgumentAnInput) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"-s", "-l", "-s", "--over:a"}, params));
  EXPECT_EQ(inputs(params), (std::vector<std::string>{"-l", "--over:a"}));
  EXPECT_FALSE(params.listMode);
  EXPECT_FALSE(params.buildGraph);
}

TEST(ParseArgumentsTest, SourceOptionCountsTowardsTheInputs) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"-s", "-", "b"}, params));
  EXPECT_EQ(inputs(params), (std::vector<std::string>{"-", "b"}));
}

TEST(ParseArgumentsTest, AnythingUnmatchedIsAnInput) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"-x", ""}, params));
  EXPECT_EQ(inputs(params), (std::vector<std::string>{"-x", ""}));
  cmdLineParameters caseMatters;
  ASSERT_TRUE(parse({"--OVER:a", "-L"}, caseMatters));
  EXPECT_EQ(inputs(caseMatters), (std::vector<std::string>{"--OVER:a", "-L"}));
  cmdLineParameters nearOptions;
  ASSERT_TRUE(parse({"--help2", "-over:a"}, nearOptions));
  EXPECT_EQ(inputs(nearOptions), (std::vector<std::string>{"--help2", "-over:a"}));
  EXPECT_FALSE(nearOptions.help);
}

TEST(ParseArgumentsTest, OneStandardInputIsAllowed) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"-", "b"}, params));
  EXPECT_EQ(inputs(params), (std::vector<std::string>{"-", "b"}));
}

TEST(ParseArgumentsTest, CommentTakesTheNextArgumentVerbatim) {
  cmdLineParameters params;
  ASSERT_TRUE(parse({"--comment", "--help", "a", "b"}, params));
  EXPECT_STREQ(params.comment, "--help");
  EXPECT_FALSE(params.help);
  cmdLineParameters empty;
  ASSERT_TRUE(parse({"--comment", "", "a", "b"}, empty));
  EXPECT_STREQ(empty.comment, "");
  cmdLineParameters itself;
  ASSERT_TRUE(parse({"--comment", "--comment", "a", "b"}, itself));
  EXPECT_STREQ(itself.comment, "--comment");
}

TEST(ParseArgumentsTest, LongCommentIsCutTo512Characters) {
  std::string text;
  for (int i = 0; i < 600; ++i) {
    text += static_cast<char>('a' + i % 26);
  }
  cmdLineParameters params;
  ASSERT_TRUE(parse({"--comment", text, "a", "b"}, params));
  EXPECT_EQ(std::string(params.comment), text.substr(0, 512));

  cmdLineParameters exact;
  ASSERT_TRUE(parse({"--comment", text.substr(0, 512), "a", "b"}, exact));
  EXPECT_EQ(std::string(exact.comment), text.substr(0, 512));
}

struct ConditionCase {
  std::vector<std::string> args;
  std::vector<int> over;
  std::vector<int> comp;
};

TEST(ParseArgumentsTest, ConditionListsAsBitMasks) {
  const ConditionCase cases[] = {
      {{"--over:pP,x"}, {0x030, 0x004}, {}},
      {{"--comp:d,D"}, {}, {0x004, 0x080}},
      {{"--comp:aA,D"}, {}, {0x210, 0x080}},
      {{"--over:w"}, {0x400}, {}},
      {{"--over:a"}, {0x800}, {}},
      {{"--over:aa,a"}, {0x800, 0x800}, {}},   // a letter repeated within an item counts once
      {{"--over:dp,pd"}, {0x050, 0x050}, {}},  // order within an item does not matter
      {{"--over:oOxypPdDuUwa"}, {0xFFF}, {}},
      {{"--comp:updoaUPDOA"}, {}, {0x3FF}},
      {{"--over:u,U,o,O"}, {0x100, 0x200, 0x001, 0x002}, {}},
      {{"--comp:u,U,o,O"}, {}, {0x001, 0x020, 0x008, 0x100}},
  };
  for (const ConditionCase& c : cases) {
    SCOPED_TRACE(describe(c.args));
    std::vector<std::string> args = c.args;
    args.push_back("a");
    args.push_back("b");
    cmdLineParameters params;
    std::string error;
    ASSERT_TRUE(parse(args, params, &error)) << error;
    EXPECT_TRUE(params.buildGraph);
    EXPECT_EQ(masks(params.overConditions), c.over);
    EXPECT_EQ(masks(params.compConditions), c.comp);
  }
}

TEST(ParseArgumentsTest, EveryLetterOfBothTables) {
  const std::pair<char, int> overLetters[] = {
      {'o', kOverOriented1st},           {'O', kOverOriented2nd},   {'x', kOverOppositeDirections},
      {'y', kOverDifferentOrientations}, {'p', kOverPeering1st},    {'P', kOverPeering2nd},
      {'d', kOverDirected1st},           {'D', kOverDirected2nd},   {'u', kOverUnoriented1st},
      {'U', kOverUnoriented2nd},         {'w', kOverWeightDiffers}, {'a', kOverAnyway},
  };
  for (const auto& [letter, bit] : overLetters) {
    SCOPED_TRACE(std::string("--over:") + letter);
    cmdLineParameters params;
    ASSERT_TRUE(parse({std::string("--over:") + letter, "a", "b"}, params));
    EXPECT_EQ(masks(params.overConditions), std::vector<int>{bit});
  }
  const std::pair<char, int> compLetters[] = {
      {'u', kCompUnoriented1st}, {'p', kCompPeering1st},  {'d', kCompDirected1st},
      {'o', kCompOriented1st},   {'a', kCompOnlyIn1st},   {'U', kCompUnoriented2nd},
      {'P', kCompPeering2nd},    {'D', kCompDirected2nd}, {'O', kCompOriented2nd},
      {'A', kCompOnlyIn2nd},
  };
  for (const auto& [letter, bit] : compLetters) {
    SCOPED_TRACE(std::string("--comp:") + letter);
    cmdLineParameters params;
    ASSERT_TRUE(parse({std::string("--comp:") + letter, "a", "b"}, params));
    EXPECT_EQ(masks(params.compConditions), std::vector<int>{bit});
  }
}

TEST(ParseArgumentsTest, ScanErrors) {
  expectRejected({
      {{"-n", "-n", "--over:a", "a", "b"}, "Graph conditions cannot be negated twice"},
      {{"--comment", "x", "--comment", "y", "a", "b"},
       "There is more than one comment for the output graph"},
      {{"--comment", "--comment", "--comment", "y", "a", "b"},
       "There is more than one comment for the output graph"},
      {{"-l", "-l", "a", "b"}, "Option -l is used at least twice"},
      {{"--help", "-l", "-l"}, "Option -l is used at least twice"},
      {{"-f", "a", "b", "-f"}, "Option -f is used at least twice"},
      {{"--multi", "a", "b", "--multi"}, "Option --multi can only be used once"},
      {{"--over:a", "--comp:a", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"--over:a", "--over:a", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"--comp:a", "--comp:a", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      // A second option is refused before its own form or letters are looked at.
      {{"--comp:a", "--over", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"--over:a", "--comp:z", "a", "b"},
       "--over and --comp options can only be used once in a command line"},
      {{"-", "-"}, "Only a single input can be taken from standard input"},
      {{"-s", "-", "-"}, "Only a single input can be taken from standard input"},
      {{"-", "-s", "-"}, "Only a single input can be taken from standard input"},
      {{"--multi", "-", "a", "-", "b"}, "Only a single input can be taken from standard input"},
  });
}

TEST(ParseArgumentsTest, BadFormOfAConditionOption) {
  expectRejected({
      {{"--over:", "a", "b"}, "Conditions expected after --over option"},
      {{"--over", "a", "b"}, "Conditions expected after --over option"},
      {{"--overa", "a", "b"}, "Conditions expected after --over option"},
      {{"--overlap:a", "a", "b"}, "Conditions expected after --over option"},
      {{"--over;a", "a", "b"}, "Conditions expected after --over option"},
      {{"--comp:", "a", "b"}, "Conditions expected after --comp option"},
      {{"--comp", "a", "b"}, "Conditions expected after --comp option"},
      {{"--compa", "a", "b"}, "Conditions expected after --comp option"},
      {{"--comparison", "a", "b"}, "Conditions expected after --comp option"},
  });
}

TEST(ParseArgumentsTest, EmptyAndInvalidConditions) {
  expectRejected({
      {{"--over:a,,d", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--over:a,", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--over:,a", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--over:,", "a", "b"}, "Empty condition for overlap graph making"},
      {{"--comp:a,,d", "a", "b"}, "Empty condition for complementary graph making"},
      {{"--comp:A,", "a", "b"}, "Empty condition for complementary graph making"},
      {{"--comp:,a", "a", "b"}, "Empty condition for complementary graph making"},
      {{"--over:ab", "a", "b"}, "Invalid condition for overlap graph making: `b'"},
      {{"--over:A", "a", "b"}, "Invalid condition for overlap graph making: `A'"},
      {{"--over:a b", "a", "b"}, "Invalid condition for overlap graph making: ` '"},
      {{"--over::", "a", "b"}, "Invalid condition for overlap graph making: `:'"},
      {{"--comp:w", "a", "b"}, "Invalid condition for complementary graph making: `w'"},
      {{"--comp:x", "a", "b"}, "Invalid condition for complementary graph making: `x'"},
      {{"--comp:y", "a", "b"}, "Invalid condition for complementary graph making: `y'"},
      {{"--comp:a,D,e", "a", "b"}, "Invalid condition for complementary graph making: `e'"},
      // Letters are checked as they come: the bad letter is met before the trailing comma.
      {{"--over:ab,", "a", "b"}, "Invalid condition for overlap graph making: `b'"},
      {{"--over:a,,z", "a", "b"}, "Empty condition for overlap graph making"},
  });
}

TEST(ParseArgumentsTest, FinalChecks) {
  expectRejected({
      {{"a", "b", "--comment"}, "Comment expected after --comment option"},
      {{"a", "b", "-s"}, "Source file name expected after -s option"},
      {{"a", "b", "-o"}, "File name expected after -o option"},
      {{"-l", "--over:a", "a", "b"}, "Options -l, --over, --comp, --multi cannot be used together"},
      {{"-l", "--multi", "a", "b"}, "Options -l, --over, --comp, --multi cannot be used together"},
      {{"--comp:a", "--multi", "a", "b"},
       "Options -l, --over, --comp, --multi cannot be used together"},
      {{"-n", "a", "b"}, "Option -n can only be used together with either --over or --comp"},
      {{"--help", "-n"}, "Option -n can only be used together with either --over or --comp"},
      {{}, "Wrong number of input graphs"},
      {{"a"}, "Wrong number of input graphs"},
      {{"a", "b", "c"}, "Wrong number of input graphs"},
      {{"--multi", "a"}, "Wrong number of input graphs"},
      {{"--multi"}, "Wrong number of input graphs"},
      {{"-o", "x", "a", "-o"}, "Wrong number of input graphs"},
  });
}

TEST(ParseArgumentsTest, FinalChecksComeInTheirOrder) {
  expectRejected({
      // 1 before 2 to 6 (the last argument is the pending one, so 1 to 3 exclude each other).
      {{"-l", "--multi", "-n", "--comment"}, "Comment expected after --comment option"},
      {{"-l", "--multi", "-n", "-s"}, "Source file name expected after -s option"},
      {{"-l", "--multi", "-n", "-o"}, "File name expected after -o option"},
      // 4 before 5 and 6.
      {{"-l", "--multi", "-n"}, "Options -l, --over, --comp, --multi cannot be used together"},
      // 5 before 6.
      {{"-n", "a"}, "Option -n can only be used together with either --over or --comp"},
      // --help lifts only 6.
      {{"--help", "--over:a", "-l"}, "Options -l, --over, --comp, --multi cannot be used together"},
      {{"--help", "x", "--comment"}, "Comment expected after --comment option"},
  });
}

TEST(ParseArgumentsTest, ScanErrorsComeBeforeFinalChecks) {
  expectRejected({
      {{"-l", "-l", "--comment"}, "Option -l is used at least twice"},
      {{"-", "-", "-l", "-l"}, "Only a single input can be taken from standard input"},
      {{"-l", "-l", "-", "-"}, "Option -l is used at least twice"},
      {{"-n", "-l", "--multi", "--over:a,"}, "Empty condition for overlap graph making"},
  });
}

TEST(ParseArgumentsTest, FailureMessageFitsTheBuffer) {
  // The longest message, with room to spare in 513 characters.
  cmdLineParameters params;
  std::string error;
  ASSERT_FALSE(parse({"-n", "a", "b"}, params, &error));
  EXPECT_LT(error.size(), static_cast<size_t>(kErrorBufferSize));
}

}  // namespace
