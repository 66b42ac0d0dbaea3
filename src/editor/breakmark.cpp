#include "editor/breakmark.h"

#include <stdint.h>

#include "editor/undo.h"
#include "geometry/hash.h"
#include "testrun/outcome.h"
#include "world/level.h"

int breakmark = -1;
static uint64_t testedbridge;
static int bridgetested;

// What makes the bridge: joints and beams by value (not the stress or
// hover a frame writes into them) and the undo ring's place, so an undo
// followed by a redo still counts as a change.
static uint64_t bridgehash() {
  int counts[5] = {numofjoints, numofbeams, undoposition, undofront, undoback};
  uint64_t h = hashbytes(HASHSTART, counts, sizeof(counts));
  for (int i = 0; i < numofjoints && i < MAXJOINTS; i++)
    h = hashbytes(h, &joint[i], sizeof(joint[i]));
  for (int i = 0; i < numofbeams && i < MAXBEAMS; i++) {
    int b[3] = {beam[i].type, beam[i].joint1, beam[i].joint2};
    h = hashbytes(h, b, sizeof(b));
  }
  return h;
}

void notebreakmark() {
  breakmark = outcome.firstbreak >= 0 && outcome.firstbreak < numofbeams ? outcome.firstbreak : -1;
  testedbridge = bridgehash();
  bridgetested = 1;
}

void checkbreakmark() {
  if (breakmark >= 0 && (breakmark >= numofbeams || bridgehash() != testedbridge))
    breakmark = -1;
}

int istestedbridge() {
  if (bridgetested && bridgehash() != testedbridge)
    bridgetested = 0;
  return bridgetested;
}

void forgettestedbridge() { bridgetested = 0; }
