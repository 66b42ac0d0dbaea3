#include <GL/gl.h>
#include <SDL.h>

#include "editor/breakmark.h"
#include "editor/editor.h"
#include "editor/editorfile.h"
#include "editor/editorloop.h"
#include "editor/leveleditor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "feedback/readout.h"
#include "render/mark.h"
#include "render/screenshot.h"
#include "render/text.h"
#include "render/texture.h"
#include "render/view.h"
#include "render/world.h"
#include "render/worldcache.h"
#include "shell/config.h"
#include "shell/input.h"
#include "shell/system.h"
#include "testrun/game.h"
#include "testrun/gameloop.h"
#include "ui/help.h"
#include "ui/menu.h"
#include "ui/notice.h"
#include "ui/textbox.h"
#include "world/levellist.h"

static int testrequest;

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

static void declareeditoritems() {
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

static void renderworld() {
  setupperspectiveviewport(0, 0, 640, 480, 0.25f, 1024.0f);
  setupviewpoint(view.pos, view.orient);
  glDisable(GL_TEXTURE_2D);
  if (!beginworld(geteditorworldkey())) {
    rendergrid();
    if (!game.stressview)
      renderbeams();
    renderwater();
    if (game.stressview)
      renderbeams();
    renderlevel();
    endworld();
  }
  renderjoints();
  if (breakmark >= 0 && !editor.leveleditor) {
    const beaminfo *b = &beam[breakmark];
    if (b->joint1 >= 0 && b->joint1 < numofjoints && b->joint2 >= 0 && b->joint2 < numofjoints)
      renderbreakmark((joint[b->joint1].pos.x + joint[b->joint2].pos.x) * 0.5f,
                      (joint[b->joint1].pos.y + joint[b->joint2].pos.y) * 0.5f);
  }
  if (!editor.leveleditor)
    renderreach();
  if (editor.state == EDIT_RECTANGLE)
    rendercopy();
  if (editor.leveleditor)
    renderleveleditor();
  glEnable(GL_TEXTURE_2D);
}

static void drawcosts() {
  int extra = numofbeams * BEAMCOST - editor.cost;
  if (extra > 0) {
    float green = editor.cost + extra <= level.budget ? 1.0f : 0.0f;
    drawtext("+/i", 132, 432, 16, 1, green, green, 1, extra);
  }
  drawtext("Cost:", 0, 432, 16, 1, 1, 1, 1);
  drawtext("/i", ALIGN_END | 128, 432, 16, 1, 1, 1, 1, editor.cost);
  drawtext("Budget:", 0, 448, 16, 1, 1, 1, 1);
  drawtext("/i", ALIGN_END | 128, 448, 16, 1, 1, 1, 1, level.budget);
  drawtext("Weight:", 0, 464, 16, 1, 1, 1, 1);
  drawtext("/i", ALIGN_END | 128, 464, 16, 1, 1, 1, 1, game.weight);
}

// Bridge editing with the mouse happens only over the world: the bottom
// row belongs to the buttons, and a text box being edited owns the keys.
static int bridgeinput() {
  return !editor.leveleditor && !textinput.editing && mouse.y < EDITORBUTTONROW;
}

// The first level of the first pack (by position: levels may be renamed)
// tells a new player how to begin, until the first beam is built.
static int hintshown;

static void drawfirsthint() {
  if (numofbeams > 0)
    hintshown = 0;
  if (!hintshown || editor.leveleditor || editor.filemenu != 0 || help.open)
    return;
  drawtext("Click an anchor, then click again to place the beam's end.  h: help",
           ALIGN_CENTER | 320, 48, 14, 1.0f, 0.85f, 0.45f, 1);
}

// What the level asks, under "Test" where no item of the bridge editor
// lies: the name, which way the train goes and how heavy it is.
static void drawgoal() {
  if (editor.leveleditor)
    return;
  const char *way = level.trainstart == 1   ? "right to left"
                    : level.trainstart == 2 ? "there and back"
                                            : "left to right";
  char text[TEXTBUFFER];
  expandtextf(text, "/s: train of /i, /s", game.name, game.weight, way);
  // A long name would run into the open File box: the goal matters more.
  if (editor.filemenu != 0 && 636 - measuretext(text, 14) < 360)
    expandtextf(text, "Train of /i, /s", game.weight, way);
  drawtext("/s", ALIGN_END | 636, 20, 14, 0.8f, 0.88f, 1.0f, 1, text);
}

static void runtest(unsigned int *last) {
  gameloop();
  notebreakmark();
  resethelp();
  *last = SDL_GetTicks();
  testrequest = 0;
  resumeeditor();
  if (game.state == STATE_NEXTLEVEL)
    menuitem[0].active = 1;
}

void editorloop() {
  setupeditor();
  testrequest = 0;
  resethelp();
  hintshown = dirnum == 0 && levelnum == 0 && numofbeams == 0;
  breakmark = -1;
  unsigned int last = SDL_GetTicks();
  resetmenuitems();

  while (!menuitem[0].active && !windowinfo.quit) {
    glClearColor(0.12f, 0.1275f, 0.15f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    declareeditoritems();
    checksystemmessages();
    checkkeyboard();
    checkmouse();
    checkhelp();
    checkmenuitems();
    checkhelprequest();

    checkbreakmark();
    int mouseinput = bridgeinput();
    if (editor.leveleditor)
      checkleveleditor();
    else if (mouseinput)
      checkeditor();
    else
      idleeditor();
    if (editor.leveleditor)
      game.weight = level.weight;

    renderworld();
    setuptextdisplay();
    drawcosts();
    drawgoal();
    drawfirsthint();
    if (!editor.leveleditor) {
      drawlongbeamwarning();
      if (mouseinput)
        draweditorreadout();
    }
    if (game.stressview)
      drawstresslegend();
    drawmenuitems();
    if (help.open)
      drawhelp(editor.leveleditor ? HELP_LEVELEDITOR : HELP_BRIDGEEDITOR);
    if (keywentdown(KEY_F8))
      screenshot();
    drawnotice(SDL_GetTicks());
    drawmousecursor(mouse.x, mouse.y, 16, 1, 1, 1, 1);
    SDL_GL_SwapBuffers();

    if (mouseinput)
      commiteditor();
    runeditorcamera(SDL_GetTicks(), &last, textinput.editing, windowinfo.fullscreen);
    if (keywentdown(KEY_HOME) && !textinput.editing)
      framecrossing();

    if (levelnum == -1 && keywentdown(KEY_F4))
      editor.leveleditor ^= 1;
    if (keyboard[KEY_ESCAPE])
      editor.leveleditor = 0;
    checkeditorsave();
    if (testrequest)
      runtest(&last);
  }
  resetmenuitems();
}
