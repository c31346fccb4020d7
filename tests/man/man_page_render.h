#ifndef TESTS_MAN_MAN_PAGE_RENDER_H_
#define TESTS_MAN_MAN_PAGE_RENDER_H_

#include <string>

namespace mancheck {

// Formats page with the man macros, with every warning on, for each of the PostScript, UTF-8 and
// ASCII devices, and returns what went wrong: each warning or failure, prefixed with the device.
// Empty means the page is clean. groff is the program's path.
std::string renderingProblems(const std::string& groff, const std::string& page);

// The page as plain text, the way a reader sees it on an ASCII terminal: no bold, underline or
// colour sequences, 80 columns. Empty when groff fails.
std::string renderAsText(const std::string& groff, const std::string& page);

}  // namespace mancheck

#endif  // TESTS_MAN_MAN_PAGE_RENDER_H_
