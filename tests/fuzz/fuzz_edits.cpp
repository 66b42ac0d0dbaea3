// Random editing sessions through the headless core: mouse frames (the
// preview-and-commit cycle), clicks, undo and redo, copy, flip, paste and
// group delete as the editor's buttons allow them, the primitive joint and
// beam edits, camera moves and test runs with the train. After every
// operation the bridge tables must keep their invariants, and after every
// simulation step the particle, bond and car tables theirs.
#include <cstring>

#include "editor/editor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "invariants.h"
#include "render/view.h"
#include "shell/input.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "testrun/setup.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

struct bytestream {
  const uint8_t *data;
  size_t size;
  size_t position;
};

static int next(bytestream *s) {
  return s->position < s->size ? s->data[s->position++] : 0;
}

static int next16(bytestream *s) {
  int low = next(s);
  return low | next(s) << 8;
}

static int inlist(const int *list, int count, int value) {
  for (int i = 0; i < count; i++)
    if (list[i] == value)
      return 1;
  return 0;
}

// Bond lists in both directions: every permanent bond is listed by both of
// its particles and every listed bond names the particle; the same between
// cars and their particles and bonds. Checked between steps, when the
// step's contacts are gone and every bond is a permanent spring
// (numofstaticbonds only means something inside a step).
static void checksimulationtables() {
  FUZZCHECK(numofparticles >= 0 && numofparticles <= MAXPARTICLES);
  FUZZCHECK(numofbonds >= 0 && numofbonds <= MAXBONDS);
  FUZZCHECK(numofobjects >= 0 && numofobjects <= MAXOBJECTS);
  for (int p = 0; p < numofparticles; p++) {
    const particleinfo *q = &particle[p];
    FUZZCHECK(q->numofbonds >= 0 && q->numofbonds <= PARTICLEBONDS);
    for (int k = 0; k < q->numofbonds; k++) {
      int b = q->bondlist[k];
      FUZZCHECK(b >= 0 && b < numofbonds);
      FUZZCHECK(bond[b].particle1 == p || bond[b].particle2 == p);
    }
    FUZZCHECK(q->numofobjects >= 0 && q->numofobjects <= PARTICLEOBJECTS);
    for (int k = 0; k < q->numofobjects; k++) {
      int o = q->objectlist[k];
      FUZZCHECK(o >= 0 && o < numofobjects);
      FUZZCHECK(inlist(object[o].particlelist, object[o].numofparticles, p));
    }
  }
  for (int b = 0; b < numofbonds; b++) {
    const bondinfo *d = &bond[b];
    FUZZCHECK(d->type == BOND_SPRING);
    FUZZCHECK(d->particle1 >= 0 && d->particle1 < numofparticles);
    FUZZCHECK(d->particle2 >= 0 && d->particle2 < numofparticles);
    FUZZCHECK(d->particle1 != d->particle2);
    FUZZCHECK(inlist(particle[d->particle1].bondlist, particle[d->particle1].numofbonds, b));
    FUZZCHECK(inlist(particle[d->particle2].bondlist, particle[d->particle2].numofbonds, b));
    for (int k = 0; k < d->numofobjects; k++) {
      int o = d->objectlist[k];
      FUZZCHECK(o >= 0 && o < numofobjects);
      FUZZCHECK(inlist(object[o].bondlist, object[o].numofbonds, b));
    }
  }
  for (int o = 0; o < numofobjects; o++) {
    const objectinfo *c = &object[o];
    FUZZCHECK(c->numofparticles >= 0 && c->numofparticles <= OBJECTPARTICLES);
    for (int k = 0; k < c->numofparticles; k++) {
      int p = c->particlelist[k];
      FUZZCHECK(p >= 0 && p < numofparticles);
      FUZZCHECK(inlist(particle[p].objectlist, particle[p].numofobjects, o));
    }
    FUZZCHECK(c->numofbonds >= 0 && c->numofbonds <= OBJECTBONDS);
    for (int k = 0; k < c->numofbonds; k++)
      FUZZCHECK(c->bondlist[k] >= 0 && c->bondlist[k] < numofbonds);
  }
}

static void checkeditorstate() {
  checkbridgetables(0);
  FUZZCHECK(editor.selected >= -1 && editor.selected < numofjoints);
  // hover may still name the end joint of a preview that was just rolled
  // back: nothing reads it before the next frame's preview sets it again,
  // and undo drops it when out of range. It must stay a table index.
  FUZZCHECK(editor.hover >= -1 && editor.hover < MAXJOINTS);
  FUZZCHECK(copy.count >= 0 && copy.count <= MAXBEAMS);
  for (int s = 0; s < UNDOSLOTS; s++) {
    FUZZCHECK(undo[s].numofjoints >= 0 && undo[s].numofjoints <= MAXJOINTS);
    FUZZCHECK(undo[s].numofbeams >= 0 && undo[s].numofbeams <= MAXBEAMS);
  }
}

