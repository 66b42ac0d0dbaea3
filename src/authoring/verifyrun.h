// Headless train tests for level authors: a bridge kept aside while others
// are tried, a bridge put on another level's crossing, one normal test run
// to its verdict, and a pool of forked workers that runs many such tests on
// both cores. The simulation lives in process-wide tables, so parallel work
// is done by processes, never threads.
#pragma once

#include "authoring/runlog.h"
#include "world/level.h"

struct verdictinfo {
  int passed;      // the train got across as the level asks
  int failure;     // why not: FAILURE_* of the test-run verdict
  int steps;       // steps simulated
  int passedstep;  // -1: never
  int refused;     // no room for the train in the simulation tables
  float peakstress;  // highest peak stress ratio of any beam, 1 = broke
  int broken;      // bridge bonds broken before the verdict: 0 passed intact
  int firstbreak;  // beam of the first of them, -1 none
  int breakside;   // 0 stretched, 1 compressed
};

// A verdict before any test: nothing passed, broken or simulated, with the
// reason given. Fields by name, so that a new one cannot shift the others.
inline verdictinfo makeverdict(int failure) {
  verdictinfo v;
  v.passed = 0;
  v.failure = failure;
  v.steps = 0;
  v.passedstep = -1;
  v.refused = 0;
  v.peakstress = 0.0f;
  v.broken = 0;
  v.firstbreak = -1;
  v.breakside = 0;
  return v;
}

// Passed with no bridge bond broken: what a bridge must do to prove a level.
inline int passedintact(const verdictinfo &v) { return v.passed && v.broken == 0; }

// The bridge's joints and beams, moved by `shift`, on the crossing of
// `onto`: its terrain, water, deck, ends, budget, train and manual-deck
// setting, and the deck beams chosen as the editor would there. The bridge
// keeps its own train start second. Returns 0, with the live tables
// unchanged, when it could not be built there: a moved anchor that is not an
// anchor of `onto`, or a moved free joint the editor would not place.
int transplantbridge(const bridgetables *bridge, const bridgetables *onto, vector2d shift = {0.0f, 0.0f});
// Every shift that carries each anchor of the bridge onto an anchor of
// `onto`, no shift first when it is one: a player can build the same truss
// wherever that holds, so two levels are only different puzzles if it fails
// on all of them. Returns how many were stored, at most `max`.
int findbridgeshifts(const bridgetables *bridge, const bridgetables *onto, vector2d *shifts, int max);

// One normal test of the live tables with the train started by itself, run
// until its verdict is certain: across, or the test-run verdict's failure,
// or FAILURE_TIME once `seconds` of test time have passed. The level
// record's train start second is updated as the test-run screen does.
// Also stops, neither passed nor failed, once a beam's peak stress reaches
// `stopabove` (above 1: never), for a caller that only wants a bridge with
// less stress than one it has.
verdictinfo runverdict(int seconds, float stopabove);

constexpr int MAXDUMPS = 64;

struct runsettings {
  int progressive;           // heavier crossings one after another until one fails
  int weight;                // 0: the level's
  int add;                   // progressive: weight added a crossing
  int seconds;               // test time a crossing
  int numofdumps;
  int dumpstep[MAXDUMPS];    // steps whose particle positions are wanted
};

// One run of the live tables as the test-run screen would run it with
// Autorun on, logged into runlog. dump(step), when given, is called
// at every step asked for, also after the verdict: the run goes on to the
// last step asked for, while the record, the stresses and the weights stay
// those of the verdict. Returns 1 when the train got across (normal) or at
// least one crossing got across (progressive).
int recordrun(const runsettings *settings, void (*dump)(int step));

// Runs job(0) .. job(count-1) on `workers` forked processes (1: in this
// process) and stores each job's result by its index, so the results do
// not depend on which worker ran a job or when. A worker starts from the
// process as it was at the call and runs its jobs one after another, so a
// job sets up the tables it tests itself. Returns 1, or 0 when no worker
// could be started or one died (the results are then incomplete).
int runjobs(verdictinfo (*job)(int index), int count, int workers, verdictinfo *results);
