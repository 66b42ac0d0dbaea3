// The player's records as the test-run screen keeps them: a normal pass of
// a level from the level list enters the bridge's cost, a progressive
// crossing the train's weight, and a beaten record rewrites the pack's
// records file at once. Watched once a frame from the train state, so the
// simulation step itself knows nothing of it.
#pragma once

struct runrecordinfo {
  int crossing; // weight of the progressive train on the bridge; 0 none
  int noted;    // this normal pass has been entered
  int cost;     // cost of the bridge that passed; -1 before a pass
  int best;     // best cost before this pass; -1 none
  int beaten;   // RECORD_* bits beaten in this run
  int failed;   // this run's failure has been counted (or was a replay's)
  int replayed; // this run replays an earlier one: its failure is not a new test
};

extern runrecordinfo runrecord;

// A normal test of a level from the list that fails adds one to the level's
// count of failed tests, which opens its hint in steps; a replay shows a
// failure already counted, so it adds nothing.
// After the frame's simulation steps. A run back at STATE_BRIDGE (entry,
// restart) starts afresh.
void checkrunrecord();
