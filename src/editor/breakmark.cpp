#include "editor/breakmark.h"

#include <stdint.h>

#include "editor/undo.h"
#include "geometry/hash.h"
#include "testrun/outcome.h"
#include "world/level.h"

int breakmark = -1;
static uint64_t testedbridge;
static int bridgetested;

// The bridge and the undo ring's place, so an undo followed by a redo
// still counts as a change.
static uint64_t bridgehash() {
  int ring[3] = {undoposition, undofront, undoback};
  return hashbridge(hashbytes(HASHSTART, ring, sizeof ring));
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
