#include "render/text.h"
#include "screens/screens.h"
#include "shell/fileio.h"
#include "shell/input.h"
#include "ui/menu.h"
#include "world/hint.h"
#include "world/levelfile.h"
#include "world/levellist.h"

int countnames(const char list[][NAMELENGTH]) {
  int n = 0;
  while (n < MAXNAMES && list[n][0])
    n++;
  return n;
}

int listpacks(const char *directory) {
  int entered = enterdirectory(directory);
  listfiles("*.*", dirlist, 1);
  leavedirectory(entered);
  int count = countnames(dirlist);
  // A settings file may hold any number; a negative one is kept in range
  // just like one past the end.
  if (dirnum < 0 || dirnum >= count)
    dirnum = 0;
  return count;
}

int loadfrompack(const char *directory, const char *name, int isbridge, int needpack) {
  int enteredbase = enterdirectory(directory);
  int enteredpack = enterdirectory(getpackname());
  int loaded = 0;
  if (enteredpack || !needpack) {
    loaded = loadoldlevel(name, isbridge);
    loaded |= loadlevel(name, isbridge);
  }
  // A level brings its hint from beside it; the player's bridge loaded
  // over it keeps it.
  if (!isbridge)
    loadhint(name);
  leavedirectory(enteredpack);
  leavedirectory(enteredbase);
  return loaded;
}

// 25 rows of 16 fit between y 80 and the bottom; a list that needs more
// gives up its last one to the position line.
static int fitsonscreen(int count) { return count <= NAMEROWS + 1; }

static void clampnamelist(namecolumn *column, int count) {
  int last = fitsonscreen(count) ? 0 : count - NAMEROWS;
  if (column->first > last)
    column->first = last;
  if (column->first < 0)
    column->first = 0;
}

int declarenamelist(namecolumn *column, const char list[][NAMELENGTH], int count, int *bound) {
  clampnamelist(column, count);
  int rows = fitsonscreen(count) ? count : NAMEROWS;
  int room = MAXMENUITEMS - numofmenuitems;
  if (rows > room)
    rows = room;
  for (int r = 0; r < rows; r++) {
    createmenuitem(list[column->first + r], column->x, 80 + 16 * r, 16, 1, 1, 1, 1);
    setmenuitem(9, bound, column->first + r);
  }
  return rows < 0 ? 0 : rows;
}

// Three rows per notch, as text views scroll.
void scrollnamelist(namecolumn *column, int count) {
  if (fitsonscreen(count) || mouse.x < column->x || mouse.x >= column->x + 320)
    return;
  column->first += 3 * (mouse.wheeldown - mouse.wheelup);
  mouse.wheelup = 0;
  mouse.wheeldown = 0;
  clampnamelist(column, count);
}

void drawnamelistposition(const namecolumn *column, int count) {
  if (fitsonscreen(count))
    return;
  int last = column->first + NAMEROWS < count ? column->first + NAMEROWS : count;
  drawtext("/i-/i of /i, wheel to scroll", column->x, 80 + 16 * NAMEROWS + 2, 12, 0.6f, 0.6f,
           0.6f, 1, column->first + 1, last, count);
}
