// Random editing sessions through the headless core: mouse frames (the
// preview-and-commit cycle), clicks, undo and redo, copy, flip, paste and
// group delete as the editor's buttons allow them, camera moves and test
// runs with the train. After every
// operation the bridge tables must keep their invariants, and after every
// simulation step the particle, bond and car tables theirs.
#include "editor/editor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "fuzz.h"
#include "render/view.h"
#include "shell/input.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "sim/simcheck.h"
#include "testrun/game.h"
#include "testrun/setup.h"
#include "testrun/testrun.h"
#include "world/levellist.h"

// The input not yet read; past its end every byte reads as 0.
static const uint8_t *input, *inputend;
static int next() { return input < inputend ? *input++ : 0; }
static int next16() { return next() | next() << 8; }
static void checkeditorstate() {
  FUZZCHECK(checkbridgetables(0));
  FUZZCHECK(editor.selected >= -1 && editor.selected < numofjoints);
  // hover may still name the end joint of a preview just rolled back: the
  // next frame's preview sets it again before anything reads it.
  FUZZCHECK(editor.hover >= -1 && editor.hover < MAXJOINTS);
  FUZZCHECK(copy.count >= 0 && copy.count <= MAXBEAMS);
  for (int s = 0; s < UNDOSLOTS; s++)
    FUZZCHECK(undo[s].numofjoints >= 0 && undo[s].numofjoints <= MAXJOINTS && undo[s].numofbeams >= 0 && undo[s].numofbeams <= MAXBEAMS);
}

// One editor frame with the given mouse: the menu action has already run,
// then the preview is built and committed or rolled back.
static void frame(int x, int y, int left, int right) {
  prevmouse = mouse;
  mouse = {x, y, left, right, mouse.wheelup, mouse.wheeldown};
  checkeditor();
  commiteditor();
}

static void testrun() {
  starttestrun(0);
  FUZZCHECK(checksimulationtables());
  if (next() & 1)
    game.state = STATE_CALLED;
  game.mode = next() & 1;
  for (int steps = next(); steps > 0; steps--) {
    simulationstep();
    FUZZCHECK(checksimulationtables());
  }
  resumeeditor();
}

static void setupsession() {
  createlevel();
  level.manualdeck = next() & 1;
  level.budget = next16() * 10;
  numofjoints = numofbeams = 0;
  // The anchors a level author puts at both ends, plus a few more.
  createjoint(0, {992.0f, 32.0f});
  createjoint(0, {1056.0f, 32.0f});
  for (int anchors = next() & 7; anchors > 0; anchors--)
    createjoint(0, {960.0f + 2.0f * (float)(next() & 63), 2.0f * (float)(next() & 31)});
  mouse = prevmouse = {};
  memset(keyboard, 0, sizeof(keyboard));
  game.name[0] = 0;
  levelnum = -1;
  setupeditor();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  input = data, inputend = data + size;
  setupsession();
  checkeditorstate();
  for (int operations = 0; input < inputend && operations < 256; operations++) {
    int op = next() % 11;
    int x = next16() % 640, y = next16() % EDITORBUTTONROW;
    int rectangle = editor.state == EDIT_RECTANGLE && getrectanglesize() >= 4.0f;
    switch (op) {
    case 0: // move, buttons as they are
      frame(x, y, mouse.left, mouse.right);
      break;
    case 1: { // left press, a moved frame, release
      frame(x, y, 1, 0);
      int x2 = next16() % 640, y2 = next16() % EDITORBUTTONROW;
      frame(x2, y2, 1, 0);
      frame(x2, y2, 0, 0);
      break;
    }
    case 2: // right click
      frame(x, y, 0, 1);
      frame(x, y, 0, 0);
      break;
    case 9:
      testrun();
      break;
    case 10: { // camera: wheel notches and the keys that pan it, four times as far with Ctrl
      static const int keys[5] = {'a', 'd', 's', 'w', KEY_LCTRL};
      mouse.wheelup = next() % 9;
      mouse.wheeldown = next() % 9;
      for (int k = 0; k < 5; k++)
        keyboard[keys[k]] = (unsigned char)(x >> k & 1);
      moveeditorcamera(0, 0);
      memset(keyboard, 0, sizeof(keyboard));
      break;
    }
    default: { // the group buttons (3 to 8), each only while the editor offers it
      static void (*const button[])() = {editorundo, editorredo, copyjoints, flipcopy,
                                         [] { editor.state = EDIT_PASTE; }, deletejoints};
      const int offered[] = {1, 1, rectangle, editor.state == EDIT_PASTE, copy.count > 0, rectangle};
      if (offered[op - 3])
        button[op - 3]();
      frame(x, y, 0, 0);
    }
    }
    checkeditorstate();
  }
  return 0;
}
