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
  // Beyond the world's range counts as solid: a bridge with a joint there
  // could not be saved.
  if (!isinsideworld(point.x) || !isinsideworld(point.y))
    return 1;
  vector2d top = {point.x + 0.015625f, point.y + 256.0f};
  vector2d bottom = {point.x + 0.015625f, point.y - 0.125f};
  return lineintersectlevel2d(&top, &bottom);
}

int pointabovelevel(vector2d point) { return probeground(point) ? 0 : 1; }

int createjoint(int type, vector2d point) {
  int existing = findjoint(point);
  if (existing != -1)
    return existing;
  if (type != 0 && probeground(point)) {
    lastrefusal = {REFUSE_GROUND, 0};
    return -1;
  }
  if (numofjoints >= MAXJOINTS) {
    lastrefusal = {REFUSE_FULL, 0};
    return -1;
  }
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
  lastrefusal = {REFUSE_NONE, 0};
  if (joint1 == joint2)
    return -1;
  if (joint[joint1].type == 0 && joint[joint2].type == 0) {
    lastrefusal = {REFUSE_TWOANCHORS, 0};
    return -1;
  }
  for (int i = 0; i < numofbeams; i++)
    if ((beam[i].joint1 == joint1 && beam[i].joint2 == joint2) ||
        (beam[i].joint1 == joint2 && beam[i].joint2 == joint1))
      return i;
  float length = vectordistance2d(&joint[joint1].pos, &joint[joint2].pos);
  if (length > beamtype[type]) {
    // In tenths, never shown as the limit itself.
    int tenths = length < 1e6f ? (int)(length * 10.0f + 0.5f) : 9999999;
    int limit = (int)(beamtype[type] * 10.0f + 0.5f);
    lastrefusal = {REFUSE_LENGTH, tenths > limit ? tenths : limit + 1};
    return -1;
  }
  if (numofbeams >= MAXBEAMS) {
    lastrefusal = {REFUSE_FULL, 0};
    return -1;
  }
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

editorfocus geteditorfocus() {
  editorfocus f;
  f.idle = editor.state == EDIT_IDLE;
  f.selected = editor.selected;
  f.drawing = editor.dragmode == DRAG_DRAWING;
  f.hover = editor.hover;
  f.newbeamtype = editor.newbeamtype;
  f.groundrefused = refusal.code == REFUSE_GROUND;
  f.tested = istestedbridge();
  return f;
}
