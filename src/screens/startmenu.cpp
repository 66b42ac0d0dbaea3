#include <cstdio>
#include <cstring>

#include "editor/editorloop.h"
#include "geometry/hash.h"
#include "render/text.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/fileio.h"
#include "shell/input.h"
#include "testrun/game.h"
#include "ui/menu.h"
#include "ui/notice.h"
#include "world/level.h"
#include "world/levelfile.h"
#include "world/levellist.h"
#include "screens/playerbridge.h"
#include "world/records.h"

// How each look of the level list shows: open levels as any item, passed
// ones green, locked ones dimmed and unclickable, names that load as no
// level dimmed red and unclickable, with a word at the right saying why.
static void setlevellook(menuiteminfo *item, int look) {
  static const float colour[4][3] = {{1, 1, 1}, {0.45f, 1, 0.45f}, {1, 1, 1}, {1, 0.35f, 0.35f}};
  item->red = colour[look][0];
  item->green = colour[look][1];
  item->blue = colour[look][2];
  if (look == LEVEL_LOCKED || look == LEVEL_UNREADABLE)
    item->state = MENUSTATE_DISABLED;
}

static void declarestartmenu(namecolumn *packs, int numofpacks, namecolumn *levels,
                             int numoflevels) {
  createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  declarenamelist(packs, dirlist, numofpacks, &dirnum);
  int declared = declarenamelist(levels, levellist, numoflevels, &levelnum);
  for (int r = 0; r < declared; r++)
    setlevellook(&menuitem[numofmenuitems - declared + r], getlevellook(levels->first + r));
}

// A level's records at the right of its row, small and dim so the names
// stay the list; left out where a long name would run into them.
static void drawlevelrecords(const namecolumn *levels, int numoflevels) {
  int rows = numoflevels <= NAMEROWS + 1 ? numoflevels : NAMEROWS;
  for (int r = 0; r < rows && levels->first + r < numoflevels; r++) {
    const char *name = levellist[levels->first + r];
    if (getlevellook(levels->first + r) == LEVEL_UNREADABLE) {
      drawtext("unreadable", ALIGN_END | 634, 82 + 16 * r, 12, 0.6f, 0.25f, 0.25f, 1);
      continue;
    }
    int i = findrecord(name);
    if (i < 0)
      continue;
    char text[64] = "";
    if (record[i].cost >= 0)
      snprintf(text, sizeof text, "best %d", record[i].cost);
    if (record[i].weight > 0)
      snprintf(text + strlen(text), sizeof text - strlen(text), "%sheld %d",
               text[0] ? "  " : "", record[i].weight);
    if (levels->x + measuretext(name, 16) + 12 > 634 - measuretext(text, 12))
      continue;
    drawtext("/s", ALIGN_END | 634, 82 + 16 * r, 12, 0.6f, 0.8f, 0.6f, 1, text);
  }
}

// A level that stopped loading since the list was made writes nothing: no
// bridge is saved over the player's, no progress changes.
static void playlevel() {
  strncpy(game.name, levellist[levelnum], sizeof game.name - 1);
  game.name[sizeof game.name - 1] = 0;
  int look = getlevellook(levelnum);
  if (look == LEVEL_LOCKED || look == LEVEL_UNREADABLE)
    return;
  if (!loadfrompack("level", game.name, 0, 0)) {
    levelreadable[levelnum] = 0;
    setnotice(NOTICE_ERROR, "Could not read level %s", game.name);
    return;
  }
  int bridge = loadplayerbridge(game.name);
  uint64_t loadedhash = hashbridge(HASHSTART);
  editorloop();
  saveplayerbridge(game.name, bridge, loadedhash);
  saveprogess();
  // Another copy of the game may have set records meanwhile.
  loadrecords();
}

// The list, which of its names load, the progress and the records of the
// chosen pack.
static int openpack() {
  int numoflevels = getlevellist();
  checklevellist(numoflevels);
  loadrecords();
  return numoflevels;
}

void startmenu() {
  int numofpacks = listpacks("level");
  int previouspack = dirnum;
  levelnum = -1;
  int numoflevels = openpack();
  namecolumn packs = {0, 0}, levels = {320, 0};
  // The chosen pack in view, however far down the list it is.
  packs.first = dirnum - NAMEROWS / 2;
  resetmenuitems();

  while (menuscreenrunning()) {
    beginmenuframe();
    declarestartmenu(&packs, numofpacks, &levels, numoflevels);
    checkmenuframe();
    scrollnamelist(&packs, numofpacks);
    scrollnamelist(&levels, numoflevels);
    if (dirnum != previouspack) {
      numoflevels = openpack();
      levels.first = 0;
    }
    previouspack = dirnum;

    setuptextdisplay();
    drawtext("Start Game", ALIGN_CENTER | 320, 0, 16, 1, 1, 1, 1);
    drawtext("Map Pack", 0, 48, 16, 1, 1, 1, 1);
    drawtext("Level", 320, 48, 16, 1, 1, 1, 1);
    drawnamelistposition(&packs, numofpacks);
    drawnamelistposition(&levels, numoflevels);
    drawlevelrecords(&levels, numoflevels);
    finishmenuframe();

    if (levelnum != -1 && levelnum < numoflevels)
      playlevel();
    levelnum = -1;
  }
  resetmenuitems();
}
