#include <GL/gl.h>
#include <SDL.h>

#include "editor/breakmark.h"
#include "editor/editor.h"
#include "editor/editorfile.h"
#include "editor/editorloop.h"
#include "editor/editorscreen.h"
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
  if (!editor.leveleditor) {
    editorfocus focus = geteditorfocus();
    renderreach(&focus);
  }
  if (editor.state == EDIT_RECTANGLE)
    rendercopy();
  if (editor.leveleditor)
    renderleveleditor();
  glEnable(GL_TEXTURE_2D);
}

static void drawcosts() {
  costreadout c = getcostreadout();
  if (c.extra > 0) {
    float green = c.extrafits ? 1.0f : 0.0f;
    drawtext("+/i", 132, 432, 16, 1, green, green, 1, c.extra);
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

static void drawgoal() {
  char text[TEXTBUFFER];
  if (getgoaltext(text))
    drawtext("/s", ALIGN_END | GOALRIGHT, GOALY, GOALSIZE, 0.8f, 0.88f, 1.0f, 1, text);
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
    checkworldscreeninput();
    // One clock for the frame: the notice's lifetime and the camera ticks.
    unsigned int now = SDL_GetTicks();

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
      editorfocus focus = geteditorfocus();
      if (!help.open)
        drawstresslabels(focus.tested);
      drawlongbeamwarning();
      if (mouseinput)
        draweditorreadout(&focus);
    }
    if (game.stressview)
      drawstresslegend();
    drawmenuitems();
    if (help.open)
      drawhelp(editor.leveleditor ? HELP_LEVELEDITOR : HELP_BRIDGEEDITOR, game.name);
    if (keywentdown(KEY_F8))
      notescreenshot(screenshot());
    drawnotice(now);
    drawmousecursor(mouse.x, mouse.y, 16, 1, 1, 1, 1);
    SDL_GL_SwapBuffers();

    if (mouseinput)
      commiteditor();
    runeditorcamera(now, &last, textinput.editing, windowinfo.fullscreen);
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
