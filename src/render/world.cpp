#include "render/world.h"

#include "world/level.h"

void getstresscolor(float *rgb, int side, float stress) {
  rgb[0] = side ? stress : 0.0f;
  rgb[1] = 1.0f - stress;
  rgb[2] = side ? 0.0f : stress;
}

static int clampterraincolumn(int column) {
  if (column < 0)
    return 0;
  if (column > NUMTERRAIN - 2)
    return NUMTERRAIN - 2;
  return column;
}

void getterraincolumns(int *first, int *last, float vx, float vz) {
  *first = clampterraincolumn((int)((vx - vz) * 0.25f));
  *last = clampterraincolumn((int)((vx + vz) * 0.25f));
}
