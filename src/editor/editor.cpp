#include "editor/editor.h"

#include <cmath>
#include <cstring>

#include "editor/breakmark.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "render/view.h"
#include "shell/input.h"
#include "testrun/game.h"

editorinfo editor;

float roundfloat(float value, float step) { return step * floorf(value / step + 0.5f); }

int findjoint(vector2d point) {
  for (int i = 0; i < numofjoints; i++)
    if (vectordistance2d(&joint[i].pos, &point) < JOINTRADIUS)
      return i;
  return -1;
}

// The probe starts 1/64 to the right so that a point exactly above a terrain
// vertex is tested against one segment, and reaches 1/8 below the point so
// that a joint needs that much clearance above the ground.
static int probeground(vector2d point) {
  vector2d top = {point.x + 0.015625f, point.y + 256.0f};
  vector2d bottom = {point.x + 0.015625f, point.y - 0.125f};
  return lineintersectlevel2d(&top, &bottom);
}

int pointabovelevel(vector2d point) { return probeground(point) ? 0 : 1; }

int createjoint(int type, vector2d point) {
  int existing = findjoint(point);
  if (existing != -1)
    return existing;
  if (type != 0 && probeground(point))
    return -1;
  if (numofjoints >= MAXJOINTS)
    return -1;
  joint[numofjoints].type = type;
  joint[numofjoints].pos = point;
  return numofjoints++;
}

void deletejoint(int index) {
  if (index < 0 || index >= numofjoints)
    return;
  numofjoints--;
  int last = numofjoints;
  for (int i = 0; i < numofbeams;) {
    if (beam[i].joint1 == index || beam[i].joint2 == index)
      deletebeam(i); // the last beam moved into i: test it again
    else
      i++;
  }
  if (index == last)
    return;
  joint[index] = joint[last];
  for (int i = 0; i < numofbeams; i++) {
    if (beam[i].joint1 == last)
      beam[i].joint1 = index;
    if (beam[i].joint2 == last)
      beam[i].joint2 = index;
  }
}

int createbeam(int type, int joint1, int joint2) {
  if (joint1 < 0 || joint1 >= numofjoints || joint2 < 0 || joint2 >= numofjoints)
    return -1;
  if (type < 0 || type > 1)
    return -1;
  if (joint1 == joint2 || (joint[joint1].type == 0 && joint[joint2].type == 0))
    return -1;
  for (int i = 0; i < numofbeams; i++)
    if ((beam[i].joint1 == joint1 && beam[i].joint2 == joint2) ||
        (beam[i].joint1 == joint2 && beam[i].joint2 == joint1))
      return i;
  if (vectordistance2d(&joint[joint1].pos, &joint[joint2].pos) > beamtype[type])
    return -1;
  if (numofbeams >= MAXBEAMS)
    return -1;
  beaminfo &b = beam[numofbeams];
  memset(&b, 0, sizeof(b));
  b.type = type;
  b.joint1 = joint1;
  b.joint2 = joint2;
  return numofbeams++;
}

void deletebeam(int index) {
  if (index < 0 || index >= numofbeams)
    return;
  numofbeams--;
  if (index != numofbeams)
    beam[index] = beam[numofbeams];
}

vector2d getmouseworld(int x, int y) {
  float scale = view.pos[2] / 320.0f;
  vector2d m = {view.pos[0] + (float)(x - 320) * scale, view.pos[1] + (float)(240 - y) * scale};
  return m;
}

void saveeditortables() {
  editor.savednumofjoints = numofjoints;
  memcpy(editor.savedjoint, joint, sizeof(jointinfo) * (size_t)numofjoints);
  editor.savednumofbeams = numofbeams;
  memcpy(editor.savedbeam, beam, sizeof(beaminfo) * (size_t)numofbeams);
}

void restoreeditortables() {
  numofjoints = editor.savednumofjoints;
  memcpy(joint, editor.savedjoint, sizeof(jointinfo) * (size_t)numofjoints);
  numofbeams = editor.savednumofbeams;
  memcpy(beam, editor.savedbeam, sizeof(beaminfo) * (size_t)numofbeams);
}

// A drag interrupted by a hotkey would otherwise leave its dragmode behind
// for the next joint that becomes selected, which would then move instead of
// drawing a beam; so the two are always reset together.
void clearselection() {
  editor.selected = -1;
  editor.dragmode = DRAG_DRAWING;
}

static void clearrectangle() {
  editor.corner1 = {0.0f, 0.0f};
  editor.corner2 = {0.0f, 0.0f};
}

void setupeditor() {
  game.mode = 0;
  game.weight = level.weight;
  game.add = 5000;

  // Back off far enough to show every joint and both ends, a margin inside
  // the edges; the first camera step clamps.
  frameview(1024.0f, getviewaspect());
  resetorientation((vector3d *)view.orient);

  for (int i = 0; i < numofbeams; i++) {
    beam[i].stresstype = 0;
    beam[i].stress = 0.0f;
  }
  beamtype[0] = MAXBEAMLENGTH;
  beamtype[1] = MAXBEAMLENGTH;

  editor.state = EDIT_IDLE;
  clearselection();
  editor.hover = -1;
  editor.newbeamtype = 0;
  editor.builddeck = 0;
  editor.grid = EDITORGRID;
  clearrectangle();
  editor.leveleditor = 0;
  memcpy(editor.filename, game.name, sizeof(editor.filename));
  editor.filename[sizeof(editor.filename) - 1] = 0;
  editor.filemenu = 0;
  editor.cost = numofbeams * BEAMCOST;
  saveeditortables();

  undoback = undofront = undoposition = 0;
  copy.count = 0;
  forgettestedbridge();
}

void resumeeditor() {
  editor.state = EDIT_IDLE;
  clearselection();
  editor.newbeamtype = 0;
  clearrectangle();
}

void moveeditorcamera(int editing, int fullscreen) {
  stepcamera(editing, editing, fullscreen, -64.0f);
}

int runeditorcamera(unsigned int now, unsigned int *last, int editing, int fullscreen) {
  int steps = takecamerasteps(now, last);
  for (int i = 0; i < steps; i++)
    moveeditorcamera(editing, fullscreen);
  return steps;
}
