#include "table/figure_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A relative tolerance for tick arithmetic in doubles, far below any drawn difference.
constexpr double kSlack = 1e-9;

struct Unit {
  double from;  // the largest value on the axis from which the unit is used
  double size;
  const char* suffix;
};

// Counts below 10,000 are written whole, with separators, as "9,500" reads better than "9.5k".
constexpr Unit kUnits[] = {{1e18, 1e18, "E"}, {1e15, 1e15, "P"}, {1e12, 1e12, "T"},
                           {1e9, 1e9, "G"},   {1e6, 1e6, "M"},   {1e4, 1e3, "k"}};

Unit unitFor(double magnitude) {
  for (const Unit& unit : kUnits) {
    if (magnitude >= unit.from) {
      return unit;
    }
  }
  return Unit{0, 1, ""};
}

// The decimals that show every multiple of step exactly.
int decimalsFor(double step) {
  for (int decimals = 0; decimals < 9; ++decimals) {
    const double scaled = step * std::pow(10.0, decimals);
    if (std::fabs(scaled - std::round(scaled)) <= kSlack * std::max(1.0, scaled)) {
      return decimals;
    }
  }
  return 9;
}

// "1234567" as "1,234,567".
std::string grouped(std::string digits) {
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, ",");
  }
  return digits;
}

}  // namespace

double ValueAxis::fraction(double value) const {
  if (logarithmic) {
    return (std::log10(value) - std::log10(low)) / (std::log10(high) - std::log10(low));
  }
  return (value - low) / (high - low);
}

double niceTickStep(double span, int maxTicks) {
  const double rough = span / std::max(1, maxTicks);
  if (!(rough > 0) || !std::isfinite(rough)) {
    return 1;
  }
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough * (1 - kSlack)) {
      return factor * power;
    }
  }
  return 10 * power;
}

std::string tickLabel(double value, double step, double magnitude) {
  if (value == 0) {
    return "0";
  }
  const Unit unit = unitFor(std::fabs(magnitude));
  const double scaled = value / unit.size;
  const int decimals = decimalsFor(step / unit.size);
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(scaled));
  std::string number(text);
  const std::size_t point = number.find('.');
  const std::string whole = number.substr(0, point);
  const std::string fraction = point == std::string::npos ? "" : number.substr(point);
  const bool negative = scaled < 0 && std::fabs(scaled) * std::pow(10.0, decimals) >= 0.5;
  // A typographic minus, as the tick labels of plotting libraries have it.
  return (negative ? "\xE2\x88\x92" : "") + grouped(whole) + fraction + unit.suffix;
}

ValueAxis linearAxis(double smallest, double largest, int maxTicks) {
  ValueAxis axis;
  double low = std::min(0.0, smallest);
  double high = std::max(0.0, largest);
  if (!(high > low)) {
    high = low + 1;
  }
  const double step = niceTickStep(high - low, maxTicks);
  axis.low = std::floor(low / step + kSlack) * step;
  axis.high = std::ceil(high / step - kSlack) * step;
  const double magnitude = std::max(std::fabs(axis.low), std::fabs(axis.high));
  const long long first = std::llround(axis.low / step);
  const long long last = std::llround(axis.high / step);
  for (long long i = first; i <= last; ++i) {
    const double value = static_cast<double>(i) * step;
    axis.ticks.push_back(value);
    axis.labels.push_back(tickLabel(value, step, magnitude));
  }
  return axis;
}

ValueAxis logAxis(double smallestPositive, double largest, int maxTicks) {
  ValueAxis axis;
  axis.logarithmic = true;
  int lowDecade = 0;
  int highDecade = 1;
  if (smallestPositive > 0 && largest >= smallestPositive) {
    lowDecade = static_cast<int>(std::floor(std::log10(smallestPositive) + kSlack));
    highDecade = static_cast<int>(std::ceil(std::log10(largest) - kSlack));
    if (highDecade <= lowDecade) {
      highDecade = lowDecade + 1;
    }
  }
  axis.low = std::pow(10.0, lowDecade);
  axis.high = std::pow(10.0, highDecade);
  const int decades = highDecade - lowDecade;
  const int stride = std::max(1, (decades + std::max(1, maxTicks) - 1) / std::max(1, maxTicks));
  const bool between = decades * 3 + 1 <= maxTicks;
  for (int decade = lowDecade; decade <= highDecade; ++decade) {
    const double value = std::pow(10.0, decade);
    if ((decade - lowDecade) % stride == 0) {
      axis.ticks.push_back(value);
      axis.labels.push_back(tickLabel(value, value, value));
    }
    if (between && decade < highDecade) {
      for (const double factor : {2.0, 5.0}) {
        axis.ticks.push_back(factor * value);
        axis.labels.push_back(tickLabel(factor * value, factor * value, factor * value));
      }
    }
  }
  return axis;
}
