#include "testrun/runrecord.h"

#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/replay.h"
#include "world/level.h"
#include "world/levellist.h"
#include "world/records.h"

runrecordinfo runrecord = {0, 0, -1, -1, 0, 0, 0};

// Enters a result and saves the records when it beat one. A record that
// could not be saved is no record: the table goes back to what the file
// holds and nothing counts as beaten, so no "New best" is claimed that the
// next start would not show (the notice line names the file instead).
static int keeprecord(int cost, int weight) {
  int i = findrecord(game.name), count = numofrecords;
  recordinfo before = i >= 0 ? record[i] : recordinfo{};
  int beaten = setrecord(game.name, cost, weight);
  if (beaten == 0)
    return 0;
  if (saverecords()) {
    // The save merged in what another copy of the game wrote meanwhile: a
    // better result there is the best, and this one no new best.
    int j = findrecord(game.name);
    if (j < 0 || record[j].cost != cost)
      beaten &= ~RECORD_COST;
    if (j < 0 || record[j].weight != weight)
      beaten &= ~RECORD_WEIGHT;
    return beaten;
  }
  if (i >= 0)
    record[i] = before;
  numofrecords = count;
  return 0;
}

static void notepass() {
  runrecord.noted = 1;
  runrecord.cost = numofbeams * (int)BEAMCOST;
  int i = findrecord(game.name);
  runrecord.best = i >= 0 ? record[i].cost : -1;
  // A bridge over budget passed, but is no answer to the level.
  if (runrecord.cost <= level.budget)
    runrecord.beaten |= keeprecord(runrecord.cost, 0) & RECORD_COST;
}

// A progressive crossing ends inside one step (passed, weight added,
// rebuilt), so it shows up here as the state going from a crossing to
// waiting, with the weight that crossed remembered from the frame before.
static void notecrossing() {
  if (game.state >= STATE_RIGHTWARD && game.state <= STATE_LEFTWARD) {
    runrecord.crossing = game.testweight;
  } else if (game.state == STATE_PROGRESSIVE && runrecord.crossing > 0) {
    runrecord.beaten |= keeprecord(-1, runrecord.crossing) & RECORD_WEIGHT;
    runrecord.crossing = 0;
  }
}

// A failure stays until the bridge is rebuilt for the next run, so a run
// without one is a fresh run; a replay is known by its pending break from
// the moment it starts (its pause may come at once) until that beam goes,
// which is before the failure it leads to; after that, the break it
// showed marks it until a restart forgets the run's outcome.
static void notefailure() {
  if (outcome.failure == FAILURE_NONE) {
    runrecord.failed = 0;
    runrecord.replayed = replay.waiting || replay.beam >= 0 || (runrecord.replayed && outcome.firstbreak >= 0);
    return;
  }
  if (runrecord.failed || levelnum < 0 || game.mode != 0)
    return;
  runrecord.failed = 1;
  if (!runrecord.replayed && setfailedtests(game.name, getfailedtests(game.name) + 1))
    saverecords();  // unsaved, the count still opens the hint until the game ends
}

void checkrunrecord() {
  notefailure();
  if (game.state == STATE_BRIDGE) {
    runrecord = {0, 0, -1, -1, 0, runrecord.failed, runrecord.replayed};
    return;
  }
  if (levelnum < 0)
    return;
  if (game.mode == 0 && game.state == STATE_PASSED && !runrecord.noted)
    notepass();
  if (game.mode == 1)
    notecrossing();
}
