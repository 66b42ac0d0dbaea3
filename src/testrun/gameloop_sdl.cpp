#include <GL/gl.h>
#include <SDL.h>

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
#include "sim/bond.h"
#include "testrun/game.h"
#include "testrun/gameloop.h"
#include "testrun/outcome.h"
#include "testrun/replay.h"
#include "testrun/runrecord.h"
#include "testrun/setup.h"
#include "testrun/testrun.h"
#include "testrun/testrunscreen.h"
#include "testrun/verdict.h"
#include "ui/help.h"
#include "ui/menu.h"
#include "ui/notice.h"
#include "ui/textbox.h"
#include "world/level.h"
#include "world/levellist.h"
#include "world/records.h"


static void renderworld(int hoverbond) {
  setupperspectiveviewport(0, 0, 640, 480, 0.25f, 1024.0f);
  setupviewpoint(view.pos, view.orient);
  glDisable(GL_TEXTURE_2D);
  if (!beginworld(gettestrunworldkey())) {
    renderobjects();
    // Stress colours go over the water so they stay readable below it.
    if (!game.stressview) {
      renderbonds();
      renderwater();
    } else {
      renderwater();
      renderbonds();
    }
    renderlevel();
    endworld();
  }
  vector2d mark;
  if (outcome.firstbreak >= 0)
    renderbreakmark(outcome.firstbreakpos.x, outcome.firstbreakpos.y);
  else if (findreplaymark(&mark))
    renderbreakmark(mark.x, mark.y);
  renderhoverbond(hoverbond);
  glEnable(GL_TEXTURE_2D);
}

static void drawline(const verdictline *line) {
  drawtext("/s", ALIGN_CENTER | 320, line->y, 16, line->color[0], line->color[1], line->color[2], 1,
           line->text);
}

static void drawtestruntexts(unsigned int now) {
  if (game.state == STATE_BRIDGE && game.autorun == 1)
    drawtext("Autorun", ALIGN_END | 640, 0, 16, 1, 1, 1, 1);
  drawtext("/s", SPEEDX, SPEEDY, 14, 0.85f, 0.9f, 1.0f, 1, getspeedtext());
  drawtext("Time:", 0, 448, 16, 1, 1, 1, 1);
  drawtext("/i", ALIGN_END | 128, 448, 16, 1, 1, 1, 1, game.steps / STEPSPERSECOND);
  if (game.state > STATE_BRIDGE || game.mode == 0) {
    drawtext("Weight:", 0, 464, 16, 1, 1, 1, 1);
    drawtext("/i", ALIGN_END | 128, 464, 16, 1, 1, 1, 1, game.testweight);
  }
  if (game.state == STATE_BRIDGE && game.mode == 1) {
    drawtext("Weight", 0, 368, 16, 0.75f, 0.75f, 0.75f, 1);
    drawtext("Add per crossing", 0, 400, 16, 0.75f, 0.75f, 0.75f, 1);
  }
  if (game.pause)
    drawtext("Paused", ALIGN_CENTER | 320, 240, 16, 1, 1, 1, 1);
  if (trainrefused)
    drawtext("Bridge too large for the train", ALIGN_CENTER | 320, 32, 16, 1, 0.5f, 0.5f, 1);
  verdictline lines[MAXVERDICTLINES];
  int n = getverdictlines(lines);
  for (int i = 0; i < n; i++)
    drawline(&lines[i]);
  // The notice line takes the record's row while it shows (a failed
  // records save is told there).
  if (getrecordline(&lines[0], getnotice(now) != NULL))
    drawline(&lines[0]);
}

void gameloop() {
  starttestrun(SDL_GetTicks());
  checkrunrecord();  // the last run's cost line must not show in the first frame
  resetmenuitems();
  resethelp();
  for (;;) {
    if (menuitem[0].active || windowinfo.quit || game.state == STATE_NEXTLEVEL)
      break;
    glClearColor(0.256f, 0.272f, 0.32f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    declaretestrunitems();
    checkworldscreeninput();
    // One clock for the whole frame: the notice's lifetime, the steps and
    // the camera ticks all agree on when the frame happened.
    unsigned int now = SDL_GetTicks();
    if (game.weight < 1)
      game.weight = 1;

    // The bond under the mouse, measured above the bottom buttons only.
    int hoverbond = mouse.y < 464 && !help.open ? findbridgebond(getmouseworld(mouse.x, mouse.y)) : -1;
    renderworld(hoverbond);
    setuptextdisplay();
    drawtestruntexts(now);
    drawlongbeamwarning();
    drawbondreadout(hoverbond);
    if (game.stressview)
      drawstresslegend();
    drawmenuitems();
    if (help.open)
      drawhelp(HELP_TESTRUN, game.name);
    if (keywentdown(KEY_F8))
      notescreenshot(screenshot());
    drawnotice(now);
    drawmousecursor(mouse.x, mouse.y, 16, 1, 1, 1, 1);
    SDL_GL_SwapBuffers();

    setsteptime();
    // The help page holds the test as "Pause" does, so nothing is missed
    // while the page covers the world.
    int paused = game.pause;
    game.pause |= help.open;
    checksimulationpace(now);
    if (help.open)  // a replay reaching its pause keeps it
      game.pause = paused;
    checkrunrecord();
    checkcamerapace(now);
    if (keywentdown(KEY_F1))
      restarttestrun(0);
    if (keywentdown(KEY_F2))
      restarttestrun(1);
    if (keywentdown(KEY_HOME) && !textinput.editing)
      framecrossing();
    if (replayrequest)
      startreplay();
    replayrequest = 0;
  }
  resetmenuitems();
}
