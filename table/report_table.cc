#include "table/report_table.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "engine/report_figures.h"
#include "fileio/path_name.h"
#include "table/graph_input.h"
#include "table/row_writer.h"
#include "table/series_plot.h"
#include "table/series_reader.h"
#include "table/table_output.h"
#include "table/table_progress.h"
#include "text/escaped_text.h"

namespace {

std::vector<std::string> reportColumns() {
  std::vector<std::string> names = {"first", "second"};
  for (const ReportFigure& figure : kReportFigures) {
    names.emplace_back(figure.name);
  }
  // After the figures, so that every earlier column keeps its place.
  names.emplace_back("date_1");
  names.emplace_back("date_2");
  return names;
}

const ReportFigure& figureNamed(const char* name) {
  for (const ReportFigure& figure : kReportFigures) {
    if (std::strcmp(figure.name, name) == 0) {
      return figure;
    }
  }
  return kReportFigures[0];  // not reached: every plotted figure is in the table
}

}  // namespace

int runReportTable(const TableOptions& options, bool progressShown, FILE* err) {
  OutputFile table;
  OutputFile plot;
  const bool plotting = !options.figure.file.empty();
  if (!openTableOutput(table, options.outputFile, options.inputs, err) ||
      (plotting && !openTableOutput(plot, options.figure.file, options.inputs, err))) {
    table.finish(false);
    return kTableInvalid;
  }
  RowWriter rows(table.stream(), options.format, reportColumns());
  rows.holdRows();
  rows.header();

  TableProgress progress(progressShown, err, options.inputs.size());
  std::vector<SeriesPoint> points;
  // The earlier graph of the pair (with --base, the first graph throughout) and the later one.
  auto earlier = std::make_unique<ASGraph>();
  auto later = std::make_unique<ASGraph>();
  std::size_t earlierIndex = 0;
  int status = kTableSuccess;
  std::string message;
  progress.show(0, options.inputs[0]);
  status = readGraphInput(options.inputs[0], *earlier, message);
  for (std::size_t i = 1; status == kTableSuccess && i < options.inputs.size(); ++i) {
    progress.show(i, options.inputs[i]);
    *later = ASGraph();
    status = readGraphInput(options.inputs[i], *later, message);
    if (status != kTableSuccess) {
      break;
    }
    const ComparisonFigures figures = compareForReport(*earlier, *later);
    rows.text(options.inputs[earlierIndex]);
    rows.text(options.inputs[i]);
    for (const ReportFigure& figure : kReportFigures) {
      rows.number(figure.value(figures));
    }
    writeDateCell(rows, options.dates[earlierIndex]);
    writeDateCell(rows, options.dates[i]);
    rows.endRow();
    if (plotting) {
      SeriesPoint point;
      point.label = baseName(options.inputs[i]);
      for (std::size_t line = 0; line < 5; ++line) {
        point.values[line] = figureNamed(kSeriesLines[line].figure).value(figures);
      }
      points.push_back(point);
    }
    if (!options.base) {
      std::swap(earlier, later);
      earlierIndex = i;
    }
  }
  // The failure's line comes after the progress display is gone.
  progress.erase();
  if (status != kTableSuccess) {
    std::fputs(message.c_str(), err);
    table.finish(false);
    plot.finish(false);
    return status;
  }
  if (plotting) {
    const std::string title = options.base ? "Each graph against " + baseName(options.inputs[0])
                                           : std::string("Each graph against the one before");
    writeSeriesPlot(plot.stream(), title, points);
  }
  if (!finishTable(table, rows, err)) {
    plot.finish(false);
    return kTableInvalid;
  }
  if (plotting && !plot.finish(true)) {
    std::fputs(plot.message().c_str(), err);
    return kTableInvalid;
  }
  return kTableSuccess;
}
