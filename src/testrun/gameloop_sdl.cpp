#include <GL/gl.h>
#include <SDL.h>

#include "editor/editor.h"
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
#include "ui/help.h"
#include "ui/menu.h"
#include "ui/notice.h"
#include "ui/textbox.h"
#include "world/level.h"
#include "world/levellist.h"
#include "world/records.h"

static void declareitem(const char *text, int x, int y) { createmenuitem(text, x, y, 16, 1, 1, 1, 1); }

static int replayrequest;  // set by the "Replay" item

// Rebuilt every frame in this order so that "Edit" is always item 0; the
// conditions read the state as it was at the start of the frame.
static void declaretestrunitems() {
  numofmenuitems = 0;
  declareitem("Edit", 0, 0);
  setmenuitem(1, KEY_ESCAPE);
  declareitem("Pause", 160, 464);
  setmenuitem(8, &game.pause);
  setmenuitem(1, 'p');
  declareitem("Slow", 240, 464);
  setmenuitem(8, &game.slow);
  setmenuitem(1, 'l');
  declareitem("Fast", 320, 464);
  setmenuitem(8, &game.fast);
  setmenuitem(1, 'f');
  declareitem("Very Fast", 400, 464);
  setmenuitem(8, &game.veryfast);
  setmenuitem(1, 'v');
  declareitem("Stress", 560, 464);
  setmenuitem(8, &game.stressview);
  setmenuitem(1, 'r');
  if (game.stressview) {
    declareitem("Max", 520, 464);
    setmenuitem(8, &game.maxstress);
    setmenuitem(1, 'x');
  }
  if (game.state == STATE_BRIDGE && isprogressiveoffered()) {
    declareitem("Normal", 160, 0);
    setmenuitem(9, &game.mode, 0);
    setmenuitem(1, KEY_F2);
    declareitem("Progressive", 320, 0);
    setmenuitem(9, &game.mode, 1);
    setmenuitem(1, KEY_F3);
  }
  if (game.state == STATE_BRIDGE && game.autorun == 0) {
    declareitem("Run Train", ALIGN_END | 640, 0);
    setmenuitem(9, &game.state, (int)STATE_CALLED);
    setmenuitem(1, 't');
  }
  if (game.state == STATE_BRIDGE && game.mode == 1) {
    declareitem("Weight", 0, 384);
    setmenuitem(3, &game.weight);
    setmenuitem(1, 'g');
    declareitem("Add  ", 0, 416);
    setmenuitem(3, &game.add);
    setmenuitem(1, KEY_RETURN);
  }
  if (game.state == STATE_PASSED) {
    declareitem("Next Level", ALIGN_END | 640, 0);
    setmenuitem(9, &game.state, (int)STATE_NEXTLEVEL);
    setmenuitem(1, 'n');
  }
  if (canreplay()) {
    declareitem("Replay", ALIGN_END | 640, 16);
    setmenuitem(9, &replayrequest, 1);
    setmenuitem(1, 'b');
  }
  declarehelpitem();
}

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

static void drawtestruntexts() {
  if (game.state == STATE_BRIDGE && game.autorun == 1)
    drawtext("Autorun", ALIGN_END | 640, 0, 16, 1, 1, 1, 1);
  drawtext("Time:", 0, 448, 16, 1, 1, 1, 1);
  drawtext("/i", ALIGN_END | 128, 448, 16, 1, 1, 1, 1, game.steps / STEPSPERSECOND);
  if (game.state > STATE_BRIDGE || game.mode == 0) {
    drawtext("Weight:", 0, 464, 16, 1, 1, 1, 1);
    drawtext("/i", ALIGN_END | 128, 464, 16, 1, 1, 1, 1, game.testweight);
  }
  if (game.state > STATE_BRIDGE && game.mode == 1 && outcome.failure == FAILURE_NONE)
    drawtext("Progressive Test", ALIGN_CENTER | 320, 0, 16, 1, 1, 1, 1);
  if (game.state == STATE_PASSED)
    drawtext("Test Passed", ALIGN_CENTER | 320, 0, 16, 1, 1, 1, 1);
  if (game.pause)
    drawtext("Paused", ALIGN_CENTER | 320, 240, 16, 1, 1, 1, 1);
  if (trainrefused)
    drawtext("Bridge too large for the train", ALIGN_CENTER | 320, 32, 16, 1, 0.5f, 0.5f, 1);
}

