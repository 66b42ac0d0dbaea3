// The verdict of a test run, kept up to date by simulationstep() so that the
// test-run screen, the editor's first-break mark and spanwright-verify all
// see the same thing: why a crossing failed, which beam broke first, and in
// a progressive test the heaviest train that got across.
#pragma once

#include "geometry/vector.h"

enum : int { FAILURE_NONE = 0, FAILURE_FELL = 1, FAILURE_STOPPED = 2, FAILURE_TIME = 3 };
constexpr int TESTSECONDS = 120;  // test time after which a crossing that is not across has failed

struct outcomeinfo {
  int failure;            // FAILURE_*; once set it stays until the next rebuild of the bridge
  int failurestep;        // game.steps when it was set
  int firstbreak;         // beam index of the first beam to break in this run, -1 none
  int firstbreakstep;
  int firstbreakside;     // 0 stretched, 1 compressed
  vector2d firstbreakpos; // where the beam was when it broke
  int held;               // progressive: heaviest test weight that got across, 0 none yet
  int clock;              // steps of test time counted towards TESTSECONDS
  int stillsteps;         // steps since a car last moved clear of its mark
  float lowestroad;       // below this by a margin a car has left every road
  int numofmarks;         // cars the marks below were taken from
  vector2d mark[8];       // car centres when they last moved clear
};

extern outcomeinfo outcome;

const char *failurename(int failure);  // "fell", "stopped", "time", "" for none
// A fresh bridge: forget the crossing's verdict and first break. `all` also
// forgets what a progressive test has held so far.
void resetoutcome(int all);
// Called by simulationstep() after the physics, with the train state the
// step began in.
void updateoutcome(int before);
