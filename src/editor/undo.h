// The undo ring: whole-bridge snapshots, so the player can step back through
// up to 15 changes and forward again. A change is recorded as a pair: the
// bridge at the start of the frame (the editor's saved tables) and the
// bridge as it is now.
#pragma once

#include "world/level.h"

constexpr int UNDOSLOTS = 16; // a power of two: indices wrap with AND

struct undoinfo {
  int selected;
  int hover;
  int numofjoints;
  jointinfo joint[MAXJOINTS];
  int numofbeams;
  beaminfo beam[MAXBEAMS];
};

extern undoinfo undo[UNDOSLOTS];
extern int undoposition; // the snapshot matching the bridge on screen
extern int undofront;    // newest snapshot: redo stops here
extern int undoback;     // oldest snapshot: undo stops here

void setupundo();
void editorundo();
void editorredo();
