// The test-run record. It also carries the name of the level or bridge being
// worked on from the start and load screens into the editor.
#pragma once

struct gameinfo {
  int mode;        // 0 normal test, 1 progressive
  int state;       // train state, see below
  int stressview;  // draw bonds by stress; shared with the editor's toggle
  int maxstress;   // colour by peak stress instead of current
  int steps;       // simulation steps since the last setupsimulation
  int steptime;    // ms of real time per step: 64, 16, 4 or 1
  int veryfast;
  int fast;
  int slow;
  int pause;
  char name[32];   // level or bridge file name, no extension
  int weight;      // "Weight" box; never below 1 on the test-run screen
  int testweight;  // weight of the current crossing's train
  int add;         // progressive increment
  int autorun;     // start the train by itself at level.traintime
};

// Train states.
enum : int {
  STATE_BRIDGE = 0,      // no train called yet
  STATE_CALLED = 1,      // placed at the next whole second
  STATE_RIGHTWARD = 2,   // crossing left to right
  STATE_CROSSED = 3,     // first crossing done or skipped
  STATE_LEFTWARD = 4,    // crossing right to left
  STATE_PASSED = 5,
  STATE_PROGRESSIVE = 6, // rebuilt, waiting for the start second
  STATE_NEXTLEVEL = 8,
};

extern gameinfo game;
