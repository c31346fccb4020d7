// Feeds arbitrary argument vectors to the command-line parser. The input is split at NUL bytes
// into argv[1] onwards. A rejected command line must come with exactly one of the parser's
// documented messages; an accepted one must hold what a plain second reading of the same
// arguments finds, and the parameters must never break the rules that the driver relies on.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/cmd_line_parameters.h"
#include "engine/condition_letters.h"
#include "graph/list.h"
#include "plandrex/argument_parser.h"

namespace {

void check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// Every message the parser may give, but the one that quotes a character.
const char* const kFixedMessages[] = {
    "Graph conditions cannot be negated twice",
    "There is more than one comment for the output graph",
    "Option -l is used at least twice",
    "Option -f is used at least twice",
    "Option --multi can only be used once",
    "--over and --comp options can only be used once in a command line",
    "Conditions expected after --comp option",
    "Conditions expected after --over option",
    "Empty condition for complementary graph making",
    "Empty condition for overlap graph making",
    "Only a single input can be taken from standard input",
    "Comment expected after --comment option",
    "Source file name expected after -s option",
    "File name expected after -o option",
    "Options -l, --over, --comp, --multi cannot be used together",
    "Option -n can only be used together with either --over or --comp",
    "Wrong number of input graphs",
    "Comment must be one line",
};

// The "Invalid condition" message must quote one character that is not a letter of its option:
// a control byte (below 0x20 but TAB, or 0x7F) as \xHH, any other as itself.
bool isInvalidConditionMessage(const std::string& reason) {
  struct Kind {
    const char* prefix;
    int (*letterBit)(char);
  };
  const Kind kinds[] = {{"Invalid condition for overlap graph making: `", overLetterBit},
                        {"Invalid condition for complementary graph making: `", compLetterBit}};
  for (const Kind& kind : kinds) {
    const std::size_t length = std::strlen(kind.prefix);
    if (!startsWith(reason, kind.prefix) || reason.size() < length + 2 || reason.back() != '\'') {
      continue;
    }
    const std::string quoted = reason.substr(length, reason.size() - length - 1);
    if (quoted.size() == 4 && startsWith(quoted, "\\x")) {
      const auto byte = static_cast<unsigned char>(std::strtoul(quoted.c_str() + 2, nullptr, 16));
      return (byte < 0x20 && byte != '\t') || byte == 0x7f;
    }
    const auto byte = static_cast<unsigned char>(quoted[0]);
    const bool control = (byte < 0x20 && byte != '\t') || byte == 0x7f;
    return quoted.size() == 1 && !control && quoted[0] != ',' && kind.letterBit(quoted[0]) == 0;
  }
  return false;
}

std::vector<int> toVector(List<int>& list) {
  std::vector<int> items;
  if (list.goToFirst(), !list.isEmpty()) {
    do {
      items.push_back(list.current());
    } while (list.next());
  }
  return items;
}

std::vector<std::string> toVector(List<char*>& list) {
  std::vector<std::string> items;
  if (list.goToFirst(), !list.isEmpty()) {
    do {
      items.push_back(list.current());
    } while (list.next());
  }
  return items;
}

// What an accepted command line means, read the simple way: no checks, since the parser already
// found the line valid.
struct Expected {
  std::vector<std::string> inputs;
  bool hasOutput = false;
  std::string output;
  std::string comment;
  bool listMode = false, negate = false, multiMode = false, force = false, help = false;
  std::vector<int> over, comp;
};

Expected readSimply(const std::vector<std::string>& args) {
  Expected expected;
  enum { kNone, kOutput, kSource, kComment } pending = kNone;
  for (const std::string& arg : args) {
    if (pending == kOutput) {
      expected.hasOutput = true;
      expected.output = arg;
    } else if (pending == kSource) {
      expected.inputs.push_back(arg);
    } else if (pending == kComment) {
      expected.comment = arg.substr(0, cmdLineParameters::kCommentLength);
    }
    if (pending != kNone) {
      pending = kNone;
      continue;
    }
    if (arg == "-o") {
      pending = kOutput;
    } else if (arg == "-n") {
      expected.negate = true;
    } else if (arg == "--help") {
      expected.help = true;
    } else if (arg == "--comment") {
      pending = kComment;
    } else if (arg == "-l") {
      expected.listMode = true;
    } else if (arg == "-f") {
      expected.force = true;
    } else if (arg == "-s") {
      pending = kSource;
    } else if (arg == "--multi") {
      expected.multiMode = true;
    } else if (startsWith(arg, "--comp") || startsWith(arg, "--over")) {
      const bool over = startsWith(arg, "--over");
      std::vector<int>& items = over ? expected.over : expected.comp;
      int mask = 0;
      for (std::size_t i = 7; i <= arg.size(); ++i) {
        if (i == arg.size() || arg[i] == ',') {
          items.push_back(mask);
          mask = 0;
        } else {
          mask |= over ? overLetterBit(arg[i]) : compLetterBit(arg[i]);
        }
      }
    } else {
      expected.inputs.push_back(arg);
    }
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Arguments longer than a shell would pass add nothing but time.
  if (size > 4096) {
    return 0;
  }
  std::vector<std::string> args;
  const char* text = reinterpret_cast<const char*>(data);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || text[i] == '\0') {
      if (i > start || i < size) {
        args.emplace_back(text + start, i - start);
      }
      start = i + 1;
    }
  }
  std::vector<char*> argv;
  std::string programName = "plandrex";
  argv.push_back(&programName[0]);
  for (std::string& arg : args) {
    argv.push_back(&arg[0]);
  }
  argv.push_back(nullptr);

  cmdLineParameters params;
  char reason[kErrorBufferSize];
  std::memset(reason, 'X', sizeof reason);
  if (!parseArguments(static_cast<int>(argv.size() - 1), argv.data(), params, reason)) {
    check(std::memchr(reason, '\0', sizeof reason) != nullptr);
    const std::string message = reason;
    bool known = isInvalidConditionMessage(message);
    for (const char* fixed : kFixedMessages) {
      known = known || message == fixed;
    }
    check(known);
    return 0;
  }

  const Expected expected = readSimply(args);
  check(toVector(params.inputFiles) == expected.inputs);
  check((params.outputFile != nullptr) == expected.hasOutput);
  check(params.outputFile == nullptr || expected.output == params.outputFile);
  check(expected.comment == params.comment);
  check(params.listMode == expected.listMode && params.negate == expected.negate &&
        params.multiMode == expected.multiMode && params.force == expected.force &&
        params.help == expected.help);
  const std::vector<int> over = toVector(params.overConditions);
  const std::vector<int> comp = toVector(params.compConditions);
  check(over == expected.over && comp == expected.comp);

  // What the driver takes for granted.
  check(params.buildGraph == (over.empty() != comp.empty()));
  for (const std::vector<int>* items : {&over, &comp}) {
    for (int mask : *items) {
      check(mask != 0);
    }
  }
  check(params.listMode + params.buildGraph + params.multiMode <= 1);
  check(!params.negate || params.buildGraph);
  std::size_t standardInputs = 0;
  for (const std::string& input : expected.inputs) {
    standardInputs += input == "-" ? 1 : 0;
  }
  check(standardInputs <= 1);
  const std::size_t inputs = expected.inputs.size();
  check(params.help || (params.multiMode ? inputs >= 2 : inputs == 2));
  return 0;
}
