#include "render/text.h"
#include "screens/screens.h"
#include "shell/fileio.h"
#include "ui/menu.h"
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

void loadfrompack(const char *directory, const char *name, int isbridge, int needpack) {
  int enteredbase = enterdirectory(directory);
  int enteredpack = enterdirectory(getpackname());
  if (enteredpack || !needpack) {
    loadoldlevel(name, isbridge);
    loadlevel(name, isbridge);
  }
  leavedirectory(enteredpack);
  leavedirectory(enteredbase);
}

int declarenamelist(const char list[][NAMELENGTH], int count, int x, int *bound) {
  int room = MAXMENUITEMS - numofmenuitems;
  if (count > room)
    count = room;
  for (int j = 0; j < count; j++) {
    createmenuitem(list[j], x, 80 + 16 * j, 16, 1, 1, 1, 1);
    setmenuitem(9, bound, j);
  }
  return count < 0 ? 0 : count;
}
