#include "importer/import_options.h"

#include <cstring>

#include "fileio/path_name.h"
#include "importer/format_registry.h"
#include "text/escaped_text.h"

namespace {

// The graph file holds names and the description on lines of their own, which
// the reader takes up to this length.
constexpr std::size_t kMaxGraphTextLength = 511;
// A graph file lists at most this many source files, one per input.
constexpr std::size_t kMaxInputs = 65536;

bool fail(std::string& reason, const std::string& text) {
  reason = text;
  return false;
}

std::string knownFormats() {
  std::size_t count = 0;
  const FormatEntry* entries = formats(count);
  std::string names;
  for (std::size_t i = 0; i < count; ++i) {
    names += (i == 0 ? "" : ", ") + std::string(entries[i].name);
  }
  return names;
}

bool checkGraphText(const char* option, const std::string& text, std::string& reason) {
  if (text.find_first_of("\r\n") != std::string::npos) {
    return fail(reason, std::string(option) + " must not contain a line break");
  }
  if (text.size() > kMaxGraphTextLength) {
    return fail(reason, std::string(option) + " is longer than " +
                            std::to_string(kMaxGraphTextLength) + " characters");
  }
  return true;
}

// One option of the command line. A flag is matched by its whole argument; an
// option with a value takes it from the next argument or, for a long name,
// after "=". Each may be given once.
struct ImportOption {
  const char* name;
  bool takesValue;
  // Records the option (value: empty for a flag). false: reason says why the
  // value is refused.
  bool (*take)(ImportOptions& options, const std::string& value, std::string& reason);
};

bool needsFileName(const char* option, const std::string& value, std::string& reason) {
  return !value.empty() || fail(reason, std::string("option ") + option + " needs a file name");
}

const ImportOption kOptions[] = {
    {"--help", false,
     [](ImportOptions& options, const std::string&, std::string&) { return options.help = true; }},
    {"--version", false,
     [](ImportOptions& options, const std::string&, std::string&) {
       return options.version = true;
     }},
    {"--keep-self-loops", false,
     [](ImportOptions& options, const std::string&, std::string&) {
       return options.settings.keepSelfLoops = true;
     }},
    {"--classic", false,
     [](ImportOptions& options, const std::string&, std::string&) {
       return options.settings.classic = true;
     }},
    {"--announcements", false,
     [](ImportOptions& options, const std::string&, std::string&) {
       return options.settings.announcements = true;
     }},
    {"--quiet", false,
     [](ImportOptions& options, const std::string&, std::string&) { return options.quiet = true; }},
    {"-o", true,
     [](ImportOptions& options, const std::string& value, std::string& reason) {
       options.outputFile = value;
       return needsFileName("-o", value, reason);
     }},
    {"--source-name", true,
     [](ImportOptions& options, const std::string& value, std::string&) {
       options.sourceNames.push_back(value);
       return true;
     }},
    {"--description", true,
     [](ImportOptions& options, const std::string& value, std::string&) {
       options.description = value;
       options.descriptionGiven = true;
       return true;
     }},
    {"--format", true,
     [](ImportOptions& options, const std::string& value, std::string& reason) {
       options.format = findFormat(value.c_str());
       return options.format != nullptr ||
              fail(reason, "unknown format `" + escaped(value.c_str()) + "'" +
                               " (known: " + knownFormats() + ")");
     }},
    {"--relationships", true,
     [](ImportOptions& options, const std::string& value, std::string& reason) {
       options.relationshipsFile = value;
       return needsFileName("--relationships", value, reason);
     }},
};
constexpr std::size_t kOptionCount = sizeof kOptions / sizeof kOptions[0];

const ImportOption* findOption(const std::string& name, bool takesValue) {
  for (const ImportOption& option : kOptions) {
    if (option.takesValue == takesValue && name == option.name) {
      return &option;
    }
  }
  return nullptr;
}

bool addInput(ImportOptions& options, const std::string& arg, std::string& reason) {
  if (arg == "-") {
    for (const std::string& earlier : options.inputs) {
      if (earlier == "-") {
        return fail(reason, "standard input (-) can be read only once");
      }
    }
  }
  options.inputs.push_back(arg);
  return true;
}

}  // namespace

bool parseImportOptions(int argc, const char* const* argv, ImportOptions& options,
                        std::string& reason) {
  bool given[kOptionCount] = {};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-" || arg.empty() || arg[0] != '-') {
      if (!addInput(options, arg, reason)) {
        return false;
      }
      continue;
    }
    // A flag is its whole argument; "--quiet=yes" is no flag and, below, no option either.
    const ImportOption* option = findOption(arg, false);
    std::string value;
    if (option == nullptr) {
      std::string name = arg;
      const std::size_t equals = arg.find('=');
      const bool attached = arg.compare(0, 2, "--") == 0 && equals != std::string::npos;
      if (attached) {
        name = arg.substr(0, equals);
        value = arg.substr(equals + 1);
      }
      option = findOption(name, true);
      if (option == nullptr) {
        return fail(reason, "unknown option `" + escaped(arg.c_str()) + "'");
      }
      if (given[option - kOptions]) {
        return fail(reason, "option " + name + " is given twice");
      }
      if (!attached) {
        if (i + 1 == argc) {
          return fail(reason, "option " + name + " needs a value");
        }
        value = argv[++i];
      }
    } else if (given[option - kOptions]) {
      return fail(reason, std::string("option ") + option->name + " is given twice");
    }
    given[option - kOptions] = true;
    if (!option->take(options, value, reason)) {
      return false;
    }
    // With --help or --version the rest of the command line is not looked at.
    if (options.help || options.version) {
      return true;
    }
  }

  if (options.inputs.empty()) {
    return fail(reason, "no input file given");
  }
  if (options.inputs.size() > kMaxInputs) {
    return fail(reason, "wrong number of inputs (a graph file lists at most " +
                            std::to_string(kMaxInputs) + ")");
  }
  const bool haveSourceName = !options.sourceNames.empty();
  if (haveSourceName && options.inputs.size() > 1) {
    return fail(reason,
                "option --source-name names a single input (with several, the graph "
                "keeps their base names)");
  }
  if (!haveSourceName) {
    for (const std::string& input : options.inputs) {
      options.sourceNames.push_back(baseName(input));
    }
  }
  for (const std::string& sourceName : options.sourceNames) {
    if (!checkGraphText("--source-name", sourceName, reason)) {
      return false;
    }
  }
  return checkGraphText("--description", options.description, reason);
}
