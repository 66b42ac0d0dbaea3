#include "authoring/runrecord.h"

#include <limits.h>
#include <string.h>

#include "sim/bond.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

runrecord runlog;

static void notebonds(int *list) {
  for (int b = 0; b < numofbeams; b++)
    list[b] = 0;
  for (int i = 0; i < numofbonds; i++)
    if (bond[i].type == BOND_SPRING && bond[i].rigid == 0 && bond[i].beam >= 0 && bond[i].beam < numofbeams)
      list[bond[i].beam] = 1;
}

void startcrossing() {
  notebonds(runlog.hadbond);
  runlog.numofbroken = 0;
  // Held to the table: numofbeams is never negative here, but the size
  // must not be able to say otherwise.
  size_t beams = numofbeams > 0 ? (size_t)numofbeams : 0;
  memset(runlog.known, 0, beams < sizeof(runlog.known) ? beams : sizeof(runlog.known));
  for (int b = 0; b < numofbeams; b++) {
    beam[b].stress = 0.0f;
    beam[b].stresstype = 0;
  }
}

// A flag a beam rather than a search of the list: a collapsing lattice
// breaks thousands of beams.
void notebreaks(int step) {
  notebonds(runlog.alive);
  for (int b = 0; b < numofbeams; b++) {
    if (!runlog.hadbond[b] || runlog.alive[b] || runlog.known[b] || runlog.numofbroken >= MAXBEAMS)
      continue;
    runlog.broken[runlog.numofbroken][0] = b;
    runlog.broken[runlog.numofbroken][1] = step;
    runlog.broken[runlog.numofbroken][2] = beam[b].stresstype;
    runlog.numofbroken++;
    runlog.known[b] = 1;
  }
}

static void notestate(int step, int state) {
  if (runlog.numofchanges > 0 && runlog.change[runlog.numofchanges - 1][1] == state)
    return;
  if (runlog.numofchanges < MAXCHANGES) {
    runlog.change[runlog.numofchanges][0] = step;
    runlog.change[runlog.numofchanges][1] = state;
    runlog.numofchanges++;
  }
}

static const runsettings *settings;
static void (*dumper)(int step);

static void dumpstep(int step) {
  if (!dumper)
    return;
  for (int d = 0; d < settings->numofdumps; d++)
    if (settings->dumpstep[d] == step) {
      dumper(step);
      return;
    }
}

static int runtoverdict() {
  const int limit = settings->seconds * STEPSPERSECOND;
  int step = 0, crossingstart = 0;
  for (;;) {
    int before = game.state;
    int weight = game.testweight;
    simulationstep();
    step++;
    if (trainrefused) {
      runlog.refused = 1;
      notestate(step, game.state);
      break;
    }
    if (game.state == STATE_PROGRESSIVE && before != STATE_PROGRESSIVE) {
      // The crossing got across and the bridge was rebuilt for a heavier train.
      if (runlog.passedstep < 0)
        runlog.passedstep = step;
      runlog.maxweight = weight;
      notestate(step, STATE_PASSED);
      notestate(step, game.state);
      crossingstart = step;
      startcrossing();
      dumpstep(step);
      if (game.testweight > INT_MAX - game.add)
        break;
      continue;
    }
    notestate(step, game.state);
    notebreaks(step);
    dumpstep(step);
    if (game.state == STATE_PASSED) {
      runlog.passedstep = step;
      break;
    }
    // Once the verdict is certain nothing more can be learnt from the run.
    if (outcome.failure != FAILURE_NONE) {
      runlog.failure = outcome.failure;
      break;
    }
    if (step - crossingstart >= limit) {
      runlog.failure = FAILURE_TIME;
      break;
    }
  }
  return step;
}

// Steps asked for after the verdict: the run goes on for them alone, and
// what the verdict saw is put back after.
static void runondumps(int step) {
  int last = 0;
  for (int d = 0; d < settings->numofdumps; d++)
    if (settings->dumpstep[d] > last)
      last = settings->dumpstep[d];
  if (!dumper || step >= last)
    return;
  static float stress[MAXBEAMS];
  static int stresstype[MAXBEAMS];
  int count = numofbeams, weight = game.weight, testweight = game.testweight;
  for (int b = 0; b < count; b++) {
    stress[b] = beam[b].stress;
    stresstype[b] = beam[b].stresstype;
  }
  while (step < last) {
    simulationstep();
    dumpstep(++step);
  }
  for (int b = 0; b < count; b++) {
    beam[b].stress = stress[b];
    beam[b].stresstype = stresstype[b];
  }
  game.weight = weight;
  game.testweight = testweight;
}

int recordrun(const runsettings *s, void (*dump)(int step)) {
  settings = s;
  dumper = dump;
  levelnum = -1;
  game.mode = s->progressive ? 1 : 0;
  game.weight = s->weight ? s->weight : level.weight;
  if (game.weight < 1)
    game.weight = 1;
  game.add = s->add;
  game.pause = game.slow = game.fast = game.veryfast = 0;
  starttestrun(0);
  game.autorun = 1;
  runlog.numofchanges = 0;
  runlog.refused = 0;
  runlog.passedstep = -1;
  runlog.maxweight = -1;
  runlog.failure = FAILURE_NONE;
  startcrossing();
  notestate(0, game.state);
  runlog.steps = runtoverdict();
  runondumps(runlog.steps);
  return s->progressive ? runlog.maxweight > 0 : runlog.passedstep >= 0;
}

int findpeakbeam() {
  int best = -1;
  for (int b = 0; b < numofbeams; b++)
    if (runlog.hadbond[b] && (best < 0 || beam[b].stress > beam[best].stress))
      best = b;
  return best;
}
