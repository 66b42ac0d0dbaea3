// The bookkeeping of a verification run once a lattice of about 16,000
// beams has collapsed: every step looks for beams whose bond is gone and
// notes each new one once. Measured alone, as the steps of such a run do it
// after the simulation.
#include <benchmark/benchmark.h>

#include "authoring/runlog.h"
#include "sim/bond.h"
#include "testrun/setup.h"
#include "../sim_bridge.h"

static void BM_NoteBreaksCollapsed(benchmark::State &state) {
  buildfullgrid();
  setupsimulation();
  startcrossing();
  numofbonds = 0;  // every bridge bond gone
  int step = 0;
  for (auto _ : state)
    notebreaks(++step);
  state.counters["broken"] = runlog.numofbroken;
}
BENCHMARK(BM_NoteBreaksCollapsed)->Unit(benchmark::kMicrosecond);
