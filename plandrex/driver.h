#ifndef PLANDREX_DRIVER_H_
#define PLANDREX_DRIVER_H_

class ASGraph;
struct cmdLineParameters;

// Runs the mode that params selects, from the overwrite question to the report, the node list or
// the written graph, and returns the exit status: 0 success, 2 the overwrite was declined or an
// input cannot be opened, 3 the output cannot be opened or written, or an input is not a graph.
// Every failure is reported on standard error before the banner rule of printHeader.
// An -o target keeps its bytes unless the run succeeds and its output was written in full.
//
// The three graphs are the run's graph objects, created empty by the caller: in the two-input
// modes the first and second input and the overlap or complementary graph; with --multi the
// multi-differential graph and each input in turn (output is then unused). Banner and status
// messages go to standard output only when stdinIsTerm and stdoutIsTerm both hold.
int runDriver(cmdLineParameters& params, ASGraph& first, ASGraph& second, ASGraph& output,
              bool stdinIsTerm, bool stdoutIsTerm);

#endif  // PLANDREX_DRIVER_H_
