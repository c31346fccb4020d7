#include "table/report_table.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "engine/report_figures.h"
#include "fileio/path_name.h"
#include "table/report_series.h"
#include "table/row_writer.h"
#include "table/series_figure.h"
#include "table/series_reader.h"
#include "table/table_output.h"

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

}  // namespace

int runReportTable(const TableOptions& options, bool progressShown, FILE* err) {
  // tableMain refused a figure that cannot be drawn before anything was opened.
  std::vector<FigureSeries> series;
  std::string unused;
  chooseFigureSeries(reportFigureSeries(), options.figure, series, unused);
  OutputFile table;
  OutputFile plot;
  const bool plotting = !options.figure.file.empty();
  if (!openTableAndFigure(table, plot, options, err)) {
    return kExitUnwritableOrInvalid;
  }
  RowWriter rows(table.stream(), options.format, reportColumns());
  rows.holdRows();
  rows.header();

  SeriesReader reader(options, progressShown, err);
  std::vector<ComparisonFigures> plotted;
  // The earlier graph of the pair (with --base, the first graph throughout) and the later one.
  auto earlier = std::make_unique<ASGraph>();
  auto later = std::make_unique<ASGraph>();
  std::size_t earlierIndex = 0;
  for (std::size_t i = 0; i < reader.count(); ++i) {
    if (!reader.read(i, i == 0 ? *earlier : *later)) {
      const int status = reader.fail();
      table.finish(false);
      plot.finish(false);
      return status;
    }
    if (i == 0) {
      continue;
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
      plotted.push_back(figures);
    }
    if (!options.base) {
      std::swap(earlier, later);
      earlierIndex = i;
    }
  }
  reader.done();
  if (plotting) {
    std::vector<std::string> labels;
    for (const std::string& input : options.inputs) {
      labels.push_back(baseName(input));
    }
    writeSeriesFigure(plot.stream(),
                      reportSeriesTable(series, plotted, labels, options.dates, options.base),
                      options.figure);
  }
  return finishTableAndFigure(table, rows, plot, options, err) ? kExitSuccess
                                                               : kExitUnwritableOrInvalid;
}
