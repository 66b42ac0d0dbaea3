#include "testrun/runrecord.h"

#include "testrun/game.h"
#include "world/level.h"
#include "world/levellist.h"
#include "world/records.h"

runrecordinfo runrecord = {0, 0, -1, -1, 0};

static void notepass() {
  runrecord.noted = 1;
  runrecord.cost = numofbeams * (int)BEAMCOST;
  int i = findrecord(game.name);
  runrecord.best = i >= 0 ? record[i].cost : -1;
  // A bridge over budget passed, but is no answer to the level.
  if (runrecord.cost <= level.budget)
    runrecord.beaten |= setrecord(game.name, runrecord.cost, 0);
  if (runrecord.beaten & RECORD_COST)
    saverecords();
}

// A progressive crossing ends inside one step (passed, weight added,
// rebuilt), so it shows up here as the state going from a crossing to
// waiting, with the weight that crossed remembered from the frame before.
static void notecrossing() {
  if (game.state >= STATE_RIGHTWARD && game.state <= STATE_LEFTWARD) {
    runrecord.crossing = game.testweight;
  } else if (game.state == STATE_PROGRESSIVE && runrecord.crossing > 0) {
    if (setrecord(game.name, -1, runrecord.crossing) & RECORD_WEIGHT) {
      runrecord.beaten |= RECORD_WEIGHT;
      saverecords();
    }
    runrecord.crossing = 0;
  }
}

void checkrunrecord() {
  if (game.state == STATE_BRIDGE) {
    runrecord = {0, 0, -1, -1, 0};
    return;
  }
  if (levelnum < 0)
    return;
  if (game.mode == 0 && game.state == STATE_PASSED && !runrecord.noted)
    notepass();
  if (game.mode == 1)
    notecrossing();
}
