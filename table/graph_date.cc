#include "table/graph_date.h"

#include <cstdio>

#include "fileio/path_name.h"
#include "text/escaped_text.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool leapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a valid civil date (proleptic Gregorian), by whole 400-year eras.
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int digitsValue(const char* text, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool allDigits(const char* text, int count) {
  for (int i = 0; i < count; ++i) {
    if (!isDigit(text[i])) {
      return false;
    }
  }
  return true;
}

bool makeDate(int year, int month, int day, int firstYear, int lastYear, GraphDate& date) {
  if (year < firstYear || year > lastYear || month < 1 || month > 12 || day < 1 ||
      day > daysInMonth(year, month)) {
    return false;
  }
  date.known = true;
  date.days = daysFromCivil(year, month, day);
  return true;
}

// A date in a name: YYYY-MM-DD (10 bytes) or YYYYMMDD (8) at text, in the years names may carry.
bool nameDateAt(const std::string& name, std::size_t at, GraphDate& date) {
  constexpr int kFirstYear = 1970;
  constexpr int kLastYear = 2100;
  const char* p = name.data() + at;
  const std::size_t left = name.size() - at;
  if (left >= 10 && allDigits(p, 4) && p[4] == '-' && allDigits(p + 5, 2) && p[7] == '-' &&
      allDigits(p + 8, 2) && (left == 10 || !isDigit(p[10]))) {
    return makeDate(digitsValue(p, 4), digitsValue(p + 5, 2), digitsValue(p + 8, 2), kFirstYear,
                    kLastYear, date);
  }
  if (left >= 8 && allDigits(p, 8) && (left == 8 || !isDigit(p[8]))) {
    return makeDate(digitsValue(p, 4), digitsValue(p + 4, 2), digitsValue(p + 6, 2), kFirstYear,
                    kLastYear, date);
  }
  return false;
}

std::string quotedName(const std::string& name) { return "`" + escaped(name.c_str()) + "'"; }

}  // namespace

bool parseIsoDate(const std::string& text, GraphDate& date) {
  const char* p = text.c_str();
  if (text.size() != 10 || !allDigits(p, 4) || p[4] != '-' || !allDigits(p + 5, 2) || p[7] != '-' ||
      !allDigits(p + 8, 2)) {
    return false;
  }
  return makeDate(digitsValue(p, 4), digitsValue(p + 5, 2), digitsValue(p + 8, 2), 1, 9999, date);
}

GraphDate dateInName(const std::string& name) {
  const std::string base = baseName(name);
  GraphDate date;
  for (std::size_t at = 0; at < base.size(); ++at) {
    // Only where a run of digits starts: "120040101" holds no date.
    if (isDigit(base[at]) && (at == 0 || !isDigit(base[at - 1])) && nameDateAt(base, at, date)) {
      return date;
    }
  }
  return GraphDate();
}

std::string isoDate(const GraphDate& date) {
  if (!date.known) {
    return std::string();
  }
  // The inverse of daysFromCivil.
  const std::int64_t z = date.days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02d", year, month, day);
  return text;
}

bool graphDates(const std::vector<std::string>& inputs, bool datesGiven,
                const std::string& datesList, bool unordered, std::vector<GraphDate>& dates,
                std::string& reason) {
  dates.clear();
  if (datesGiven) {
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = datesList.find(',', start);
      const std::string item = datesList.substr(start, comma - start);
      GraphDate date;
      if (!parseIsoDate(item, date)) {
        reason = "invalid date `" + escaped(item.c_str()) + "' in --dates (YYYY-MM-DD)";
        return false;
      }
      dates.push_back(date);
      if (comma == std::string::npos) {
        break;
      }
      start = comma + 1;
    }
    if (dates.size() != inputs.size()) {
      reason = "--dates gives " + std::to_string(dates.size()) + " dates for " +
               std::to_string(inputs.size()) + " graph files";
      return false;
    }
  } else {
    for (const std::string& input : inputs) {
      dates.push_back(dateInName(input));
    }
  }
  if (unordered) {
    return true;
  }
  std::size_t lastDated = inputs.size();
  for (std::size_t i = 0; i < dates.size(); ++i) {
    if (!dates[i].known) {
      continue;
    }
    if (lastDated != inputs.size() && dates[i].days < dates[lastDated].days) {
      reason = "the dates go backwards: " + quotedName(inputs[i]) + " (" + isoDate(dates[i]) +
               ") comes after " + quotedName(inputs[lastDated]) + " (" + isoDate(dates[lastDated]) +
               "); give the graphs in date order, or --unordered to keep this order";
      return false;
    }
    lastDated = i;
  }
  return true;
}