// The top centre, below "Test Passed" or "Test Failed": why it failed, what
// a progressive test held, and when the first beam broke.
static void drawverdict() {
  vector2d mark;
  if (game.state == STATE_BRIDGE && game.mode == 1) {
    drawtext("Weight", 0, 368, 16, 0.75f, 0.75f, 0.75f, 1);
    drawtext("Add per crossing", 0, 400, 16, 0.75f, 0.75f, 0.75f, 1);
  }
  if (outcome.failure != FAILURE_NONE && game.state != STATE_PASSED) {
    const char *reason = outcome.failure == FAILURE_FELL      ? "The train fell"
                         : outcome.failure == FAILURE_STOPPED ? "The train stopped"
                                                              : "Time ran out";
    drawtext("Test Failed", ALIGN_CENTER | 320, 0, 16, 1.0f, 0.42f, 0.36f, 1);
    drawtext(reason, ALIGN_CENTER | 320, 16, 16, 1, 1, 1, 1);
    if (game.mode == 1 && outcome.held > 0)
      drawtext("Held /i", ALIGN_CENTER | 320, 32, 16, 1, 1, 1, 1, outcome.held);
    else if (game.mode == 1)
      drawtext("Held nothing", ALIGN_CENTER | 320, 32, 16, 1, 1, 1, 1);
  }
  // A pass counts every car across, even over a bridge in pieces: say which.
  if (game.state == STATE_PASSED && bridgebreak.count == 0)
    drawtext("Bridge intact", ALIGN_CENTER | 320, 16, 16, 1, 1, 1, 1);
  else if (game.state == STATE_PASSED)
    drawtext(bridgebreak.count == 1 ? "/i beam broke" : "/i beams broke", ALIGN_CENTER | 320, 16, 16, 1.0f,
             0.9f, 0.15f, 1, bridgebreak.count);
  if (outcome.firstbreak < 0 && findreplaymark(&mark)) {
    int step = replay.breakstep;
    drawtext("Replay: the ringed beam breaks at /i./i s", ALIGN_CENTER | 320, 48, 16, 1.0f, 0.9f, 0.15f, 1,
             step / STEPSPERSECOND, step % STEPSPERSECOND / 6);
  }
  if (outcome.firstbreak >= 0) {
    int step = outcome.firstbreakstep;
    drawtext("First break: /i./i s, /s", ALIGN_CENTER | 320, 48, 16, 1.0f, 0.9f, 0.15f, 1,
             step / STEPSPERSECOND, step % STEPSPERSECOND / 6,
             outcome.firstbreakside ? "compressed" : "stretched");
  }
}

// Below the verdict lines at the top centre: this bridge against the best.
static void drawrunrecord() {
  const float gold[3] = {1.0f, 0.85f, 0.3f};
  // The notice line takes this row while it shows (a failed records save
  // is told there).
  if (levelnum < 0 || getnotice(SDL_GetTicks()))
    return;
  if (game.mode == 0 && runrecord.cost >= 0) {
    if (runrecord.beaten & RECORD_COST)
      drawtext("Cost /i  New best", ALIGN_CENTER | 320, 64, 16, gold[0], gold[1], gold[2], 1,
               runrecord.cost);
    else if (runrecord.cost > level.budget)
      drawtext("Cost /i is over budget: no record", ALIGN_CENTER | 320, 64, 16, 1, 1, 1, 1,
               runrecord.cost);
    else if (runrecord.best >= 0)
      drawtext("Cost /i  Best /i", ALIGN_CENTER | 320, 64, 16, 1, 1, 1, 1, runrecord.cost,
               runrecord.best);
    else // a first record that could not be saved
      drawtext("Cost /i", ALIGN_CENTER | 320, 64, 16, 1, 1, 1, 1, runrecord.cost);
  }
  int i = findrecord(game.name);
  if (game.mode == 1 && game.state > STATE_BRIDGE && i >= 0 && record[i].weight > 0) {
    if (runrecord.beaten & RECORD_WEIGHT)
      drawtext("Heaviest across /i  New best", ALIGN_CENTER | 320, 64, 16, gold[0], gold[1],
               gold[2], 1, record[i].weight);
    else
      drawtext("Heaviest across /i", ALIGN_CENTER | 320, 64, 16, 1, 1, 1, 1, record[i].weight);
  }
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
    checksystemmessages();
    checkkeyboard();
    checkmouse();
    checkhelp();
    checkmenuitems();
    checkhelprequest();
    if (game.weight < 1)
      game.weight = 1;

    // The bond under the mouse, measured above the bottom buttons only.
    int hoverbond = mouse.y < 464 && !help.open ? findbridgebond(getmouseworld(mouse.x, mouse.y)) : -1;
    renderworld(hoverbond);
    setuptextdisplay();
    drawtestruntexts();
    drawverdict();
    drawrunrecord();
    drawlongbeamwarning();
    drawbondreadout(hoverbond);
    if (game.stressview)
      drawstresslegend();
    drawmenuitems();
    if (help.open)
      drawhelp(HELP_TESTRUN);
    if (keywentdown(KEY_F8))
      screenshot();
    drawnotice(SDL_GetTicks());
    drawmousecursor(mouse.x, mouse.y, 16, 1, 1, 1, 1);
    SDL_GL_SwapBuffers();

    unsigned int now = SDL_GetTicks();
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
