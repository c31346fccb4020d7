#include "table/table_options.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "engine/report_figures.h"
#include "table/snapshots_table.h"
#include "text/escaped_text.h"

namespace {

// Where an option is accepted: a bit per command.
enum : unsigned {
  kOnReport = 1u << 0,
  kOnEdges = 1u << 1,
  kOnNodes = 1u << 2,
  kOnSnapshots = 1u << 3,
  kOnAses = 1u << 4,
  kOnHistory = 1u << 5,
  kOnFigures = kOnReport | kOnSnapshots,
  kOnSeries = kOnReport | kOnSnapshots | kOnAses | kOnHistory,
  kOnAll = kOnSeries | kOnEdges | kOnNodes,
};

struct CommandName {
  const char* name;
  TableCommand command;
  unsigned bit;
  std::size_t minInputs;
  std::size_t maxInputs;  // 0: no limit
};

constexpr CommandName kCommands[] = {
    {"report", TableCommand::kReport, kOnReport, 2, 0},
    {"edges", TableCommand::kEdges, kOnEdges, 1, 1},
    {"nodes", TableCommand::kNodes, kOnNodes, 2, 2},
    {"snapshots", TableCommand::kSnapshots, kOnSnapshots, 1, 0},
    {"ases", TableCommand::kAses, kOnAses, 1, 0},
    {"history", TableCommand::kHistory, kOnHistory, 1, 0},
};

constexpr const char kCommandList[] = "report, edges, nodes, snapshots, ases or history";

const CommandName* findCommand(const char* name) {
  for (const CommandName& entry : kCommands) {
    if (std::strcmp(entry.name, name) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

bool fail(std::string& reason, const std::string& text) {
  reason = text;
  return false;
}

bool needsFileName(const char* option, const std::string& value, std::string& reason) {
  return !value.empty() || fail(reason, std::string("option ") + option + " needs a file name");
}

// The numbers a figure may draw: the report's figures, or the snapshots' numeric columns.
bool figureColumnKnown(TableCommand command, const std::string& name) {
  if (command == TableCommand::kReport) {
    for (const ReportFigure& figure : kReportFigures) {
      if (name == figure.name) {
        return true;
      }
    }
    return false;
  }
  for (std::size_t i = kSnapshotFirstNumber; i < kSnapshotColumnCount; ++i) {
    if (name == kSnapshotColumns[i]) {
      return true;
    }
  }
  return false;
}

bool takeFigures(TableOptions& options, const std::string& value, std::string& reason) {
  options.figure.figures.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = value.find(',', start);
    const std::string name = value.substr(start, comma - start);
    if (!figureColumnKnown(options.command, name)) {
      return fail(reason, "unknown column `" + escaped(name.c_str()) + "' in --figures");
    }
    options.figure.figures.push_back(name);
    if (comma == std::string::npos) {
      return true;
    }
    start = comma + 1;
  }
}

// A size in inches: a positive number no larger than a poster.
bool inches(const char* text, char stop, double& value, const char*& end) {
  char* after = nullptr;
  value = std::strtod(text, &after);
  end = after;
  return after != text && *after == stop && std::isfinite(value) && value > 0 && value <= 100;
}

bool takeSize(TableOptions& options, const std::string& value, std::string& reason) {
  const char* end = nullptr;
  double width = 0;
  double height = 0;
  const char* text = value.c_str();
  // strtod would take a leading space or sign; a size is two plain numbers.
  const bool plain = !value.empty() && value.find_first_of(" \t+-") == std::string::npos;
  if (!plain || !inches(text, 'x', width, end) || !inches(end + 1, '\0', height, end)) {
    return fail(reason,
                "option --size needs WIDTHxHEIGHT in inches, each above 0 and at most "
                "100 (such as 7x4.5), not `" +
                    escaped(text) + "'");
  }
  options.figure.widthInches = width;
  options.figure.heightInches = height;
  return true;
}

// One option. A flag is matched by its whole argument (name or alias); an option with a value
// takes it from the next argument, glued after a short name ("-oFILE") or after "=" for a long
// one ("--output=FILE"). Given again, the last one counts.
struct TableOption {
  const char* name;
  const char* alias;      // another spelling, or nullptr
  const char* valueWord;  // what the value is, for "option X needs ..."; nullptr: a flag
  unsigned commands;      // where it is accepted; elsewhere it is an unknown option
  bool (*take)(TableOptions& options, const char* spelling, const std::string& value,
               std::string& reason);
};

const TableOption kOptions[] = {
    {"--help", "-h", nullptr, kOnAll,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.help = true;
     }},
    {"--version", nullptr, nullptr, kOnAll,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.version = true;
     }},
    {"--json", nullptr, nullptr, kOnAll,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       options.format = TableFormat::kJsonLines;
       return true;
     }},
    {"--base", nullptr, nullptr, kOnReport,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.base = true;
     }},
    {"--quiet", nullptr, nullptr, kOnSeries | kOnNodes,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.quiet = true;
     }},
    {"--unordered", nullptr, nullptr, kOnSeries,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.unordered = true;
     }},
    {"--log", nullptr, nullptr, kOnFigures,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.figure.logarithmic = true;
     }},
    {"--per-interval", nullptr, nullptr, kOnFigures,
     [](TableOptions& options, const char*, const std::string&, std::string&) {
       return options.figure.perInterval = true;
     }},
    {"-o", "--output", "a file name", kOnAll,
     [](TableOptions& options, const char* spelling, const std::string& value,
        std::string& reason) {
       options.outputFile = value;
       return needsFileName(spelling, value, reason);
     }},
    {"--plot", nullptr, "a file name", kOnFigures,
     [](TableOptions& options, const char* spelling, const std::string& value,
        std::string& reason) {
       options.figure.file = value;
       return needsFileName(spelling, value, reason);
     }},
    {"--dates", nullptr, "a list of dates", kOnSeries,
     [](TableOptions& options, const char*, const std::string& value, std::string&) {
       options.datesGiven = true;
       options.datesList = value;
       return true;
     }},
    {"--figures", nullptr, "a list of column names", kOnFigures,
     [](TableOptions& options, const char*, const std::string& value, std::string& reason) {
       return takeFigures(options, value, reason);
     }},
    {"--title", nullptr, "a text", kOnFigures,
     [](TableOptions& options, const char*, const std::string& value, std::string&) {
       options.figure.title = value;
       return options.figure.titleGiven = true;
     }},
    {"--size", nullptr, "a size", kOnFigures,
     [](TableOptions& options, const char*, const std::string& value, std::string& reason) {
       return takeSize(options, value, reason);
     }},
};

