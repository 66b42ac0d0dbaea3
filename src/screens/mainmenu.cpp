#include "render/text.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/input.h"
#include "ui/menu.h"

// Slots in declaration order; the screens below react in this order too.
enum : int {
  MAIN_EXIT,
  MAIN_OPTIONS,
  MAIN_LOADLEVEL,
  MAIN_LOADBRIDGE,
  MAIN_STARTGAME,
};

static void declaremainmenu() {
  static const struct {
    const char *text;
    int y;
    int size;
    int key;
  } items[] = {
      {"Exit", 400, 16, KEY_ESCAPE},   {"Options", 384, 16, 'o'},
      {"Load Level", 368, 16, 'l'},    {"Load Bridge", 352, 16, 'b'},
      {"Start Game", 336, 16, 's'},
  };
  for (const auto &item : items) {
    createmenuitem(item.text, ALIGN_CENTER | 320, item.y, item.size, 1, 1, 1, 1);
    if (item.key)
      setmenuitem(1, item.key);
  }
}

void mainmenu() {
  resetmenuitems();
  while (menuscreenrunning()) {
    beginmenuframe();
    declaremainmenu();
    checkmenuframe();

    setuptextdisplay();
    drawtext("Spanwright", ALIGN_CENTER | 320, 160, 32, 1, 1, 1, 1);
    drawtext("Version 1.25", ALIGN_CENTER | 320, 208, 12, 1, 1, 1, 1);
    drawtext("A bridge-building game by the Spanwright team", ALIGN_CENTER | 320, 448, 12, 1,
             1, 1, 1);
    finishmenuframe();

    // Every sub-screen clears all latches on entry and exit, so at most one
    // of these runs per frame.
    if (menuitem[MAIN_OPTIONS].active)
      optionsmenu();
    if (menuitem[MAIN_LOADLEVEL].active)
      loadlevelmenu();
    if (menuitem[MAIN_LOADBRIDGE].active)
      loadbridgemenu();
    if (menuitem[MAIN_STARTGAME].active)
      startmenu();
  }
  resetmenuitems();
}
