#include "render/world.h"

#include <math.h>

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

// Converting a float outside int's range is undefined, and a camera framed
// on a far-off point would give one, so every view quantity is clamped while
// still a float (a non-number counts as 0). limit must be well inside int.
static int clamptoint(float v, float limit) {
  if (!(v > -limit))
    return v < 0.0f ? -(int)limit : 0;
  return v < limit ? (int)v : (int)limit;
}

void getterraincolumns(int *first, int *last, float vx, float vz) {
  *first = clampterraincolumn((vx - vz) * 0.25f, 0, NUMTERRAIN - 2);
  *last = clampterraincolumn((vx + vz) * 0.25f, 0, NUMTERRAIN - 2);
}

void getgridlines(gridlines *g, float vx, float vy, float vz, float deckheight) {
  const float limit = GRIDLIMIT * 0.25f;
  g->x0 = clamptoint((vx - vz) * 0.25f, limit) - 1;
  g->x1 = clamptoint((vx + vz) * 0.25f, limit) + 1;
  g->y0 = clamptoint((vy - vz) * 0.25f, limit) - 1;
  g->y1 = clamptoint((vy + vz) * 0.25f, limit) + 1;
  g->deckrow = clamptoint(deckheight * 0.25f, limit + 2.0f);
}

// The screens' near clip plane: a camera no further than this from the
// world sees nothing of it, and the rectangle below would mean nothing.
constexpr float NEARCLIP = 0.25f;

// The frustum of the screens' projection is 90 degrees wide: at distance vz
// the half-width is vz and the half-height vz * heightpx / widthpx.
worldrect getvisiblerect(float vx, float vy, float vz, int widthpx, int heightpx, float marginpixels) {
  if (!(vz > NEARCLIP) || widthpx <= 0 || heightpx <= 0)
    return {-INFINITY, INFINITY, -INFINITY, INFINITY};
  float unitsperpixel = 2.0f * vz / (float)widthpx;
  float halfwidth = vz + marginpixels * unitsperpixel;
  float halfheight = vz * (float)heightpx / (float)widthpx + marginpixels * unitsperpixel;
  return {vx - halfwidth, vx + halfwidth, vy - halfheight, vy + halfheight};
}

int segmentvisible(const worldrect &r, float x1, float y1, float x2, float y2) {
  if ((x1 < r.left && x2 < r.left) || (x1 > r.right && x2 > r.right))
    return 0;
  return !((y1 < r.bottom && y2 < r.bottom) || (y1 > r.top && y2 > r.top));
}
