// The cheapest-bridge search.
//
// A local search from a passing bridge: every candidate is one editor edit
// of the bridge accepted so far, tested in full with the level's normal
// test. Removals lower the cost; a move of a free joint by one grid step
// keeps it and is taken only when it lowers the bridge's peak stress, which
// is what lets a later removal pass. Candidates of a round are tested by
// the worker pool and taken by a fixed rule on the results in candidate
// order, so the result depends only on the input bridge.
#pragma once

#include "authoring/verifyrun.h"

enum : int {
  CHEAPEST_FINISHED = 0,      // nothing cheaper left to find
  CHEAPEST_STOPPED = 1,       // by the wall-time cap: another run may end elsewhere
  CHEAPEST_STARTFAILS = 2,    // the bridge given does not pass (intact unless breaks are allowed)
  CHEAPEST_STARTUNPROVED = 3, // it passes but does not hold the proof
};

struct cheapestsearch {
  int outcome;         // CHEAPEST_*
  int startcost;
  verdictinfo start;   // the bridge given, at its own train second
  long numoftests;     // train tests run, proofs included
  double seconds;      // wall time taken
  int accepted;        // edits accepted one after another
  int kept;            // of them the last that holds the proof (accepted when breaks are allowed)
};

// From the bridge in the live tables, within `seconds` of wall time on
// `workers` processes; counts only passes with nothing broken and keeps
// only a result that holds the proof, unless `allowbreaks`. The result is
// left in the live tables (the bridge given when it does not pass). Returns
// 0 when a worker failed.
int findcheapestbridge(double seconds, int allowbreaks, int workers, cheapestsearch *out);

double nowseconds();  // monotonic
