// The benchmarks' own bridges beside the tests' (sim_bridge.h): a typical
// truss and a deck the width of the level, measured and hashed only.
#pragma once

#include "../sim_bridge.h"

// About 100 beams over the default crossing: a two-storey truss every 4
// units on three piers.
inline void buildtypicalbridge() {
  createlevel();
  beamtype[0] = beamtype[1] = 17.9f;
  numofjoints = numofbeams = 0;
  auto addjoint = [](int type, float x, float y) { joint[numofjoints] = {type, {x, y}}; return numofjoints++; };
  auto addbeam = [](int type, int a, int b) { beam[numofbeams++] = {type, a, b, 0, 0, 0.0f}; };
  int deck[17], top[16], upper[16];
  for (int i = 0; i <= 16; i++)
    deck[i] = addjoint(i == 0 || i == 16 ? 0 : 1, 992.0f + 4.0f * (float)i, 32.0f);
  for (int i = 0; i < 16; i++)
    top[i] = addjoint(1, 994.0f + 4.0f * (float)i, 40.0f);
  for (int i = 0; i < 16; i++)
    upper[i] = addjoint(1, 994.0f + 4.0f * (float)i, 48.0f);
  for (int i = 0; i < 16; i++)
    addbeam(1, deck[i], deck[i + 1]);
  for (int i = 0; i < 15; i++) {
    addbeam(0, top[i], top[i + 1]);
    addbeam(0, upper[i], upper[i + 1]);
  }
  for (int i = 0; i < 16; i++) {
    addbeam(0, deck[i], top[i]);
    addbeam(0, top[i], deck[i + 1]);
    addbeam(0, top[i], upper[i]);
  }
  for (int k = 4; k <= 12; k += 4) {
    int a = addjoint(0, 992.0f + 4.0f * (float)k, 16.0f);
    addbeam(0, a, deck[k]);
    addbeam(0, a, deck[k - 1]);
    addbeam(0, a, deck[k + 1]);
  }
}

// A deck the whole width of the level, every joint on a post to an anchor
// 4 units below and braced to the next: over 3,000 beams, a third of them
// road, for the cars' deck test.
inline float buildlongdeck() {
  createlevel();
  beamtype[0] = beamtype[1] = 17.9f;
  numofjoints = numofbeams = 0;
  const int columns = 1000;
  for (int c = 0; c < columns; c++) {
    joint[numofjoints++] = {0, {24.0f + 2.0f * (float)c, 60.0f}};
    joint[numofjoints++] = {1, {24.0f + 2.0f * (float)c, 64.0f}};
  }
  for (int c = 0; c < columns; c++) {
    beam[numofbeams++] = {0, 2 * c, 2 * c + 1, 0, 0, 0.0f};
    if (c + 1 < columns) {
      beam[numofbeams++] = {1, 2 * c + 1, 2 * c + 3, 0, 0, 0.0f};
      beam[numofbeams++] = {0, 2 * c, 2 * c + 3, 0, 0, 0.0f};
    }
  }
  return 64.0f;
}
