#ifndef ENGINE_REPORT_FIGURES_H_
#define ENGINE_REPORT_FIGURES_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "asgraph/as_graph.h"
#include "engine/diff_type.h"

// The figures of one two-graph comparison: the counters and the two graphs' sizes.
struct ComparisonFigures {
  std::uint32_t nodes1 = 0;
  std::uint32_t nodes2 = 0;
  std::uint32_t edges1 = 0;
  std::uint32_t edges2 = 0;
  diff_type counts{};
};

// One figure of the report: its name in tables (snake_case, a column header or a JSON key), its
// label in plandrex's report (padded to the column where the number starts) and where it comes
// from. The report and every table of reports are printed from kReportFigures, in its order, so
// that no two of them can disagree on a figure's meaning or place.
struct ReportFigure {
  const char* name;
  const char* label;
  std::uint32_t (*value)(const ComparisonFigures& figures);
};

inline constexpr std::size_t kReportFigureCount = 25;
// The first kNodeFigures figures are about nodes; the report prints them before it compares the
// edges.
inline constexpr std::size_t kNodeFigures = 5;
extern const ReportFigure kReportFigures[kReportFigureCount];

// Compares graph1 and graph2 (neither is changed) as plandrex's default mode does.
ComparisonFigures compareForReport(ASGraph& graph1, ASGraph& graph2);

// Prints report lines begin to end - 1 ("label     value") to out, as plandrex's report does.
// Write errors are left on the stream.
void printReportLines(FILE* out, const ComparisonFigures& figures, std::size_t begin,
                      std::size_t end);

#endif  // ENGINE_REPORT_FIGURES_H_
