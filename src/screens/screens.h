// The menu screens. Each is a loop that runs one frame per pass and returns
// when its item 0 ("Back" or "Exit", hotkey Escape) fires or the window's
// quit flag is set.
#pragma once

void mainmenu();
void optionsmenu();
void startmenu();
void loadlevelmenu();
void loadbridgemenu();

// The frame steps every menu screen shares, in frame order:
//   beginmenuframe   clear to black, numofmenuitems = 0 (then declare items)
//   checkmenuframe   event pump, keyboard, mouse, checkmenuitems
//   (setuptextdisplay and the screen's own texts)
//   finishmenuframe  items, notice line, cursor, swap
void beginmenuframe();
void checkmenuframe();
void finishmenuframe();

// A screen's loop runs while its item 0 has not fired and no close request
// came in.
int menuscreenrunning();

// Map-pack helpers shared by the start game and load menus.
// Lists the subdirectories of `directory` ("level" or "bridge") into dirlist
// and returns their number; a dirnum that names no pack becomes 0.
int listpacks(const char *directory);
// Names in a name list up to its empty entry.
int countnames(const char list[][32]);
// Enters `directory` and then the chosen pack, loads `name` (older format
// first, so that a current-format file wins) and leaves again. With
// `needpack` the files are read only when the pack directory was entered.
// 1 when either format loaded.
int loadfrompack(const char *directory, const char *name, int isbridge, int needpack);
// One column of a list screen: the names from y 80 down, 16 apart, each a
// set item bound to `bound` with its index in the list. A column longer
// than the screen shows NAMEROWS rows from `first` and a position line in
// the last row, and scrolls with the mouse wheel.
constexpr int NAMEROWS = 24;
struct namecolumn {
  int x;
  int first; // index of the top row shown
};
// Declares the visible rows, as many as the item table still holds, and
// returns the number declared (rows first .. first + n - 1).
int declarenamelist(namecolumn *column, const char list[][32], int count, int *bound);
// Wheel notches over a column that does not fit scroll it; they are left
// alone otherwise.
void scrollnamelist(namecolumn *column, int count);
// The position line under a column that does not fit.
void drawnamelistposition(const namecolumn *column, int count);
