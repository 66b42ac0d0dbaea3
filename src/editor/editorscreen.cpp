#include "editor/editorscreen.h"

#include "editor/editor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "render/text.h"
#include "shell/input.h"
#include "testrun/game.h"
#include "ui/help.h"
#include "ui/menu.h"
#include "world/level.h"

int testrequest;

static void declareitem(const char *text, int x, int y) { createmenuitem(text, x, y, 16, 1, 1, 1, 1); }

// The name box sits below "File" in both modes, so that the name never
// covers the button.
static void declarefileitems() {
  declareitem("File", 160, 0);
  setmenuitem(9, &editor.filemenu, 1);
  setmenuitem(1, KEY_F1);
  if (editor.filemenu != 1)
    return;
  declareitem("            ", 160, 16);
  setmenuitem(6, editor.filename);
  setmenuitem(1, KEY_RETURN);
  declareitem("Cancel", 160, 32);
  setmenuitem(9, &editor.filemenu, 0);
  setmenuitem(1, KEY_ESCAPE);
  declareitem("Save", 320, 32);
  setmenuitem(9, &editor.filemenu, 2);
}

static void declareleveleditoritems() {
  declareitem("Left", 0, 320);
  setmenuitem(9, &level.trainstart, 0);
  declareitem("Right", 0, 336);
  setmenuitem(9, &level.trainstart, 1);
  declareitem("Both", 0, 352);
  setmenuitem(9, &level.trainstart, 2);
  declareitem("Manual Deck", 0, 384);
  setmenuitem(8, &level.manualdeck);
  declareitem("Budget  ", ALIGN_END | 640, 448);
  setmenuitem(3, &level.budget);
  // While the File box is open, Return belongs to the name box alone: two
  // boxes edited at once would share the typed text, and a name beginning
  // with digits would become the level's budget.
  if (editor.filemenu != 1)
    setmenuitem(1, KEY_RETURN);
  declareitem("Weight", 320, 448);
  setmenuitem(3, &level.weight);
  setmenuitem(1, 'g');
  declarefileitems();
}

static void declarebridgeitems() {
  int rectangle = editor.state == EDIT_RECTANGLE && getrectanglesize() >= 4.0f;
  declareitem("Test", ALIGN_END | 640, 0);
  setmenuitem(9, &testrequest, 1);
  setmenuitem(1, 't');
  declareitem("Undo", 160, 464);
  setmenuitem(7, editorundo);
  setmenuitem(1, 'u');
  if (undoposition == undoback)
    setmenuitem(2, 0);
  declareitem("Redo", 240, 464);
  setmenuitem(7, editorredo);
  setmenuitem(1, 'o');
  if (undoposition == undofront)
    setmenuitem(2, 0);
  declareitem("Copy", 320, 464);
  setmenuitem(7, copyjoints);
  setmenuitem(1, 'c');
  if (!rectangle)
    setmenuitem(2, 0);
  declareitem("Flip X", 400, 464);
  setmenuitem(7, flipcopy);
  setmenuitem(1, 'x');
  if (editor.state != EDIT_PASTE)
    setmenuitem(2, 0);
  declareitem("Paste", 480, 464);
  setmenuitem(9, &editor.state, (int)EDIT_PASTE);
  setmenuitem(1, 'v');
  if (copy.count == 0)
    setmenuitem(2, 0);
  declareitem("Delete", 560, 464);
  setmenuitem(7, deletejoints);
  setmenuitem(1, KEY_DELETE);
  if (!rectangle)
    setmenuitem(2, 0);
  declarefileitems();
  declareitem("Stress", 400, 0);
  setmenuitem(8, &game.stressview);
  setmenuitem(1, 'r');
  if (level.manualdeck != 0) {
    declareitem("Build Deck", 0, 400);
    setmenuitem(8, &editor.builddeck);
    setmenuitem(1, '`');
  }
}

void declareeditoritems() {
  numofmenuitems = 0;
  declareitem("Exit", 0, 0);
  if (!editor.leveleditor && editor.filemenu == 0)
    setmenuitem(1, KEY_ESCAPE);
  if (editor.leveleditor)
    declareleveleditoritems();
  else
    declarebridgeitems();
  declarehelpitem();
}

costreadout getcostreadout() {
  costreadout c;
  c.extra = numofbeams * (int)BEAMCOST - editor.cost;
  c.extrafits = editor.cost + c.extra <= level.budget;
  return c;
}

int getgoaltext(char *out) {
  out[0] = 0;
  if (editor.leveleditor)
    return 0;
  const char *way = level.trainstart == 1   ? "right to left"
                    : level.trainstart == 2 ? "there and back"
                                            : "left to right";
  expandtextf(out, "/s: train of /i, /s", game.name, game.weight, way);
  // A long name would run into the open File box: the goal matters more.
  if (editor.filemenu != 0 && GOALRIGHT - measuretext(out, GOALSIZE) < 360)
    expandtextf(out, "Train of /i, /s", game.weight, way);
  return 1;
}
