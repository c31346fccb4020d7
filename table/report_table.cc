#include "table/report_table.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "asgraph/as_graph.h"
#include "cli/exit_status.h"
#include "cli/graph_input.h"
#include "engine/report_figures.h"
#include "fileio/path_name.h"
#include "table/row_writer.h"
#include "table/series_plot.h"
#include "table/table_output.h"
#include "text/escaped_text.h"

namespace {

std::vector<std::string> reportColumns() {
  std::vector<std::string> names = {"first", "second"};
  for (const ReportFigure& figure : kReportFigures) {
    names.emplace_back(figure.name);
  }
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

// The one-line progress display on standard error: rewritten in place, erased at the end.
class Progress {
 public:
  Progress(bool shown, FILE* err, std::size_t total) : shown(shown), err(err), total(total) {}
  ~Progress() { erase(); }
  void show(std::size_t index, const std::string& name) {
    if (shown) {
      std::fprintf(err, "\r\033[K%zu/%zu %s", index + 1, total,
                   escaped(baseName(name).c_str()).c_str());
      std::fflush(err);
      drawn = true;
    }
  }
  void erase() {
    if (drawn) {
      std::fputs("\r\033[K", err);
      std::fflush(err);
      drawn = false;
    }
  }

 private:
  bool shown;
  FILE* err;
  std::size_t total;
  bool drawn = false;
};

}  // namespace

int runReportTable(const TableOptions& options, bool progressShown, FILE* err) {
  OutputFile table;
  OutputFile plot;
  const bool plotting = !options.plotFile.empty();
  if (!openTableOutput(table, options.outputFile, options.inputs, err) ||
      (plotting &&
       !openTableOutput(plot, options.plotFile, options.inputs, err, {options.outputFile}))) {
    table.finish(false);
    return kExitUnwritableOrInvalid;
  }
  RowWriter rows(table.stream(), options.format, reportColumns());
  rows.holdRows();
  rows.header();

  Progress progress(progressShown, err, options.inputs.size());
  std::vector<SeriesPoint> points;
  // The earlier graph of the pair (with --base, the first graph throughout) and the later one.
  auto earlier = std::make_unique<ASGraph>();
  auto later = std::make_unique<ASGraph>();
  std::size_t earlierIndex = 0;
  int status = kExitSuccess;
  std::string message;
  progress.show(0, options.inputs[0]);
  status = readGraphInput(options.inputs[0], *earlier, message);
  for (std::size_t i = 1; status == kExitSuccess && i < options.inputs.size(); ++i) {
    progress.show(i, options.inputs[i]);
    *later = ASGraph();
    status = readGraphInput(options.inputs[i], *later, message);
    if (status != kExitSuccess) {
      break;
    }
    const ComparisonFigures figures = compareForReport(*earlier, *later);
    rows.text(options.inputs[earlierIndex]);
    rows.text(options.inputs[i]);
    for (const ReportFigure& figure : kReportFigures) {
      rows.number(figure.value(figures));
    }
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
  if (status != kExitSuccess) {
    std::fputs(message.c_str(), err);
    table.finish(false);
    plot.finish(false);
    return status;
  }
  if (plotting) {
    const std::string title = options.base ? "Each graph against " + baseName(options.inputs[0])
                                           : std::string("Each graph against the one before");
    errno = 0;
    writeSeriesPlot(plot.stream(), title, points);
    // The failed write's own errno, before finishing the table can change it.
    if (std::ferror(plot.stream())) {
      plot.writeFailed();
    }
  }
  return finishTable(table, rows, err, &plot) ? kExitSuccess : kExitUnwritableOrInvalid;
}
