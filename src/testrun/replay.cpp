#include "testrun/replay.h"

#include "sim/bond.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/setup.h"
#include "testrun/testrun.h"
#include "world/level.h"

replayinfo replay;
replayspeedinfo replayspeed;

int canreplay() { return outcome.firstbreak >= 0; }

// How the crossing began decides how it is started again. A normal test
// whose train was never called breaks under its own weight alone and is
// rerun without one; otherwise the train comes by itself at the second it
// was placed at, which level.traintime still holds. A progressive crossing
// starts as the test's own rebuild does, at its own weight, so a break at
// 85000 is replayed at 85000, not from the first crossing.
void startreplay() {
  if (!canreplay())
    return;
  replayinfo saved = {1, outcome.firstbreak, outcome.firstbreakstep, 0};
  saved.pausestep = saved.breakstep > STEPSPERSECOND ? saved.breakstep - STEPSPERSECOND : 0;
  int called = game.state != STATE_BRIDGE || game.autorun;
  if (game.mode == 1 && called) {
    int weight = game.testweight;
    setupsimulation();
    resetoutcome(0);
    trainrefused = 0;
    game.testweight = weight;
    game.state = STATE_PROGRESSIVE;
  } else {
    restarttestrun(called);
  }
  replay = saved;
  game.pause = 0;
  checkreplay();
}

void checkreplay() {
  // Once the beam has gone the run's own first-break mark takes over.
  if (outcome.firstbreak >= 0 || game.steps > replay.breakstep)
    replay.beam = -1;
  if (!replay.waiting || game.steps < replay.pausestep)
    return;
  replay.waiting = 0;
  game.pause = 1;
  if (!replayspeed.forced)
    replayspeed = {1, game.slow, game.fast, game.veryfast};
  game.slow = 1;
  game.fast = game.veryfast = 0;
}

int findreplaymark(vector2d *pos) {
  if (replay.beam < 0)
    return 0;
  for (int i = 0; i < numofbonds; i++) {
    const bondinfo *r = &bond[i];
    if (r->type == BOND_SPRING && r->rigid == 0 && r->beam == replay.beam && r->timetolive > 0) {
      pos->x = (particle[r->particle1].pos.x + particle[r->particle2].pos.x) * 0.5f;
      pos->y = (particle[r->particle1].pos.y + particle[r->particle2].pos.y) * 0.5f;
      return 1;
    }
  }
  return 0;
}

// Once the player has picked a speed after the replay's, that choice is
// theirs and stays.
void restorereplayspeed() {
  if (replayspeed.forced && game.slow && !game.fast && !game.veryfast) {
    game.slow = replayspeed.slow;
    game.fast = replayspeed.fast;
    game.veryfast = replayspeed.veryfast;
  }
  replayspeed.forced = 0;
}

void cancelreplay() {
  replay.waiting = 0;
  replay.beam = -1;
}
