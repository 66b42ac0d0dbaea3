// Steps per second of physicssimulation: a typical bridge with the train on
// its deck, a structure that fills the tables with the train on it, a
// lattice falling apart, and the train on a deck the width of the level.
// Each benchmark restarts from the same snapshot every `period` steps so
// that it measures the same stretch of the run throughout. Each one also
// checks that its run does what it is named for (the train on the deck,
// beams breaking) and reports an error instead of a figure when not.
#include <benchmark/benchmark.h>

#include <string.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/physics.h"
#include "sim/solver.h"
#include "sim/train.h"
#include "testrun/setup.h"
#include "world/level.h"
#include "bench_bridge.h"

static particleinfo savedparticle[MAXPARTICLES];
static bondinfo savedbond[MAXBONDS];
static objectinfo savedobject[MAXOBJECTS];
static int savedparticles, savedbonds, savedobjects;

static void savesnapshot() {
  savedparticles = numofparticles;
  savedbonds = numofbonds;
  savedobjects = numofobjects;
  memcpy(savedparticle, particle, sizeof(particleinfo) * (size_t)numofparticles);
  memcpy(savedbond, bond, sizeof(bondinfo) * (size_t)numofbonds);
  memcpy(savedobject, object, sizeof(objectinfo) * (size_t)numofobjects);
}

static void loadsnapshot() {
  numofparticles = savedparticles;
  numofbonds = savedbonds;
  numofobjects = savedobjects;
  memcpy(particle, savedparticle, sizeof(particleinfo) * (size_t)numofparticles);
  memcpy(bond, savedbond, sizeof(bondinfo) * (size_t)numofbonds);
  memcpy(object, savedobject, sizeof(objectinfo) * (size_t)numofobjects);
}

// Steps, and what they did, counted over the measured stretch.
struct stepcounts {
  long steps;
  long breaks;         // bridge bonds broken
  long quietsteps;     // steps in which none broke
};

static stepcounts runsteps(benchmark::State &state, int period) {
  savesnapshot();
  stepcounts counts = {0, 0, 0};
  int n = 0;
  for (auto _ : state) {
    int breaks = bridgebreak.count;
    physicssimulation();
    counts.steps++;
    counts.breaks += bridgebreak.count - breaks;
    counts.quietsteps += bridgebreak.count == breaks;
    if (++n == period) {
      state.PauseTiming();
      loadsnapshot();
      n = 0;
      state.ResumeTiming();
    }
  }
  state.counters["steps/s"] = benchmark::Counter((double)counts.steps, benchmark::Counter::kIsRate);
  state.counters["beams"] = (double)numofbeams;
  state.counters["breaks/step"] = (double)counts.breaks / (double)counts.steps;
  return counts;
}

// The train's wheels are on the deck in the snapshot: the car pass makes
// road contacts there.
static void requiretrainondeck(benchmark::State &state) {
  savesnapshot();
  numofstaticbonds = numofbonds;
  objectsimulation();
  int contacts = 0;
  for (int i = numofstaticbonds; i < numofbonds; i++)
    contacts += bond[i].type == BOND_ROAD;
  loadsnapshot();
  if (contacts == 0)
    state.SkipWithError("the train is not on the deck");
}

static void settrain(float x, float y, int settle) {
  setupsimulation();
  vector2d pos = {x, y};
  createtrain(OBJECT_RIGHTLOCO, &pos, TRAINWAGONS, 4.0f);
  for (int i = 0; i < settle; i++)
    physicssimulation();
}

static void BM_TypicalBridgeWithTrain(benchmark::State &state) {
  buildtypicalbridge();
  settrain(1030.0f, 32.0f, 30);
  requiretrainondeck(state);
  runsteps(state, 120);
}
BENCHMARK(BM_TypicalBridgeWithTrain);

static void BM_FullTablesWithTrain(benchmark::State &state) {
  settrain(1000.0f, buildfullgrid(), 30);
  requiretrainondeck(state);
  runsteps(state, 120);
}
BENCHMARK(BM_FullTablesWithTrain);

// The spans fall apart on the ground: from step 229 on, for 60 steps,
// beams break in every step, about 9,000 of them in all.
static void BM_CollapsingLattice(benchmark::State &state) {
  buildcollapsinggrid(100);
  setupsimulation();
  for (int i = 0; i < 228; i++)
    physicssimulation();
  stepcounts counts = runsteps(state, 60);
  if (counts.quietsteps > 0)
    state.SkipWithError("a step without a break");
}
BENCHMARK(BM_CollapsingLattice);

static void BM_TrainOnLongDeck(benchmark::State &state) {
  float top = buildlongdeck();
  settrain(1000.0f, top, 30);
  requiretrainondeck(state);
  runsteps(state, 120);
}
BENCHMARK(BM_TrainOnLongDeck);
