#ifndef TABLE_FIGURE_X_AXIS_H_
#define TABLE_FIGURE_X_AXIS_H_

#include <cstdint>
#include <string>
#include <vector>

// A tick of the x axis: its distance from the plot's left edge and its label (empty: a minor
// tick, drawn without one).
struct XTick {
  double at;
  std::string label;
};

// The x axis of a series figure over a plot `width` wide: where each graph stands, and ticks
// whose labels (at fontSize) never come closer than a gap to each other.
struct XAxis {
  std::vector<double> graphAt;
  std::vector<XTick> ticks;
};

// Time: each graph at its date (days since 1970-01-01, in ascending order), ticks at whole years,
// or at months for short spans, or at the graphs' own dates when not even two months show.
XAxis timeAxis(const std::vector<std::int64_t>& days, double width, double fontSize);

// Order: the graphs evenly spread, each labelled, every so many labels left out so that none
// overlap.
XAxis positionAxis(const std::vector<std::string>& labels, double width, double fontSize);

#endif  // TABLE_FIGURE_X_AXIS_H_
