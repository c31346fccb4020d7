#include "plandrex/argument_parser.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/condition_letters.h"
#include "text/copied_string.h"
#include "text/escaped_text.h"

namespace {

// Everything parseArguments needs to know about one of the two condition options.
struct ConditionOption {
  const char* name;       // "--over" or "--comp": also the six characters matched as a prefix
  const char* graphKind;  // "overlap" or "complementary", as the messages say
  int (*letterBit)(char);
  List<int> cmdLineParameters::*conditions;
};

const ConditionOption kOver = {"--over", "overlap", overLetterBit,
                               &cmdLineParameters::overConditions};
const ConditionOption kComp = {"--comp", "complementary", compLetterBit,
                               &cmdLineParameters::compConditions};
constexpr size_t kPrefixLength = 6;

// A graph file lists at most this many input names; a longer list could not be read back.
constexpr int kMaxMultiInputs = 65536;

// Which option, if any, is waiting for the next argument as its value.
enum class Pending { kNothing, kOutputFile, kSourceFile, kComment };

class ArgumentParser {
 public:
  ArgumentParser(cmdLineParameters& params, char* errorBuffer)
      : params_(params), errorBuffer_(errorBuffer) {}

  bool parse(int argc, char** argv) {
    params_.listMode = params_.negate = params_.buildGraph = false;
    params_.multiMode = params_.force = params_.help = false;
    for (int i = 1; i < argc; ++i) {
      if (!scan(argv[i])) {
        return false;
      }
      if (stdinInputs_ >= 2) {
        return fail("Only a single input can be taken from standard input");
      }
    }
    return finalChecks();
  }

 private:
  // Takes one argument; false after writing the reason.
  bool scan(const char* arg) {
    if (pending_ != Pending::kNothing) {
      takeValue(arg);
      return true;
    }
    if (strcmp(arg, "-o") == 0) {
      pending_ = Pending::kOutputFile;
    } else if (strcmp(arg, "-n") == 0) {
      if (params_.negate) {
        return fail("Graph conditions cannot be negated twice");
      }
      params_.negate = true;
    } else if (strcmp(arg, "--help") == 0) {
      params_.help = true;
    } else if (strcmp(arg, "--comment") == 0) {
      if (commentGiven_) {
        return fail("There is more than one comment for the output graph");
      }
      pending_ = Pending::kComment;
    } else if (strcmp(arg, "-l") == 0) {
      if (params_.listMode) {
        return fail("Option -l is used at least twice");
      }
      params_.listMode = true;
    } else if (strcmp(arg, "-f") == 0) {
      if (params_.force) {
        return fail("Option -f is used at least twice");
      }
      params_.force = true;
    } else if (strcmp(arg, "-s") == 0) {
      pending_ = Pending::kSourceFile;
    } else if (strcmp(arg, "--multi") == 0) {
      if (params_.multiMode) {
        return fail("Option --multi can only be used once");
      }
      params_.multiMode = true;
    } else if (strncmp(arg, kComp.name, kPrefixLength) == 0) {
      return parseConditions(kComp, arg);
    } else if (strncmp(arg, kOver.name, kPrefixLength) == 0) {
      return parseConditions(kOver, arg);
    } else {
      addInput(arg);
    }
    return true;
  }

  void takeValue(const char* arg) {
    switch (pending_) {
      case Pending::kOutputFile:
        delete[] params_.outputFile;
        params_.outputFile = copyString(arg);
        break;
      case Pending::kSourceFile:
        addInput(arg);
        break;
      case Pending::kComment:
        strncpy(params_.comment, arg, cmdLineParameters::kCommentLength);
        params_.comment[cmdLineParameters::kCommentLength] = '\0';
        commentGiven_ = true;
        break;
      case Pending::kNothing:
        break;
    }
    pending_ = Pending::kNothing;
  }

  void addInput(const char* name) {
    params_.inputFiles.enqueue(copyString(name));
    ++inputs_;
    if (strcmp(name, "-") == 0) {
      ++stdinInputs_;
    }
  }

  // arg starts with option.name; it must go on with ":" and a non-empty condition list.
  bool parseConditions(const ConditionOption& option, const char* arg) {
    if (params_.buildGraph) {
      return fail("--over and --comp options can only be used once in a command line");
    }
    if (strlen(arg) < kPrefixLength + 2 || arg[kPrefixLength] != ':') {
      return fail("Conditions expected after %s option", option.name);
    }
    params_.buildGraph = true;
    List<int>& conditions = params_.*option.conditions;
    int mask = 0;
    bool itemEmpty = true;
    for (const char* c = arg + kPrefixLength + 1; *c != '\0'; ++c) {
      if (*c == ',') {
        if (itemEmpty) {
          return fail("Empty condition for %s graph making", option.graphKind);
        }
        conditions.enqueue(mask);
        mask = 0;
        itemEmpty = true;
        continue;
      }
      const int bit = option.letterBit(*c);
      if (bit == 0) {
        char letter[5];
        *writeEscaped(c, 1, letter) = '\0';
        return fail("Invalid condition for %s graph making: `%s'", option.graphKind, letter);
      }
      mask |= bit;
      itemEmpty = false;
    }
    if (itemEmpty) {
      return fail("Empty condition for %s graph making", option.graphKind);
    }
    conditions.enqueue(mask);
    return true;
  }

  // The checks made after the last argument, in this order.
  bool finalChecks() {
    if (pending_ == Pending::kComment) {
      return fail("Comment expected after --comment option");
    }
    if (pending_ == Pending::kSourceFile) {
      return fail("Source file name expected after -s option");
    }
    // A trailing -o after an earlier -o with its name is ignored: the earlier name stays.
    if (pending_ == Pending::kOutputFile && params_.outputFile == nullptr) {
      return fail("File name expected after -o option");
    }
    if (params_.listMode + params_.buildGraph + params_.multiMode > 1) {
      return fail("Options -l, --over, --comp, --multi cannot be used together");
    }
    if (params_.negate && !params_.buildGraph) {
      return fail("Option -n can only be used together with either --over or --comp");
    }
    const bool inputCountOk =
        params_.multiMode ? inputs_ >= 2 && inputs_ <= kMaxMultiInputs : inputs_ == 2;
    if (!params_.help && !inputCountOk) {
      return fail("Wrong number of input graphs");
    }
    // A graph file keeps its comment on one line: a line feed would end it early and leave the
    // rest to be read as the node count. A carriage return is harmless (the reader ends a line
    // there too), and the report and -l write no comment.
    const bool writesGraph = params_.buildGraph || params_.multiMode;
    if (!params_.help && writesGraph && strchr(params_.comment, '\n') != nullptr) {
      return fail("Comment must be one line");
    }
    return true;
  }

  // Writes the reason into the caller's buffer; always false.
  __attribute__((format(printf, 2, 3))) bool fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vsnprintf(errorBuffer_, kErrorBufferSize, format, args);
    va_end(args);
    return false;
  }

  cmdLineParameters& params_;
  char* errorBuffer_;
  Pending pending_ = Pending::kNothing;
  bool commentGiven_ = false;
  int inputs_ = 0;
  int stdinInputs_ = 0;
};

}  // namespace

bool parseArguments(int argc, char** argv, cmdLineParameters& params, char* errorBuffer) {
  return ArgumentParser(params, errorBuffer).parse(argc, argv);
}
