// Group editing: the beams inside a rectangle are copied to a clipboard that
// follows the mouse in paste mode (mirrored with "Flip X"), and the free
// joints inside a rectangle are deleted together.
#pragma once

#include "world/level.h"

struct copyitem {
  int type;        // beam type; pasting may rewrite it by the deck height
  int jointtype1;  // recorded, not used: pasting always makes free joints
  vector2d pos1;   // relative to the copy centre
  int jointtype2;
  vector2d pos2;
};

struct copyinfo {
  int count;
  copyitem item[MAXBEAMS];
};

extern copyinfo copy;

// 1 when the point lies inside the normalised rectangle, edges included.
int jointcopy(vector2d point);
// The rectangle's diagonal, the test that enables "Copy" and "Delete".
float getrectanglesize();
void copyjoints();
void flipcopy();
void deletejoints();
// "Paste": paste mode with the current clipboard.
void pasteclipboard();
// Paste-mode preview: one copy of the clipboard centred on the point.
void stampcopy(vector2d centre);
