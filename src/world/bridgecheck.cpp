#include "world/bridgecheck.h"

#include <math.h>
#include <stdlib.h>

#include "world/level.h"

static int comparepairs(const void *a, const void *b) {
  int x = *(const int *)a, y = *(const int *)b;
  return (x > y) - (x < y);
}

int checkbridgetables(int anchorbeams) {
  // A pair as one number, the lower joint first, so that sorting brings a
  // repeated pair together whichever way round its beams were drawn.
  static int pairs[MAXBEAMS];
  if (numofjoints < 0 || numofjoints > MAXJOINTS || numofbeams < 0 || numofbeams > MAXBEAMS)
    return 0;
  for (int i = 0; i < numofjoints; i++)
    if ((joint[i].type != 0 && joint[i].type != 1) || !isinsideworld(joint[i].pos.x) || !isinsideworld(joint[i].pos.y))
      return 0;
  if (!isinsideworld(level.deckheight) || !isinsideworld(level.waterlevel) || !isinsideworld(level.leftend) ||
      !isinsideworld(level.rightend))
    return 0;
  for (int i = 0; i < NUMTERRAIN; i++)
    if (!isinsideworld(level.terrain[i]))
      return 0;
  for (int i = 0; i < numofbeams; i++) {
    int a = beam[i].joint1, b = beam[i].joint2;
    if ((beam[i].type != 0 && beam[i].type != 1) || a < 0 || a >= numofjoints || b < 0 || b >= numofjoints || a == b)
      return 0;
    if (!anchorbeams && joint[a].type == 0 && joint[b].type == 0)
      return 0;
    pairs[i] = a < b ? a * MAXJOINTS + b : b * MAXJOINTS + a;
  }
  qsort(pairs, (size_t)numofbeams, sizeof(pairs[0]), comparepairs);
  for (int i = 1; i < numofbeams; i++)
    if (pairs[i] == pairs[i - 1])
      return 0;
  return 1;
}
