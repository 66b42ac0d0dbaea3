// The help page of a screen: its controls over the dimmed world, opened by
// the screen's "Help" item (hotkey h) and closed by any key or click.
//
// While the page is open the screen must not see the input at all, and
// the press that closes it must not act on the screen either, not even
// later while it is still held (a held w would pan the camera, a held
// button would draw). So the keys and buttons down when the page opens or
// closes are withheld from the screen until each is released:
//
//   frame                        help.open   the screen sees
//   h goes down (item fires)     0 -> 1      nothing after the item check
//   h held, then released        1           nothing
//   t goes down                  1 -> 0      nothing
//   t held                       0           everything but t
//   t released, t down again     0           t
#pragma once

#include "shell/input.h"
#include "world/hint.h"

enum : int {
  HELP_BRIDGEEDITOR = 0,
  HELP_LEVELEDITOR = 1,
  HELP_TESTRUN = 2,
  NUMHELPPAGES = 3,
};

struct helpline {
  const char *keys; // "" for a line of prose across both columns
  const char *action;
};

struct helpinfo {
  int open;
  int request;                     // set by the "Help" item
  unsigned char held[KEY_LAST];    // down since the page opened or closed
  int heldleft;
  int heldright;
};

extern helpinfo help;
// Each page ends with an entry whose action is NULL.
extern const char *const helptitle[NUMHELPPAGES];
extern const helpline *const helppage[NUMHELPPAGES];

// The level's hint as the bridge editor's page shows it: the lines of the
// steps open after `failed` failed tests, filled from the level, a blank
// line between steps, and while a step is still closed a last line saying
// how many more failed tests open it.
constexpr int MAXHINTPAGELINES = MAXHINTSTEPS * (MAXHINTLINES + 1) + 1;
struct hintpageinfo {
  int numoflines;
  int step[MAXHINTPAGELINES];  // the step a line belongs to; -1 the closing line
  char line[MAXHINTPAGELINES][HINTLINELENGTH + 1];
};
void makehintpage(hintpageinfo *out, const hintinfo *hint, int failed);
// The same for the loaded level's hint and the player's count of failed
// tests on the level of that name in the pack's records.
void makelevelhintpage(hintpageinfo *out, const char *levelname);

// Where a page's rows go: `rows` lines of controls from HELPTOP down, keys
// at HELPKEYX, then, a row apart, the hint page's lines.
constexpr int HELPTOP = 72;
constexpr int HELPKEYX = 48;
struct helplayout {
  int pitch;     // virtual pixels from one row to the next
  int size;      // text size of the controls
  int hintx;     // left edge of the hint lines
  int hintsize;  // their text size, small enough for the widest to fit
};
void layouthelp(helplayout *out, int rows, const hintpageinfo *hint);

// The "Help" item, declared by each of the three screens.
void declarehelpitem();
// After polling the keyboard and mouse, before checkmenuitems: closes an
// open page on a press and withholds what the table above says.
void checkhelp();
// After checkmenuitems: opens the page when the "Help" item fired, and
// withholds the rest of this frame's input from the screen.
void checkhelprequest();
// A world screen's input for the frame, in the order every screen polls:
// system messages, keyboard and mouse, then the items with the help page
// around them (checkhelp, checkmenuitems, checkhelprequest).
void checkworldscreeninput();
// Back to closed with nothing withheld, when a screen is entered.
void resethelp();
// The dimmed world and the page (help_gl.cpp), after the screen's items.
void drawhelp(int page, const char *levelname);
