#ifndef CONSOLETOOLS_PROGRESS_BAR_H_
#define CONSOLETOOLS_PROGRESS_BAR_H_

// Redraws, from column 1 of the current line of standard output, a 40-cell bar of done/total
// percent followed by the percentage, and flushes standard output. No newline is written.
//
// It draws only when the percentage moved up by at least half a point since the last drawing,
// reached 100 (within 0.001), or went down; the first call draws for any percentage from -0.5
// upwards. The last drawn percentage is one process-wide value. A not-a-number percentage (0/0)
// never draws, and neither does a positive infinite one (x/0 with x > 0), whose bar would never
// end.
void printPercentage(float done, float total);

#endif  // CONSOLETOOLS_PROGRESS_BAR_H_
