#ifndef TABLE_FIGURE_OPTIONS_H_
#define TABLE_FIGURE_OPTIONS_H_

#include <string>
#include <vector>

// How a series is drawn (--plot and the options that shape the figure); report and snapshots.
struct FigureOptions {
  std::string file;                  // empty: no figure
  std::vector<std::string> figures;  // column names to draw; empty: the command's default
  bool logarithmic = false;          // a logarithmic level axis
  std::string title;
  bool titleGiven = false;    // --title, even with an empty text
  double widthInches = 7.0;   // --size WxH
  double heightInches = 4.5;  //
  bool perInterval = false;   // changes as plain counts, not per year
};

#endif  // TABLE_FIGURE_OPTIONS_H_
