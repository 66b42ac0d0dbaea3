#include "render/world.h"

#include "shell/config.h"
#include "world/level.h"

void getstresscolor(float *rgb, int side, float stress) {
  rgb[0] = side ? stress : 0.0f;
  rgb[1] = 1.0f - stress;
  rgb[2] = side ? 0.0f : stress;
}

// Orange against blue: apart in hue for red-green and for blue-yellow
// colour blindness alike, and apart from the grey of an idle member. Red
// against green (the classic view) is what fails for about one man in twelve.
static const float safeidle[3] = {0.6f, 0.6f, 0.6f};
static const float safestretched[3] = {0.95f, 0.5f, 0.0f};
static const float safecompressed[3] = {0.22f, 0.45f, 1.0f};

// A stress that is no number (a run gone wild) counts as none.
static float clampstress(float stress) {
  if (!(stress > 0.0f))
    return 0.0f;
  return stress < 1.0f ? stress : 1.0f;
}

void getstressstyle(float *rgb, int side, float stress) {
  if (!colorsafe) {
    getstresscolor(rgb, side, stress);
    return;
  }
  float s = clampstress(stress);
  const float *full = side ? safecompressed : safestretched;
  for (int i = 0; i < 3; i++)
    rgb[i] = safeidle[i] + (full[i] - safeidle[i]) * s;
}

int getstressclass(float stress) {
  if (!colorsafe)
    return 0;
  int c = (int)(clampstress(stress) * STRESSWIDTHS);
  return c < STRESSWIDTHS ? c : STRESSWIDTHS - 1;
}

// From the normal width to three times it at breaking.
float getstresswidth(int widthclass) {
  return 1.0f + 2.0f * (float)widthclass / (float)(STRESSWIDTHS - 1);
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
