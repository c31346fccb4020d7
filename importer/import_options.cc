#include "importer/import_options.h"

#include <cstring>

#include "fileio/path_name.h"
#include "importer/format_registry.h"

namespace {

// The graph file holds names and the description on lines of their own, which
// the reader takes up to this length.
constexpr std::size_t kMaxGraphTextLength = 511;

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

}  // namespace

bool parseImportOptions(int argc, const char* const* argv, ImportOptions& options,
                        std::string& reason) {
  bool haveOutput = false;
  bool haveRelationships = false;
  bool haveSourceName = false;
  bool haveDescription = false;
  bool haveFormat = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help") {
      options.help = true;
      return true;
    }
    if (arg == "--version") {
      options.version = true;
      return true;
    }
    if (arg == "--keep-self-loops") {
      if (options.settings.keepSelfLoops) {
        return fail(reason, "option --keep-self-loops is given twice");
      }
      options.settings.keepSelfLoops = true;
      continue;
    }
    if (arg == "--classic") {
      if (options.settings.classic) {
        return fail(reason, "option --classic is given twice");
      }
      options.settings.classic = true;
      continue;
    }
    if (arg == "--quiet") {
      if (options.quiet) {
        return fail(reason, "option --quiet is given twice");
      }
      options.quiet = true;
      continue;
    }
    if (arg == "-" || arg.empty() || arg[0] != '-') {
      for (const std::string& earlier : options.inputs) {
        if (arg == "-" && earlier == "-") {
          return fail(reason, "standard input (-) can be read only once");
        }
      }
      options.inputs.push_back(arg);
      continue;
    }

    // Options with a value: "-o FILE", "--name VALUE" or "--name=VALUE".
    std::string name = arg;
    std::string value;
    const std::size_t equals = arg.find('=');
    const bool attached = arg.compare(0, 2, "--") == 0 && equals != std::string::npos;
    if (attached) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    bool* seen = nullptr;
    std::string* target = nullptr;
    std::string sourceName;
    if (name == "-o") {
      seen = &haveOutput;
      target = &options.outputFile;
    } else if (name == "--source-name") {
      seen = &haveSourceName;
      target = &sourceName;
    } else if (name == "--description") {
      seen = &haveDescription;
      target = &options.description;
    } else if (name == "--format") {
      seen = &haveFormat;
      target = &value;
    } else if (name == "--relationships") {
      seen = &haveRelationships;
      target = &options.relationshipsFile;
    } else {
      return fail(reason, "unknown option `" + arg + "'");
    }
    if (*seen) {
      return fail(reason, "option " + name + " is given twice");
    }
    *seen = true;
    if (!attached) {
      if (i + 1 == argc) {
        return fail(reason, "option " + name + " needs a value");
      }
      value = argv[++i];
    }
    *target = value;
    if (name == "--source-name") {
      options.sourceNames.push_back(value);
    }
    if ((name == "-o" || name == "--relationships") && value.empty()) {
      return fail(reason, "option " + name + " needs a file name");
    }
    if (name == "--format") {
      options.format = findFormat(value.c_str());
      if (options.format == nullptr) {
        return fail(reason, "unknown format `" + value + "' (known: " + knownFormats() + ")");
      }
    }
  }

  if (options.inputs.empty()) {
    return fail(reason, "no input file given");
  }
  if (haveSourceName && options.inputs.size() > 1) {
    return fail(reason,
                "option --source-name names a single input (with several, the graph "
                "keeps their base names)");
  }
  options.descriptionGiven = haveDescription;
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