// The option arg spells, and where its value is glued (nullptr: none, or a flag).
const TableOption* findOption(const char* arg, const char*& spelling, const char*& glued) {
  glued = nullptr;
  for (const TableOption& option : kOptions) {
    for (const char* name : {option.name, option.alias}) {
      if (name == nullptr) {
        continue;
      }
      const std::size_t length = std::strlen(name);
      if (std::strncmp(arg, name, length) != 0) {
        continue;
      }
      spelling = name;
      if (arg[length] == '\0') {
        return &option;
      }
      if (option.valueWord == nullptr) {
        continue;
      }
      const bool longName = name[1] == '-';
      if (longName && arg[length] == '=') {
        glued = arg + length + 1;
        return &option;
      }
      if (!longName) {
        glued = arg + length;
        return &option;
      }
    }
  }
  return nullptr;
}

bool checkInputs(const CommandName& command, const TableOptions& options, std::string& reason) {
  const std::size_t count = options.inputs.size();
  if (count < command.minInputs || (command.maxInputs != 0 && count > command.maxInputs)) {
    if (command.maxInputs == 0) {
      return fail(reason, std::string(command.name) + (command.minInputs == 1
                                                           ? " needs one or more graph files"
                                                           : " needs two or more graph files"));
    }
    return fail(reason,
                std::string(command.name) +
                    (command.maxInputs == 1 ? " needs one graph file" : " needs two graph files"));
  }
  std::size_t stdinCount = 0;
  for (const std::string& input : options.inputs) {
    stdinCount += input == "-" ? 1 : 0;
  }
  return stdinCount <= 1 || fail(reason, "standard input (-) can be read only once");
}

}  // namespace

bool parseTableOptions(int argc, const char* const* argv, TableOptions& options,
                       std::string& reason) {
  if (argc < 2) {
    return fail(reason, std::string("no command: ") + kCommandList);
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
    return fail(reason, "unknown command `" + escaped(first) + "': " + kCommandList);
  }
  options.command = command->command;
  bool optionsEnded = false;
  for (int i = 2; i < argc; ++i) {
    const char* arg = argv[i];
    if (optionsEnded || arg[0] != '-' || std::strcmp(arg, "-") == 0) {
      options.inputs.emplace_back(arg);
      continue;
    }
    if (std::strcmp(arg, "--") == 0) {
      optionsEnded = true;
      continue;
    }
    const char* spelling = nullptr;
    const char* glued = nullptr;
    const TableOption* option = findOption(arg, spelling, glued);
    if (option == nullptr || (option->commands & command->bit) == 0) {
      return fail(reason, "unknown option `" + escaped(arg) + "' for " + command->name);
    }
    std::string value;
    if (option->valueWord != nullptr) {
      if (glued != nullptr && *glued != '\0') {
        value = glued;
      } else if (glued == nullptr && i + 1 < argc) {
        value = argv[++i];
      } else if (glued == nullptr || spelling[1] == '-') {
        // Nothing follows, or "--name=" with nothing after it.
        return fail(reason, std::string("option ") + spelling + " needs " + option->valueWord);
      }
    }
    if (!option->take(options, spelling, value, reason)) {
      return false;
    }
  }
  if (options.help || options.version) {
    return true;
  }
  if (!checkInputs(*command, options, reason)) {
    return false;
  }
  if (!options.outputFile.empty() && options.outputFile == options.figure.file) {
    return fail(reason, "-o and --plot name the same file");
  }
  if ((command->bit & kOnSeries) != 0) {
    return graphDates(options.inputs, options.datesGiven, options.datesList, options.unordered,
                      options.dates, reason);
  }
  return true;
}
