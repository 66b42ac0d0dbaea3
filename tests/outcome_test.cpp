#include <gtest/gtest.h>

#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim_bridge.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "testrun/testrun.h"

TEST(Outcome, FirstBreakFallStopAndTime) {
  // Where the first break was noted is the replay test's (its ring must be
  // on the beam); the verdicts here.
  createlevel();
  // A locomotive set down by hand, its floor centre at (x, floor), its rear
  // floor corner moved to corner3, watched from its placement; with `wiggle`
  // it moves 2 units to and fro every step.
  const struct { float x, floor, corner3; int wiggle, calls, failure; float water = 24; } cars[] = {
      {960, 32, 32, 0, 15 * STEPSPERSECOND + 1, FAILURE_STOPPED},         // standing still for 15 s, not a step less
      {1024, 12.5f, 12.5f, 0, 1, FAILURE_FELL, 0},                          // far under every road, above ground and water
      {960, 25, 25, 0, 1, FAILURE_FELL},                                   // sunk into the ground beside the road
      {1024, 16, 23.5f, 0, 15 * STEPSPERSECOND + 1, FAILURE_FELL},        // at rest in the water, a corner above it
      {1030, 24.5f, 24.5f, 0, 15 * STEPSPERSECOND + 1, FAILURE_STOPPED},  // wheels just above the water
      {960, 32, 32, 1, TESTSECONDS * STEPSPERSECOND, FAILURE_TIME}};      // moving, never across
  for (const auto &c : cars) {
    numofparticles = numofbonds = numofobjects = 0;
    level.waterlevel = c.water;
    vector2d pos = {c.x, c.floor};
    createobject(OBJECT_RIGHTLOCO, &pos, 4.0f);
    object[0].center = {c.x, c.floor + 2.0f};
    particle[object[0].particlelist[3]].pos.y = c.corner3;
    resetoutcome(1);
    game.state = STATE_RIGHTWARD;
    int calls = 0;
    for (int before = STATE_CALLED; outcome.failure == FAILURE_NONE && calls < 9000; before = game.state, calls++) {
      object[0].center.x += c.wiggle ? (calls % 2 ? -2.0f : 2.0f) : 0.0f;
      updateoutcome(before);
    }
    EXPECT_TRUE(calls == c.calls && outcome.failure == c.failure) << c.x << " " << c.floor << ": " << calls;
  }
}
