#include "world/level.h"

#include <string.h>

#include "geometry/hash.h"

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

int clampterraincolumn(float column, int offset, int last) {
  if (column != column)
    return 0;
  if (column < -16.0f)
    column = -16.0f;
  if (column > 1024.0f)
    column = 1024.0f;
  int c = (int)column + offset;
  return c < 0 ? 0 : c > last ? last : c;
}

// The terrain segments a test over xmin..xmax visits: the columns under
// it and one more on each side. An end that is no number reaches the edge
// of the map on its side.
static void findcolumns(float xmin, float xmax, int *first, int *last) {
  float lastf = xmax * 0.25f;
  *first = clampterraincolumn(xmin * 0.25f, -1, NUMTERRAIN - 2);
  *last = lastf == lastf ? clampterraincolumn(lastf, 1, NUMTERRAIN - 2) : NUMTERRAIN - 2;
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

void savebridgetables(bridgetables *out) {
  out->level = level;
  out->numofjoints = numofjoints;
  memcpy(out->joint, joint, sizeof(jointinfo) * (size_t)numofjoints);
  out->numofbeams = numofbeams;
  memcpy(out->beam, beam, sizeof(beaminfo) * (size_t)numofbeams);
}

void setbridgetables(const levelinfo *from, const jointinfo *joints, int countofjoints, const beaminfo *beams,
                     int countofbeams) {
  level = *from;
  numofjoints = countofjoints;
  memcpy(joint, joints, sizeof(jointinfo) * (size_t)countofjoints);
  numofbeams = countofbeams;
  memcpy(beam, beams, sizeof(beaminfo) * (size_t)countofbeams);
}

void loadbridgetables(const bridgetables *in) {
  setbridgetables(&in->level, in->joint, in->numofjoints, in->beam, in->numofbeams);
}

uint64_t hashbridge(uint64_t h) {
  int counts[2] = {numofjoints, numofbeams};
  h = hashbytes(h, counts, sizeof counts);
  for (int i = 0; i < numofjoints && i < MAXJOINTS; i++)
    h = hashbytes(h, &joint[i], sizeof joint[i]);
  for (int i = 0; i < numofbeams && i < MAXBEAMS; i++) {
    int b[3] = {beam[i].type, beam[i].joint1, beam[i].joint2};
    h = hashbytes(h, b, sizeof b);
  }
  return h;
}
