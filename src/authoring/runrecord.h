// The record of one verification run of the live tables, as the test-run
// screen would run it with Autorun on: every change of the run's state,
// every beam that broke (when and on which side), the peak stresses and
// the verdict, step numbers counted from the first step.
#pragma once

#include "world/level.h"

constexpr int MAXDUMPS = 64;
constexpr int MAXCHANGES = 4096;

struct runsettings {
  int progressive;           // heavier crossings one after another until one fails
  int weight;                // 0: the level's
  int add;                   // progressive: weight added a crossing
  int seconds;               // test time a crossing
  int numofdumps;
  int dumpstep[MAXDUMPS];    // steps whose particle positions are wanted
};

struct runrecord {
  int steps;                    // up to the verdict
  int passedstep;               // -1: never
  int numofchanges;
  int change[MAXCHANGES][2];    // step, new state
  int numofbroken;
  int broken[MAXBEAMS][3];      // beam, step, side
  int hadbond[MAXBEAMS];        // the beam became a bond in the last rebuild
  int alive[MAXBEAMS];          // scratch: the beam's bond exists now
  unsigned char known[MAXBEAMS];  // the beam is in `broken`; these two change together
  int maxweight;                // progressive: -1 when no crossing got across
  int refused;                  // the train did not fit the tables
  int failure;                  // FAILURE_* of the last crossing
};

extern runrecord runlog;

// Runs the live tables to their verdict. dump(step), when given, is called
// at every step asked for, also after the verdict: the run goes on to the
// last step asked for, while the record, the stresses and the weights stay
// those of the verdict. Returns 1 when the train got across (normal) or at
// least one crossing got across (progressive).
int recordrun(const runsettings *settings, void (*dump)(int step));

// A fresh bridge: forget the previous crossing's breaks and peaks.
void startcrossing();
// Beams whose bond is gone since startcrossing go on the broken list once.
void notebreaks(int step);
// The beam with the highest peak stress of those that were bonds; -1 none.
int findpeakbeam();
