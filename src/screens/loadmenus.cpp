#include <cstring>

#include "editor/editorloop.h"
#include "render/text.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/fileio.h"
#include "shell/input.h"
#include "testrun/game.h"
#include "ui/menu.h"
#include "world/hint.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"

enum : int { LOAD_BACK, LOAD_NEWLEVEL };

// The two load screens differ only in their directory: the pack list of their own
// directory, the names of the chosen pack, and a chosen entry that opens the
// editor in free mode (levelnum -1: no progress, level editor allowed).
// Nothing is saved when the editor returns.
struct loadscreen {
  const char *directory;  // "level" or "bridge"
  const char *title;
  const char *heading;    // of the name column
  int isbridge;
  int numofpacks;
  int numofnames;
  int previouspack;
  int chosen;             // entry of levellist, -1 when none
  namecolumn packs;
  namecolumn names;
};

static int getnamelist(const loadscreen *screen) {
  return screen->isbridge ? getbridgelist() : getlevellist();
}

static void openchosen(loadscreen *screen) {
  strncpy(game.name, levellist[screen->chosen], sizeof game.name - 1);
  game.name[sizeof game.name - 1] = 0;
  clearhint();  // a bridge opened on its own has no level hint
  loadfrompack(screen->directory, game.name, screen->isbridge, 1);
  editorloop();
  screen->chosen = -1;
}

static void opennewlevel(loadscreen *screen) {
  createlevel();
  clearhint();
  strcpy(game.name, "newlevel");
  editorloop();
  // A level saved in the editor shows up in the list.
  screen->numofnames = getnamelist(screen);
  menuitem[LOAD_NEWLEVEL].active = 0;
}

static void runloadscreen(loadscreen *screen) {
  screen->numofpacks = listpacks(screen->directory);
  screen->previouspack = dirnum;
  screen->packs = {0, dirnum - NAMEROWS / 2};
  screen->names = {320, 0};
  levelnum = -1;
  screen->chosen = -1;
  screen->numofnames = getnamelist(screen);
  resetmenuitems();

  while (menuscreenrunning()) {
    beginmenuframe();
    createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
    setmenuitem(1, KEY_ESCAPE);
    if (!screen->isbridge) {
      createmenuitem("New Level", ALIGN_END | 640, 464, 16, 1, 1, 1, 1);
      setmenuitem(1, 'n');
    }
    declarenamelist(&screen->packs, dirlist, screen->numofpacks, &dirnum);
    declarenamelist(&screen->names, levellist, screen->numofnames, &screen->chosen);
    checkmenuframe();
    scrollnamelist(&screen->packs, screen->numofpacks);
    scrollnamelist(&screen->names, screen->numofnames);
    if (dirnum != screen->previouspack) {
      screen->numofnames = getnamelist(screen);
      screen->names.first = 0;
    }
    screen->previouspack = dirnum;

    setuptextdisplay();
    drawtext(screen->title, ALIGN_CENTER | 320, 0, 16, 1, 1, 1, 1);
    drawtext("Map Pack", 0, 48, 16, 1, 1, 1, 1);
    drawtext(screen->heading, 320, 48, 16, 1, 1, 1, 1);
    drawnamelistposition(&screen->packs, screen->numofpacks);
    drawnamelistposition(&screen->names, screen->numofnames);
    finishmenuframe();

    if (screen->chosen != -1 && screen->chosen < screen->numofnames)
      openchosen(screen);
    screen->chosen = -1;
    if (!screen->isbridge && menuitem[LOAD_NEWLEVEL].active)
      opennewlevel(screen);
  }
  resetmenuitems();
}

void loadlevelmenu() {
  loadscreen screen = {"level", "Load Level", "Level", 0, 0, 0, 0, -1, {0, 0}, {320, 0}};
  runloadscreen(&screen);
}

void loadbridgemenu() {
  loadscreen screen = {"bridge", "Load Bridge", "Bridge", 1, 0, 0, 0, -1, {0, 0}, {320, 0}};
  runloadscreen(&screen);
}
