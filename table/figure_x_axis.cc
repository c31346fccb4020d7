#include "table/figure_x_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "table/graph_date.h"
#include "table/svg_text.h"

namespace {

// Labels keep at least this many font sizes of space between them.
constexpr double kLabelGap = 1.2;
// A dated axis leaves this share of its width free at each end, so that the first and the last
// graph's markers stand clear of the frame.
constexpr double kTimeInset = 0.03;

struct CivilDate {
  std::int64_t year;
  int month;
};

// The year and month of a day, read off its ISO date.
CivilDate civilDate(std::int64_t day) {
  const std::string iso = isoDate(GraphDate{true, day});
  return {std::stoll(iso.substr(0, iso.size() - 6)), std::stoi(iso.substr(iso.size() - 5, 2))};
}

std::string yearMonth(std::int64_t year, int month) {
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02d", static_cast<long long>(year), month);
  return text;
}

// Ticks every `step` months (12 and more: whole years) from the first such month at or after
// firstDay up to lastDay. A year step labels "2004", a month step "2024-07".
std::vector<std::int64_t> calendarTicks(double firstDay, double lastDay, int stepMonths) {
  std::vector<std::int64_t> ticks;
  const CivilDate start = civilDate(static_cast<std::int64_t>(std::floor(firstDay)));
  std::int64_t month = start.year * 12 + (start.month - 1);
  month -= ((month % stepMonths) + stepMonths) % stepMonths;
  for (;; month += stepMonths) {
    const std::int64_t year = month >= 0 ? month / 12 : (month - 11) / 12;
    GraphDate first;
    if (!parseIsoDate(yearMonth(year, static_cast<int>(month - year * 12 + 1)) + "-01", first)) {
      // Beyond the calendar's years 1 to 9999: no tick there.
      if (year > 0) {
        break;
      }
      continue;
    }
    if (static_cast<double>(first.days) > lastDay) {
      break;
    }
    if (static_cast<double>(first.days) >= firstDay) {
      ticks.push_back(first.days);
    }
  }
  return ticks;
}

std::string calendarLabel(std::int64_t day, int stepMonths) {
  const CivilDate date = civilDate(day);
  return stepMonths % 12 == 0 ? std::to_string(date.year) : yearMonth(date.year, date.month);
}

// Labels at the given places, each kept only where it stays clear of the last kept one.
void addThinnedLabels(XAxis& axis, const std::vector<double>& at,
                      const std::vector<std::string>& labels, double fontSize) {
  double clearFrom = -1e300;
  for (std::size_t i = 0; i < at.size(); ++i) {
    const double half = textWidth(labels[i], fontSize) / 2;
    if (at[i] - half >= clearFrom) {
      axis.ticks.push_back({at[i], labels[i]});
      clearFrom = at[i] + half + kLabelGap * fontSize;
    } else {
      axis.ticks.push_back({at[i], ""});
    }
  }
}

}  // namespace

XAxis timeAxis(const std::vector<std::int64_t>& days, double width, double fontSize) {
  XAxis axis;
  if (days.empty()) {
    return axis;
  }
  const double first = static_cast<double>(days.front());
  const double span = static_cast<double>(days.back() - days.front());
  // All graphs on one day stand in the middle, on an axis a month wide.
  const double inset = span > 0 ? width * kTimeInset : width / 2;
  const double perDay = span > 0 ? (width - 2 * inset) / span : width / 30;
  auto at = [&](double day) { return inset + (day - first) * perDay; };
  for (const std::int64_t day : days) {
    axis.graphAt.push_back(at(static_cast<double>(day)));
  }
  const double visibleFrom = first - inset / perDay;
  const double visibleTo = first + (width - inset) / perDay;

  // The smallest calendar step whose labels keep their distance, years before months; the
  // shortest month is the closest two month ticks come.
  for (const int step : {12, 24, 60, 120, 240, 600, 1200, 2400, 6000, 1, 2, 3, 6}) {
    const std::vector<std::int64_t> ticks = calendarTicks(visibleFrom, visibleTo, step);
    if (ticks.size() < 2) {
      continue;
    }
    const double label = textWidth(calendarLabel(ticks.front(), step), fontSize);
    const double closest = (step % 12 == 0 ? 365.0 * (step / 12) : 28.0 * step) * perDay;
    if (closest < label + kLabelGap * fontSize) {
      continue;
    }
    // Unlabelled ticks at each year (or month) between the labelled ones, where there is room.
    const int minorStep = step % 12 == 0 && step > 12 ? 12 : step > 1 && step < 12 ? 1 : 0;
    if (minorStep > 0 && (minorStep == 12 ? 365.0 : 28.0) * perDay >= 0.5 * fontSize) {
      for (const std::int64_t day : calendarTicks(visibleFrom, visibleTo, minorStep)) {
        if (!std::binary_search(ticks.begin(), ticks.end(), day)) {
          axis.ticks.push_back({at(static_cast<double>(day)), ""});
        }
      }
    }
    for (const std::int64_t day : ticks) {
      axis.ticks.push_back({at(static_cast<double>(day)), calendarLabel(day, step)});
    }
    return axis;
  }
  std::vector<std::string> labels;
  for (const std::int64_t day : days) {
    labels.push_back(isoDate(GraphDate{true, day}));
  }
  addThinnedLabels(axis, axis.graphAt, labels, fontSize);
  return axis;
}

XAxis positionAxis(const std::vector<std::string>& labels, double width, double fontSize) {
  XAxis axis;
  const std::size_t count = labels.size();
  double widest = 0;
  for (const std::string& label : labels) {
    widest = std::max(widest, textWidth(label, fontSize));
  }
  // The outer graphs stand in by half a label, so that their labels stay inside the figure.
  const double inset = std::min(std::max(widest / 2, fontSize), width / 4);
  for (std::size_t i = 0; i < count; ++i) {
    axis.graphAt.push_back(count == 1 ? width / 2
                                      : inset + (width - 2 * inset) * static_cast<double>(i) /
                                                    static_cast<double>(count - 1));
  }
  addThinnedLabels(axis, axis.graphAt, labels, fontSize);
  return axis;
}
