#include "table/table_options.h"

#include <cstring>

namespace {

struct CommandName {
  const char* name;
  TableCommand command;
  std::size_t minInputs;
  std::size_t maxInputs;  // 0: no limit
};

constexpr CommandName kCommands[] = {
    {"report", TableCommand::kReport, 2, 0},
    {"edges", TableCommand::kEdges, 1, 1},
    {"nodes", TableCommand::kNodes, 2, 2},
};

const CommandName* findCommand(const char* name) {
  for (const CommandName& entry : kCommands) {
    if (std::strcmp(entry.name, name) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

bool startsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The value of an option that takes one: glued ("-oFILE", "--plot=FILE") or the next argument.
bool takeValue(const char* option, const char* glued, int argc, const char* const* argv, int& i,
               std::string& value, std::string& reason) {
  if (glued != nullptr && *glued != '\0') {
    value = glued;
    return true;
  }
  if (glued != nullptr && glued[-1] == '=') {
    reason = std::string("option ") + option + " needs a file name";
    return false;
  }
  if (i + 1 >= argc) {
    reason = std::string("option ") + option + " needs a file name";
    return false;
  }
  value = argv[++i];
  if (value.empty()) {
    reason = std::string("option ") + option + " needs a file name";
    return false;
  }
  return true;
}

bool checkInputs(const CommandName& command, const TableOptions& options, std::string& reason) {
  const std::size_t count = options.inputs.size();
  if (count < command.minInputs || (command.maxInputs != 0 && count > command.maxInputs)) {
    if (command.maxInputs == 0) {
      reason = std::string(command.name) + " needs two or more graph files";
    } else if (command.maxInputs == 1) {
      reason = std::string(command.name) + " needs one graph file";
    } else {
      reason = std::string(command.name) + " needs two graph files";
    }
    return false;
  }
  std::size_t stdinCount = 0;
  for (const std::string& input : options.inputs) {
    stdinCount += input == "-" ? 1 : 0;
  }
  if (stdinCount > 1) {
    reason = "standard input (-) can be read only once";
    return false;
  }
  return true;
}

}  // namespace

bool parseTableOptions(int argc, const char* const* argv, TableOptions& options,
                       std::string& reason) {
  if (argc < 2) {
    reason = "no command: report, edges or nodes";
    return false;
  }
  const char* first = argv[1];
  if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
    options.help = true;
    return true;
  }
  if (std::strcmp(first, "--version") == 0) {
    options.version = true;
    return true;
  }
  const CommandName* command = findCommand(first);
  if (command == nullptr) {
    reason = std::string("unknown command `") + first + "': report, edges or nodes";
    return false;
  }
  options.command = command->command;
  const bool report = command->command == TableCommand::kReport;
  bool optionsEnded = false;
  for (int i = 2; i < argc; ++i) {
    const char* arg = argv[i];
    if (optionsEnded || arg[0] != '-' || std::strcmp(arg, "-") == 0) {
      options.inputs.emplace_back(arg);
      continue;
    }
    if (std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      options.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      options.version = true;
    } else if (std::strcmp(arg, "--json") == 0) {
      options.format = TableFormat::kJsonLines;
    } else if (report && std::strcmp(arg, "--base") == 0) {
      options.base = true;
    } else if (report && std::strcmp(arg, "--quiet") == 0) {
      options.quiet = true;
    } else if (startsWith(arg, "-o") && !startsWith(arg, "--")) {
      if (!takeValue("-o", arg + 2, argc, argv, i, options.outputFile, reason)) {
        return false;
      }
    } else if (std::strcmp(arg, "--output") == 0 || startsWith(arg, "--output=")) {
      const char* glued = arg[8] == '=' ? arg + 9 : nullptr;
      if (!takeValue("--output", glued, argc, argv, i, options.outputFile, reason)) {
        return false;
      }
    } else if (report && (std::strcmp(arg, "--plot") == 0 || startsWith(arg, "--plot="))) {
      const char* glued = arg[6] == '=' ? arg + 7 : nullptr;
      if (!takeValue("--plot", glued, argc, argv, i, options.plotFile, reason)) {
        return false;
      }
    } else {
      reason = std::string("unknown option `") + arg + "' for " + command->name;
      return false;
    }
  }
  if (options.help || options.version) {
    return true;
  }
  if (!checkInputs(*command, options, reason)) {
    return false;
  }
  if (!options.outputFile.empty() && options.outputFile == options.plotFile) {
    reason = "-o and --plot name the same file";
    return false;
  }
  return true;
}
