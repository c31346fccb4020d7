#ifndef TABLE_GRAPH_DATE_H_
#define TABLE_GRAPH_DATE_H_

#include <cstdint>
#include <string>
#include <vector>

// The day a graph was taken, as days since 1970-01-01, or none.
struct GraphDate {
  bool known = false;
  std::int64_t days = 0;
};

// "YYYY-MM-DD" as a day (any valid calendar date of years 0001-9999). false: not such a date.
bool parseIsoDate(const std::string& text, GraphDate& date);

// The date a graph's name carries: in its base name, the first run of exactly eight digits that
// is a valid YYYYMMDD, or the first YYYY-MM-DD, whichever starts first; only years 1970-2100
// count, so that serial numbers and AS numbers are not taken for dates. None otherwise.
GraphDate dateInName(const std::string& name);

// "YYYY-MM-DD"; "" for no date.
std::string isoDate(const GraphDate& date);

// The date of every input: from datesList ("D1,D2,...", one ISO date per input, in order) when
// given, else from each name. Unless unordered, a date earlier than the last date before it is
// refused: a series whose dates go backwards was most often named in the wrong order. false:
// reason says why (names and text quoted escaped).
bool graphDates(const std::vector<std::string>& inputs, bool datesGiven,
                const std::string& datesList, bool unordered, std::vector<GraphDate>& dates,
                std::string& reason);

#endif  // TABLE_GRAPH_DATE_H_
