#include "testrun/outcome.h"

#include <math.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/testrun.h"
#include "world/level.h"

outcomeinfo outcome;

// The margins are wide on purpose: a verdict of failure must never be given
// to a train that would still have got across, only to one that plainly
// cannot. tests/outcome_test.cpp holds them against every reference bridge.
constexpr float STOPDISTANCE = 1.0f;        // a car further than this from its mark has moved
constexpr int STOPSTEPS = 15 * STEPSPERSECOND;
// A locomotive cannot drive under water, and none was seen to leave the
// road by more than a unit on a bridge that held; a wagon is dragged by its
// coupler and may dip far deeper under a sagging deck and still get across.
constexpr float LOCOWATER = 1.0f;           // top this far under water: sunk
constexpr float WAGONWATER = 8.0f;
constexpr float LOCOROAD = 16.0f;           // centre this far under the lowest road
constexpr float WAGONROAD = 40.0f;
constexpr float GROUNDMARGIN = 4.0f;        // centre this far under the ground went through it
constexpr float APPROACH = 64.0f;           // ground beyond each end the train drives on

const char *failurename(int failure) {
  switch (failure) {
  case FAILURE_FELL: return "fell";
  case FAILURE_STOPPED: return "stopped";
  case FAILURE_TIME: return "time";
  }
  return "";
}

static float lowestground(float from, float to) {
  float low = level.terrain[startcolumn(from)];
  for (int i = startcolumn(from) + 1; i <= startcolumn(to); i++)
    low = fminf(low, level.terrain[i]);
  return low;
}

// The ground the train stands on beyond both ends and every deck joint, as
// built: no car riding any of them gets far below the lowest.
static float lowestroad() {
  float low = fminf(lowestground(level.leftend - APPROACH, level.leftend),
                    lowestground(level.rightend, level.rightend + APPROACH));
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *r = &bond[i];
    if (r->type == BOND_SPRING && r->road)
      low = fminf(low, fminf(particle[r->particle1].pos.y, particle[r->particle2].pos.y));
  }
  return low;
}

void resetoutcome(int all) {
  int held = all ? 0 : outcome.held;
  outcome = {};
  outcome.firstbreak = -1;
  outcome.held = held;
  outcome.lowestroad = lowestroad();
}

static int hasfallen(const objectinfo *car) {
  vector2d c = car->center;
  if (!isfinite(c.x) || !isfinite(c.y))
    return 1;
  int loco = car->type != OBJECT_WAGON;
  float top = -INFINITY;
  for (int k = 0; k < car->numofparticles; k++)
    top = fmaxf(top, particle[car->particlelist[k]].pos.y);
  if (top < level.waterlevel - (loco ? LOCOWATER : WAGONWATER))
    return 1;
  if (c.y < outcome.lowestroad - (loco ? LOCOROAD : WAGONROAD))
    return 1;
  return c.y < lowestground(c.x - 8.0f, c.x + 8.0f) - GROUNDMARGIN;
}

static int isinwater() {
  for (int o = 0; o < numofobjects; o++)
    if (object[o].type != OBJECT_WAGON && object[o].center.y < level.waterlevel)
      return 1;
  return 0;
}

// Marks are the car centres when they last moved clear; a fresh train (the
// return trip of a "there and back" level too) starts with fresh marks.
static int hasstopped(int fresh) {
  int n = numofobjects < 8 ? numofobjects : 8;
  int moved = fresh || n != outcome.numofmarks;
  for (int o = 0; o < n && !moved; o++)
    moved = vectordistance2d(&object[o].center, &outcome.mark[o]) > STOPDISTANCE;
  if (moved) {
    outcome.numofmarks = n;
    for (int o = 0; o < n; o++)
      outcome.mark[o] = object[o].center;
    outcome.stillsteps = 0;
    return 0;
  }
  return ++outcome.stillsteps >= STOPSTEPS;
}

static void fail(int failure) {
  outcome.failure = failure;
  outcome.failurestep = game.steps;
}

void updateoutcome(int before) {
  if (bridgebreak.count > 0 && outcome.firstbreak < 0 && bridgebreak.beam >= 0 && bridgebreak.beam < numofbeams) {
    outcome.firstbreak = bridgebreak.beam;
    outcome.firstbreakstep = game.steps;
    outcome.firstbreakside = bridgebreak.side;
    outcome.firstbreakpos = bridgebreak.pos;
  }
  // Each crossing has its time from the step its train is placed: a train
  // called late, or a progressive crossing waiting for its start second,
  // loses none of it to the wait.
  int crossing = game.state == STATE_RIGHTWARD || game.state == STATE_LEFTWARD;
  if (crossing)
    outcome.clock = game.state == before ? outcome.clock + 1 : 1;
  if (outcome.failure != FAILURE_NONE || !crossing)
    return;
  int fell = 0;
  for (int o = 0; o < numofobjects && !fell; o++)
    fell = hasfallen(&object[o]);
  if (fell)
    return fail(FAILURE_FELL);
  // A locomotive whose wheels are under water has no drive left: a train
  // that came to rest there went into the water, it did not merely stall.
  if (hasstopped(game.state != before))
    return fail(isinwater() ? FAILURE_FELL : FAILURE_STOPPED);
  if (outcome.clock >= TESTSECONDS * STEPSPERSECOND)
    fail(FAILURE_TIME);
}
