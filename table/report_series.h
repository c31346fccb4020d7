#ifndef TABLE_REPORT_SERIES_H_
#define TABLE_REPORT_SERIES_H_

#include <string>
#include <vector>

#include "engine/report_figures.h"
#include "table/series_figure.h"

// The report's columns a figure can draw, with their words; the defaults are ASes and links,
// and new, gone and changed links.
const std::vector<FigureSeries>& reportFigureSeries();

// The figure of a report series: graph i's level from the later graph of row i - 1 (the first
// graph's from the earlier graph of row 0), the changes of row i - 1 as the interval ending at
// graph i. labels and dates: the graphs'; base: every row compares with the first graph.
SeriesTable reportSeriesTable(const std::vector<FigureSeries>& chosen,
                              const std::vector<ComparisonFigures>& rows,
                              const std::vector<std::string>& labels,
                              const std::vector<GraphDate>& dates, bool base);

#endif  // TABLE_REPORT_SERIES_H_
