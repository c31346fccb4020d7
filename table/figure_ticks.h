#ifndef TABLE_FIGURE_TICKS_H_
#define TABLE_FIGURE_TICKS_H_

#include <string>
#include <vector>

// A value axis of a figure: the range it spans, its ticks and their labels.
struct ValueAxis {
  double low = 0;
  double high = 1;
  bool logarithmic = false;
  std::vector<double> ticks;
  std::vector<std::string> labels;

  // Where value lies between low (0) and high (1); on a logarithmic axis only for value > 0.
  double fraction(double value) const;
};

// A linear axis from 0 (or below, for a negative value) to at most one tick above largest, with
// at most maxTicks + 1 ticks at 1, 2 or 5 times a power of ten.
ValueAxis linearAxis(double smallest, double largest, int maxTicks);

// A logarithmic axis over whole decades around the positive values smallestPositive to largest
// (1 to 10 when there are none), ticked at decades (and at 2 and 5 times them when there is
// room for them).
ValueAxis logAxis(double smallestPositive, double largest, int maxTicks);

// The tick step for a span of about maxTicks ticks: 1, 2 or 5 times a power of ten.
double niceTickStep(double span, int maxTicks);

// A tick value as a reader reads it, short and exact at the axis's step: 2,500, 40k, 1.5M, 0.25.
// magnitude is the largest value on the axis, which decides the unit for every tick.
std::string tickLabel(double value, double step, double magnitude);

#endif  // TABLE_FIGURE_TICKS_H_
