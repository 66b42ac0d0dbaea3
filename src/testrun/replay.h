// Replaying the first break: the test that broke a bridge bond is run again
// from its first step, the same bridge, weight, mode and train second, and
// stops in "Slow" one second of test time before the break, with the beam
// about to go ringed. The simulation is deterministic, so the replay breaks
// the same beam at the same step.
#pragma once

#include "geometry/vector.h"

struct replayinfo {
  int waiting;     // 1 from the restart until the pause is reached
  int beam;        // the beam that broke first in the run replayed
  int breakstep;   // the step it broke at
  int pausestep;   // one second before, or the start for an early break
};

// The speed the player had chosen before a replay switched to "Slow", so
// that the next test started from the editor runs at it again.
struct replayspeedinfo {
  int forced;      // 1 while "Slow" is the replay's choice, not the player's
  int slow, fast, veryfast;
};

extern replayspeedinfo replayspeed;

extern replayinfo replay;

// A bridge bond broke in this run (or the crossing of it being shown).
int canreplay();
// Restart the run the way the replayed crossing began. Does nothing when
// no bond broke.
void startreplay();
// After each step: pause in "Slow" once the replay reaches its step.
void checkreplay();
// While the replay has not yet reached its break: where the beam about to
// go is now, to ring it. Returns 0 otherwise.
int findreplaymark(vector2d *pos);
// A new test from the editor: give back the player's speed when "Slow" is
// still the one a replay chose.
void restorereplayspeed();
// Forget a pending replay: the run was restarted some other way.
void cancelreplay();
