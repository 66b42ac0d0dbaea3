#include <sys/stat.h>

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

// Levels unlock in list order. The progress table holds 64 flags, so a level
// further down follows the last flag there is: once level 63 is passed,
// everything after it is open as well.
static int levelunlocked(int j) {
  if (j <= 0)
    return 1;
  int before = j - 1 < MAXPROGRESS ? j - 1 : MAXPROGRESS - 1;
  return levelpassed[before] != 0;
}

static void declarestartmenu(int numofpacks, int numoflevels) {
  createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  declarenamelist(dirlist, numofpacks, 0, &dirnum);
  int declared = declarenamelist(levellist, numoflevels, 320, &levelnum);
  for (int j = 1; j < declared; j++)
    if (!levelunlocked(j))
      menuitem[numofmenuitems - declared + j].state = MENUSTATE_DISABLED;
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
  resetmenuitems();

  while (menuscreenrunning()) {
    beginmenuframe();
    declarestartmenu(numofpacks, numoflevels);
    checkmenuframe();
    if (dirnum != previouspack)
      numoflevels = getlevellist();
    previouspack = dirnum;

    setuptextdisplay();
    drawtext("Start Game", ALIGN_CENTER | 320, 0, 16, 1, 1, 1, 1);
    drawtext("Map Pack", 0, 48, 16, 1, 1, 1, 1);
    drawtext("Level", 320, 48, 16, 1, 1, 1, 1);
    finishmenuframe();

    if (levelnum != -1 && levelnum < numoflevels)
      playlevel();
    levelnum = -1;
  }
  resetmenuitems();
}
