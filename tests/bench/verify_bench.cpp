// Candidates a second of the cheapest-bridge search: one candidate test is
// the bridge put back from its snapshot and a normal test run to its
// verdict. The sound pier truss runs until the train is across; the bare
// deck fails, which the verdict should see long before the test time ends.
#include <benchmark/benchmark.h>

#include "authoring/verifyrun.h"
#include "world/level.h"
#include "../sim_bridge.h"

static bridgetables candidate;

static void runcandidates(benchmark::State &state) {
  savebridgetables(&candidate);
  int passed = 0;
  long steps = 0;
  for (auto _ : state) {
    loadbridgetables(&candidate);
    verdictinfo v = runverdict(120, 2.0f);
    passed = v.passed;
    steps += v.steps;
  }
  state.counters["candidates/s"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
  state.counters["steps"] = (double)steps / (double)state.iterations();
  state.counters["passed"] = passed;
}

static void BM_CandidatePasses(benchmark::State &state) {
  buildpiertruss();
  runcandidates(state);
}
BENCHMARK(BM_CandidatePasses)->Unit(benchmark::kMillisecond);

static void BM_CandidateFails(benchmark::State &state) {
  buildtruss(1);
  runcandidates(state);
}
BENCHMARK(BM_CandidateFails)->Unit(benchmark::kMillisecond);
