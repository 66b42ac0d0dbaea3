#include "world/level.h"

levelinfo level;
jointinfo joint[MAXJOINTS];
int numofjoints;
beaminfo beam[MAXBEAMS];
int numofbeams;
float beamtype[16];

void createlevel() {
  for (int i = 0; i < NUMTERRAIN; i++)
    level.terrain[i] = 32.0f;
  for (int i = 249; i <= 263; i++)
    level.terrain[i] = 16.0f;
  level.deckheight = 32.0f;
  level.waterlevel = 24.0f;
  level.leftend = 992.0f;
  level.rightend = 1056.0f;
  level.budget = 10000;
  level.weight = 40000;
  level.trainstart = 0;
  level.manualdeck = 0;
  level.traintime = 0;
}

static int clampcolumn(int column) {
  if (column < 0)
    column = 0;
  if (column > NUMTERRAIN - 2)
    column = NUMTERRAIN - 2;
  return column;
}

// The terrain segments a test over xmin..xmax visits: the columns under
// it and one more on each side.
static void findcolumns(float xmin, float xmax, int *first, int *last) {
  // Clamp in float before converting: a huge or non-finite x must not
  // overflow the int conversion.
  float firstf = xmin * 0.25f, lastf = xmax * 0.25f;
  *first = firstf < -2.0f ? -2 : firstf > 1024.0f ? 1024 : (int)firstf;
  *last = lastf < -2.0f ? -2 : lastf > 1024.0f ? 1024 : (int)lastf;
  if (!(firstf == firstf))
    *first = 0;
  if (!(lastf == lastf))
    *last = NUMTERRAIN - 2;
  *first = clampcolumn(*first - 1);
  *last = clampcolumn(*last + 1);
}

float findlevelceiling(float xmin, float xmax) {
  int first, last;
  findcolumns(xmin, xmax, &first, &last);
  float ceiling = level.terrain[first];
  for (int i = first + 1; i <= last + 1; i++) {
    float h = level.terrain[i];
    // Once a non-number is met it stays: nothing compares above it.
    ceiling = h > ceiling || h != h ? h : ceiling;
  }
  return ceiling;
}

int lineintersectlevel2d(const vector2d *start, const vector2d *end) {
  float xmin = start->x < end->x ? start->x : end->x;
  float xmax = start->x < end->x ? end->x : start->x;
  int first, last;
  findcolumns(xmin, xmax, &first, &last);

  collision.fraction = 1.0f;
  for (int i = first; i <= last; i++) {
    vector2d c = {4.0f * (float)i, level.terrain[i]};
    vector2d d = {4.0f * (float)(i + 1), level.terrain[i + 1]};
    vector2d hit, normal;
    float fraction;
    if (lineintersectline2d(&hit, &normal, &fraction, start, end, &c, &d) &&
        fraction < collision.fraction) {
      collision.point = hit;
      collision.normal = normal;
      collision.fraction = fraction;
    }
  }
  return collision.fraction < 1.0f ? 1 : 0;
}
