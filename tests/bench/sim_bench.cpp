// Steps per second of physicssimulation: a typical bridge with the train on
// its deck, and a structure that fills the tables with the train on it.
// Each benchmark restarts from the same snapshot every 120 steps so that
// the train stays on the bridge for the whole measurement.
#include <benchmark/benchmark.h>

#include <string.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/train.h"
#include "testrun/setup.h"
#include "world/level.h"
#include "../sim_bridge.h"

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

static int addjoint(int type, float x, float y) {
  joint[numofjoints] = {type, {x, y}};
  return numofjoints++;
}

static void addbeam(int type, int a, int b) { beam[numofbeams++] = {type, a, b, 0, 0, 0.0f}; }

// About 100 beams over the default crossing: a two-storey truss every 4
// units on three piers.
static void buildtypicalbridge() {
  createlevel();
  beamtype[0] = beamtype[1] = 17.9f;
  numofjoints = numofbeams = 0;
  int deck[17], top[16], upper[16];
  for (int i = 0; i <= 16; i++)
    deck[i] = addjoint(i == 0 || i == 16 ? 0 : 1, 992.0f + 4.0f * (float)i, 32.0f);
  for (int i = 0; i < 16; i++)
    top[i] = addjoint(1, 994.0f + 4.0f * (float)i, 40.0f);
  for (int i = 0; i < 16; i++)
    upper[i] = addjoint(1, 994.0f + 4.0f * (float)i, 48.0f);
  for (int i = 0; i < 16; i++)
    addbeam(1, deck[i], deck[i + 1]);
  for (int i = 0; i < 15; i++) {
    addbeam(0, top[i], top[i + 1]);
    addbeam(0, upper[i], upper[i + 1]);
  }
  for (int i = 0; i < 16; i++) {
    addbeam(0, deck[i], top[i]);
    addbeam(0, top[i], deck[i + 1]);
    addbeam(0, top[i], upper[i]);
  }
  for (int k = 4; k <= 12; k += 4) {
    int a = addjoint(0, 992.0f + 4.0f * (float)k, 16.0f);
    addbeam(0, a, deck[k]);
    addbeam(0, a, deck[k - 1]);
    addbeam(0, a, deck[k + 1]);
  }
}

static void runsteps(benchmark::State &state) {
  savesnapshot();
  int n = 0;
  for (auto _ : state) {
    physicssimulation();
    if (++n == 120) {
      state.PauseTiming();
      loadsnapshot();
      n = 0;
      state.ResumeTiming();
    }
  }
  state.counters["steps/s"] = benchmark::Counter((double)state.iterations(), benchmark::Counter::kIsRate);
  state.counters["beams"] = (double)numofbeams;
}

static void BM_TypicalBridgeWithTrain(benchmark::State &state) {
  buildtypicalbridge();
  setupsimulation();
  vector2d pos = {1030.0f, 32.0f};
  createtrain(OBJECT_RIGHTLOCO, &pos, TRAINWAGONS, 4.0f);
  for (int i = 0; i < 30; i++)
    physicssimulation();
  runsteps(state);
}
BENCHMARK(BM_TypicalBridgeWithTrain);

static void BM_FullTablesWithTrain(benchmark::State &state) {
  float top = buildfullgrid();
  setupsimulation();
  vector2d pos = {1000.0f, top};
  createtrain(OBJECT_RIGHTLOCO, &pos, TRAINWAGONS, 4.0f);
  for (int i = 0; i < 30; i++)
    physicssimulation();
  runsteps(state);
}
BENCHMARK(BM_FullTablesWithTrain);
