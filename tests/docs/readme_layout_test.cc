// README's Layout table is checked against the tree, so that it cannot drift: one row per
// top-level folder that has a CMakeLists.txt (and no row for a folder that is gone), and for
// each library folder, the library folders it links, read from its CMakeLists.txt. A new folder
// needs one row and nothing else.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSource = PLANDREX_SOURCE_DIR;

std::string fileText(const fs::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The text without its comments; the CMake files quote no '#'.
std::string withoutComments(const std::string& text) {
  return std::regex_replace(text, std::regex("#[^\n]*"), "");
}

// The arguments of every call of command in text, split at blanks.
std::vector<std::vector<std::string>> calls(const std::string& text, const std::string& command) {
  std::vector<std::vector<std::string>> found;
  const std::regex call("\\b" + command + "\\s*\\(([^)]*)\\)");
  for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
    std::istringstream words((*it)[1].str());
    std::vector<std::string> arguments;
    for (std::string word; words >> word;) {
      arguments.push_back(word);
    }
    found.push_back(arguments);
  }
  return found;
}

// What the build says about the top-level folders.
struct Tree {
  std::set<std::string> folders;     // those with a CMakeLists.txt
  std::set<std::string> libraries;   // those that publish an include root of their own
  std::map<std::string, std::set<std::string>> links;  // library folder -> folders it links
};

Tree treeFromCMake() {
  Tree tree;
  std::map<std::string, std::string> folderOfTarget;
  std::map<std::string, std::string> cmakeText;
  for (const fs::directory_entry& entry : fs::directory_iterator(kSource)) {
    const std::string folder = entry.path().filename().string();
    if (!entry.is_directory() || folder.rfind("build", 0) == 0 || folder[0] == '.' ||
        !fs::exists(entry.path() / "CMakeLists.txt")) {
      continue;
    }
    tree.folders.insert(folder);
    const std::string text = withoutComments(fileText(entry.path() / "CMakeLists.txt"));
    cmakeText[folder] = text;
    for (const char* command : {"add_library", "add_executable"}) {
      for (const auto& arguments : calls(text, command)) {
        if (!arguments.empty()) {
          folderOfTarget[arguments[0]] = folder;
        }
      }
    }
    for (const auto& arguments : calls(text, "plandrex_layer_includes")) {
      if (arguments.size() == 2 && arguments[1] == folder) {
        tree.libraries.insert(folder);
      }
    }
  }
  for (const std::string& folder : tree.libraries) {
    std::set<std::string>& linked = tree.links[folder];
    for (const auto& arguments : calls(cmakeText[folder], "target_link_libraries")) {
      for (std::size_t i = 1; i < arguments.size(); ++i) {
        auto target = folderOfTarget.find(arguments[i]);
        if (target != folderOfTarget.end() && target->second != folder &&
            tree.libraries.count(target->second) != 0) {
          linked.insert(target->second);
        }
      }
    }
  }
  return tree;
}

// README's Layout table: folder -> the folders named in its "links" cell.
std::map<std::string, std::set<std::string>> layoutTable(std::string* problem) {
  const std::string readme = fileText(kSource / "README.md");
  const std::size_t start = readme.find("\n## Layout\n");
  if (start == std::string::npos) {
    *problem = "README.md has no \"## Layout\" section";
    return {};
  }
  const std::size_t end = readme.find("\n## ", start + 1);
  std::istringstream lines(readme.substr(start, end - start));
  const std::regex row("^\\| `([^`/]+)/` \\|[^|]*\\|([^|]*)\\|$");
  const std::regex linked("`([^`/]+)/`");
  std::map<std::string, std::set<std::string>> table;
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, row)) {
      continue;
    }
    std::set<std::string>& links = table[match[1].str()];
    const std::string cell = match[2].str();
    for (std::sregex_iterator it(cell.begin(), cell.end(), linked), stop; it != stop; ++it) {
      links.insert((*it)[1].str());
    }
  }
  if (table.empty()) {
    *problem = "README.md's Layout table has no row of the form | `folder/` | contents | links |";
  }
  return table;
}

std::string listed(const std::set<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) {
    text += (text.empty() ? "`" : " `") + folder + "/`";
  }
  return text.empty() ? "(none)" : text;
}

TEST(ReadmeLayoutTest, TableListsEveryFolderAndWhatEachLibraryLinks) {
  std::string problem;
  const auto table = layoutTable(&problem);
  ASSERT_TRUE(problem.empty()) << problem;
  const Tree tree = treeFromCMake();
  ASSERT_FALSE(tree.libraries.empty()) << "no library folder found under " << kSource;
  for (const std::string& folder : tree.folders) {
    EXPECT_EQ(table.count(folder), 1u) << "README.md's Layout table has no row for `" << folder
                                       << "/`, which has a CMakeLists.txt";
  }
  for (const auto& [folder, links] : table) {
    EXPECT_TRUE(fs::is_directory(kSource / folder))
        << "README.md's Layout table lists `" << folder << "/`, which does not exist";
    const auto built = tree.links.find(folder);
    const std::set<std::string> expected =
        built == tree.links.end() ? std::set<std::string>() : built->second;
    EXPECT_EQ(links, expected) << "README.md's Layout row `" << folder << "/` says it links "
                               << listed(links) << "; its CMakeLists.txt links "
                               << listed(expected);
  }
}

}  // namespace