// One editor frame with the given mouse: the menu action has already run,
// then the preview is built and committed or rolled back.
static void frame(int x, int y, int left, int right) {
  prevmouse = mouse;
  mouse.x = x;
  mouse.y = y;
  mouse.left = left;
  mouse.right = right;
  checkeditor();
  int hover = editor.hover, joints = numofjoints;
  commiteditor();
  if (getenv("FUZZTRACE") != NULL)
    fprintf(stderr, "  frame (%d, %d) %d%d: preview joints %d hover %d, committed joints %d hover %d\n",
            x, y, left, right, joints, hover, numofjoints, editor.hover);
}

static void testrun(bytestream *s) {
  starttestrun(0);
  checksimulationtables();
  if (next(s) & 1)
    game.state = STATE_CALLED;
  game.mode = next(s) & 1;
  int steps = next(s);
  for (int i = 0; i < steps; i++) {
    simulationstep();
    checksimulationtables();
  }
  resumeeditor();
}

static void setupsession(bytestream *s) {
  createlevel();
  level.manualdeck = next(s) & 1;
  level.budget = next16(s) * 10;
  numofjoints = 0;
  numofbeams = 0;
  // The anchors a level author puts at both ends, plus a few more.
  createjoint(0, {992.0f, 32.0f});
  createjoint(0, {1056.0f, 32.0f});
  int anchors = next(s) & 7;
  for (int i = 0; i < anchors; i++)
    createjoint(0, {960.0f + 2.0f * (float)(next(s) & 63), 2.0f * (float)(next(s) & 31)});
  memset(&mouse, 0, sizeof(mouse));
  memset(&prevmouse, 0, sizeof(prevmouse));
  memset(keyboard, 0, sizeof(keyboard));
  game.name[0] = 0;
  levelnum = -1;
  setupeditor();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // FUZZTRACE=1 prints each operation, to read a finding back.
  static const int trace = getenv("FUZZTRACE") != NULL;
  bytestream s = {data, size, 0};
  setupsession(&s);
  checkeditorstate();
  for (int operations = 0; s.position < s.size && operations < 256; operations++) {
    int op = next(&s) % 13;
    int x = next16(&s) % 640, y = next16(&s) % EDITORBUTTONROW;
    int rectangle = editor.state == EDIT_RECTANGLE && getrectanglesize() >= 4.0f;
    if (trace)
      fprintf(stderr, "op %d at (%d, %d): joints %d beams %d state %d selected %d hover %d\n", op, x,
              y, numofjoints, numofbeams, editor.state, editor.selected, editor.hover);
    switch (op) {
    case 0: // move, buttons as they are
      frame(x, y, mouse.left, mouse.right);
      break;
    case 1: // left press, a moved frame, release
      frame(x, y, 1, 0);
      frame(next16(&s) % 640, next16(&s) % EDITORBUTTONROW, 1, 0);
      frame(mouse.x, mouse.y, 0, 0);
      break;
    case 2: // right click
      frame(x, y, 0, 1);
      frame(x, y, 0, 0);
      break;
    case 3:
      editorundo();
      frame(x, y, 0, 0);
      break;
    case 4:
      editorredo();
      frame(x, y, 0, 0);
      break;
    case 5:
      if (rectangle)
        copyjoints();
      frame(x, y, 0, 0);
      break;
    case 6:
      if (editor.state == EDIT_PASTE)
        flipcopy();
      frame(x, y, 0, 0);
      break;
    case 7:
      if (copy.count > 0)
        editor.state = EDIT_PASTE;
      frame(x, y, 0, 0);
      break;
    case 8:
      if (rectangle)
        deletejoints();
      frame(x, y, 0, 0);
      break;
    case 9:
      testrun(&s);
      break;
    case 10: { // the primitive edits, as the editor's own code calls them
      vector2d point = getmouseworld(x, y);
      point.x = roundfloat(point.x, EDITORGRID);
      point.y = roundfloat(point.y, EDITORGRID);
      int j = createjoint(1, point);
      if (j != -1 && numofjoints > 0)
        createbeam(next(&s) & 1, j, next16(&s) % numofjoints);
      saveeditortables();
      break;
    }
    case 11: {
      int index = next16(&s) % (numofjoints + 1);
      if (index < numofjoints && joint[index].type == 1 && editor.selected == -1) {
        deletejoint(index);
        editor.hover = -1;
      }
      deletebeam(next16(&s) % (numofbeams + 1));
      saveeditortables();
      break;
    }
    case 12: // camera: wheel notches and arrow keys
      mouse.wheelup = next(&s) % 9;
      mouse.wheeldown = next(&s) % 9;
      keyboard[KEY_LEFT] = (unsigned char)(x & 1);
      keyboard[KEY_RIGHT] = (unsigned char)(x & 2);
      keyboard[KEY_UP] = (unsigned char)(x & 4);
      keyboard[KEY_DOWN] = (unsigned char)(x & 8);
      moveeditorcamera(0, 0);
      memset(keyboard, 0, sizeof(keyboard));
      break;
    }
    checkeditorstate();
  }
  return 0;
}
