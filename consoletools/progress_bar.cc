#include "consoletools/progress_bar.h"

#include <cmath>
#include <cstdio>

#include "consoletools/cursor.h"

namespace {

constexpr int kBarCells = 40;
constexpr double kPointsPerCell = 2.5;

}  // namespace

void printPercentage(float done, float total) {
  static float oldPerc = -1.0f;

  const float percentage = done / total * 100;
  const bool advanced = percentage - oldPerc >= 0.5;
  const bool completed = 100 - percentage < 0.001;
  const bool wentDown = percentage - oldPerc < 0;
  if (!(advanced || completed || wentDown)) {
    return;
  }
  if (std::isinf(percentage) && percentage > 0) {
    return;
  }

  goToCol(1);
  putchar('[');
  // Above 100 percent the stars run past the 40 cells and no blank follows.
  long long cell = 1;
  for (; percentage / kPointsPerCell >= cell; ++cell) {
    putchar('*');
  }
  for (; cell <= kBarCells; ++cell) {
    putchar(' ');
  }
  printf("]  (%3.1f %%)", percentage);
  fflush(stdout);
  oldPerc = percentage;
}
