#include "table/report_series.h"

#include <cstring>

namespace {

// Every figure the report writes, a graph's own count as a level and a comparison's count as a
// change. A level figure of the earlier graph (nodes_1) draws the same line as the later one's
// (nodes_2): together they give every graph's level.
const std::vector<FigureSeries> kReportSeries = {
    {"nodes_2", "ASes", SeriesKind::kLevel, true},
    {"edges_2", "links", SeriesKind::kLevel, true},
    {"edges_only_2", "new links", SeriesKind::kChange, true},
    {"edges_only_1", "gone links", SeriesKind::kChange, true},
    {"edges_common_different", "changed links", SeriesKind::kChange, true},
    {"nodes_1", "ASes", SeriesKind::kLevel, false},
    {"nodes_only_1", "gone ASes", SeriesKind::kChange, false},
    {"nodes_only_2", "new ASes", SeriesKind::kChange, false},
    {"nodes_common", "ASes kept", SeriesKind::kChange, false},
    {"edges_1", "links", SeriesKind::kLevel, false},
    {"edges_1_peering", "peering links", SeriesKind::kLevel, false},
    {"edges_1_directed", "provider-customer links", SeriesKind::kLevel, false},
    {"edges_1_unoriented", "links of unknown type", SeriesKind::kLevel, false},
    {"edges_only_1_peering", "gone peering links", SeriesKind::kChange, false},
    {"edges_only_1_directed", "gone provider-customer links", SeriesKind::kChange, false},
    {"edges_only_1_unoriented", "gone links of unknown type", SeriesKind::kChange, false},
    {"edges_2_peering", "peering links", SeriesKind::kLevel, false},
    {"edges_2_directed", "provider-customer links", SeriesKind::kLevel, false},
    {"edges_2_unoriented", "links of unknown type", SeriesKind::kLevel, false},
    {"edges_only_2_peering", "new peering links", SeriesKind::kChange, false},
    {"edges_only_2_directed", "new provider-customer links", SeriesKind::kChange, false},
    {"edges_only_2_unoriented", "new links of unknown type", SeriesKind::kChange, false},
    {"edges_common", "links kept", SeriesKind::kChange, false},
    {"edges_common_opposite", "links turned round", SeriesKind::kChange, false},
    {"edges_common_consistent", "links of the same type", SeriesKind::kChange, false},
};

std::size_t figureIndex(const std::string& name) {
  for (std::size_t i = 0; i < kReportFigureCount; ++i) {
    if (name == kReportFigures[i].name) {
      return i;
    }
  }
  return 0;  // not reached: every series above is a figure of the report
}

// The figure of the same count in the other graph of a row: nodes_1 for nodes_2 and back.
std::string otherGraphs(std::string name, char graph) {
  std::size_t at = name.find("_1");
  if (at == std::string::npos) {
    at = name.find("_2");
  }
  name[at + 1] = graph;
  return name;
}

}  // namespace

const std::vector<FigureSeries>& reportFigureSeries() { return kReportSeries; }

SeriesTable reportSeriesTable(const std::vector<FigureSeries>& chosen,
                              const std::vector<ComparisonFigures>& rows,
                              const std::vector<std::string>& labels,
                              const std::vector<GraphDate>& dates, bool base) {
  SeriesTable table;
  table.labels = labels;
  table.dates = dates;
  table.changesAgainstFirst = base;
  for (const FigureSeries& series : chosen) {
    SeriesColumn column{series, std::vector<double>(rows.size() + 1, 0)};
    if (series.kind == SeriesKind::kLevel) {
      const ReportFigure& earlier = kReportFigures[figureIndex(otherGraphs(series.name, '1'))];
      const ReportFigure& later = kReportFigures[figureIndex(otherGraphs(series.name, '2'))];
      if (!rows.empty()) {
        column.values[0] = earlier.value(rows[0]);
      }
      for (std::size_t row = 0; row < rows.size(); ++row) {
        column.values[row + 1] = later.value(rows[row]);
      }
    } else {
      const ReportFigure& figure = kReportFigures[figureIndex(series.name)];
      for (std::size_t row = 0; row < rows.size(); ++row) {
        column.values[row + 1] = figure.value(rows[row]);
      }
    }
    table.columns.push_back(column);
  }
  return table;
}
