// The log of one verification run of the live tables (recordrun): every
// change of the run's state, every beam that broke (when and on which
// side), the peak stresses and the verdict, step numbers counted from the
// first step.
#pragma once

#include "world/level.h"

constexpr int MAXCHANGES = 4096;

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

// A fresh bridge: forget the previous crossing's breaks and peaks.
void startcrossing();
// Beams whose bond is gone since startcrossing go on the broken list once.
void notebreaks(int step);
// A change of the run's state at `step`, unless it is the state already noted.
void notestate(int step, int state);
// The beam with the highest peak stress of those that were bonds; -1 none.
int findpeakbeam();
