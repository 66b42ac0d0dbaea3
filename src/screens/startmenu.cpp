#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "editor/editorloop.h"
#include "render/text.h"
#include "screens/screens.h"
#include "shell/config.h"
#include "shell/fileio.h"
#include "shell/input.h"
#include "testrun/game.h"
#include "ui/menu.h"
#include "world/levelfile.h"
#include "world/levellist.h"
#include "world/records.h"

// Levels unlock in list order. The progress table holds 64 flags, so a level
// further down follows the last flag there is: once level 63 is passed,
// everything after it is open as well.
static int levelunlocked(int j) {
  if (j <= 0)
    return 1;
  int before = j - 1 < MAXPROGRESS ? j - 1 : MAXPROGRESS - 1;
  return levelpassed[before] != 0;
}

static void declarestartmenu(namecolumn *packs, int numofpacks, namecolumn *levels,
                             int numoflevels) {
  createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  declarenamelist(packs, dirlist, numofpacks, &dirnum);
  int declared = declarenamelist(levels, levellist, numoflevels, &levelnum);
  for (int r = 0; r < declared; r++)
    if (!levelunlocked(levels->first + r))
      menuitem[numofmenuitems - declared + r].state = MENUSTATE_DISABLED;
}

// The bridge goes back every time, changed or not, into bridge/<pack>,
// which is made on first use.
static void savebridge(const char *name) {
  int enteredbase = enterdirectory("bridge");
  const char *pack = getpackname();
  if (pack[0])
    mkdir(pack, 0777);
  int enteredpack = enterdirectory(pack);
  savelevel(name, 1);
  leavedirectory(enteredpack);
  leavedirectory(enteredbase);
}

// A level's records at the right of its row, small and dim so the names
// stay the list; left out where a long name would run into them.
static void drawlevelrecords(const namecolumn *levels, int numoflevels) {
  int rows = numoflevels <= NAMEROWS + 1 ? numoflevels : NAMEROWS;
  for (int r = 0; r < rows && levels->first + r < numoflevels; r++) {
    const char *name = levellist[levels->first + r];
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

static void playlevel() {
  strncpy(game.name, levellist[levelnum], sizeof game.name - 1);
  game.name[sizeof game.name - 1] = 0;
  loadfrompack("level", game.name, 0, 0);
  loadfrompack("bridge", game.name, 1, 1);
  editorloop();
  savebridge(game.name);
  saveprogess();
  levelnum = -1;
}

void startmenu() {
  int numofpacks = listpacks("level");
  int previouspack = dirnum;
  levelnum = -1;
  int numoflevels = getlevellist();
  loadrecords();
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
      numoflevels = getlevellist();
      loadrecords();
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
