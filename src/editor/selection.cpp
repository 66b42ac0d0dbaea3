#include "editor/selection.h"

#include <cmath>

#include "editor/editor.h"
#include "editor/undo.h"

copyinfo copy;

static void normaliserectangle() {
  vector2d &a = editor.corner1, &b = editor.corner2;
  if (a.x > b.x) {
    float t = a.x;
    a.x = b.x;
    b.x = t;
  }
  if (a.y > b.y) {
    float t = a.y;
    a.y = b.y;
    b.y = t;
  }
}

int jointcopy(vector2d point) {
  return editor.corner1.x <= point.x && point.x <= editor.corner2.x && editor.corner1.y <= point.y &&
                 point.y <= editor.corner2.y
             ? 1
             : 0;
}

float getrectanglesize() { return vectordistance2d(&editor.corner1, &editor.corner2); }

void copyjoints() {
  normaliserectangle();
  copy.count = 0;
  vector2d sum = {0.0f, 0.0f};
  for (int i = 0; i < numofbeams; i++) {
    const jointinfo &j1 = joint[beam[i].joint1];
    const jointinfo &j2 = joint[beam[i].joint2];
    if (!jointcopy(j1.pos) || !jointcopy(j2.pos))
      continue;
    copyitem &c = copy.item[copy.count++];
    c.type = beam[i].type;
    c.jointtype1 = j1.type;
    c.pos1 = j1.pos;
    c.jointtype2 = j2.type;
    c.pos2 = j2.pos;
    addvectors2d(&sum, &sum, &j1.pos);
    addvectors2d(&sum, &sum, &j2.pos);
  }
  editor.corner1 = {0.0f, 0.0f};
  editor.corner2 = {0.0f, 0.0f};
  // The joint that was under the mouse when the rectangle began must not
  // become the selection on the first stamp.
  editor.hover = -1;
  if (copy.count == 0) {
    editor.state = EDIT_IDLE;
    noterefusal(REFUSE_COPYNOTHING, 0);
    return;
  }
  // Mean over beam ends (a shared joint counts once per end), on the grid so
  // that stamped joints land on grid points.
  // Divided, not multiplied by the reciprocal, which can land one float step
  // low and so one grid step off.
  float ends = 2.0f * (float)copy.count;
  vector2d centre = {roundfloat(sum.x / ends, editor.grid), roundfloat(sum.y / ends, editor.grid)};
  for (int i = 0; i < copy.count; i++) {
    subtractvectors2d(&copy.item[i].pos1, &copy.item[i].pos1, &centre);
    subtractvectors2d(&copy.item[i].pos2, &copy.item[i].pos2, &centre);
  }
  editor.state = EDIT_PASTE;
}

void flipcopy() {
  for (int i = 0; i < copy.count; i++) {
    copy.item[i].pos1.x = -copy.item[i].pos1.x;
    copy.item[i].pos2.x = -copy.item[i].pos2.x;
  }
}

void deletejoints() {
  normaliserectangle();
  saveeditortables();
  for (int i = 0; i < numofjoints;) {
    if (joint[i].type == 1 && jointcopy(joint[i].pos))
      deletejoint(i); // the last joint moved into i: test it again
    else
      i++;
  }
  if (numofjoints != editor.savednumofjoints || numofbeams != editor.savednumofbeams)
    setupundo();
  editor.corner1 = {0.0f, 0.0f};
  editor.corner2 = {0.0f, 0.0f};
  editor.state = EDIT_IDLE;
  // The selection may have been one of the deleted joints or renumbered.
  clearselection();
  editor.hover = -1;
}

void pasteclipboard() {
  if (copy.count == 0)
    return;
  editor.state = EDIT_PASTE;
  editor.hover = -1;
}

// Deck beams follow the deck height unless the level picks them by hand: an
// item is deck only when both of its pasted ends lie on the deck line.
static int pasteend(copyitem &c, vector2d centre, const vector2d *offset) {
  vector2d p;
  addvectors2d(&p, &centre, offset);
  if (level.manualdeck == 0 && fabsf(p.y - level.deckheight) >= DECKTOLERANCE)
    c.type = 0;
  return createjoint(1, p);
}

void stampcopy(vector2d centre) {
  for (int i = 0; i < copy.count; i++) {
    copyitem &c = copy.item[i];
    if (level.manualdeck == 0)
      c.type = 1;
    int j1 = pasteend(c, centre, &c.pos1);
    int j2 = pasteend(c, centre, &c.pos2);
    if (j1 != -1 && j2 != -1)
      createbeam(c.type, j1, j2);
  }
}
