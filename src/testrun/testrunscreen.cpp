#include "testrun/testrunscreen.h"

#include "render/text.h"
#include "shell/input.h"
#include "testrun/game.h"
#include "testrun/replay.h"
#include "testrun/testrun.h"
#include "ui/help.h"
#include "ui/menu.h"

static void declareitem(const char *text, int x, int y) { createmenuitem(text, x, y, 16, 1, 1, 1, 1); }

int replayrequest;

void declaretestrunitems() {
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

