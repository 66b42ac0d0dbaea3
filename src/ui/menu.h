// Immediate-style menu items. Each frame a screen sets numofmenuitems to 0,
// declares its items in a fixed order with createmenuitem/setmenuitem, runs
// checkmenuitems and later drawmenuitems. The i-th declared item owns slot i;
// `active` and `wasactive` belong to the slot and survive the re-declaration,
// which is how a screen learns that item i fired.
//
// The check logic is headless (menu.cpp); the drawing half is menu_gl.cpp.
#pragma once

// The position flags (ALIGN_CENTER, ALIGN_END, TEXT_SOLID) are the text
// drawing's: item positions carry the same bits.
#include "render/text.h"

constexpr int MAXMENUITEMS = 256;
constexpr int MENUTEXTLENGTH = 64;
constexpr int NUMKEYBOARDLABELS = 512;

enum : int {
  MENU_BUTTON = 0,
  MENU_TEXTBOX = 1,
  MENU_TOGGLE = 2,
  MENU_SET = 3,
};

// Item states; the drawn brightness is (state + 1) / 4.
enum : int {
  MENUSTATE_DISABLED = 0,
  MENUSTATE_NORMAL = 1,
  MENUSTATE_HOVER = 2,
  MENUSTATE_ACTIVE = 3,
};

// Text box value kinds (inputtype).
enum : int {
  INPUT_INT = 0,
  INPUT_UNSIGNED = 1,
  INPUT_FLOAT = 2,
  INPUT_STRING = 3,
};

struct menuiteminfo {
  char text[MENUTEXTLENGTH]; // label; for a text box the width template
  int x, y;                  // where the label or bitmap is drawn
  int boxx, boxy;            // top-left of the hit area
  int size;                  // glyph height in virtual pixels
  float red, green, blue;    // label colour at full brightness
  int type;                  // MENU_*
  int width, height;         // hit area
  int key;                   // hotkey, index into keyboard[]; 0 = none
  int repeat;                // 1: a held hotkey fires every frame
  int state;                 // MENUSTATE_*
  int active;                // latch read by the screen; survives frames
  int wasactive;             // `active` at the end of the previous check
  int setvalue;              // set item: value stored into *value
  int inputtype;             // text box: INPUT_*
  int textlength;            // strlen(text) at creation; text box capacity
  int masked;                // text box shows asterisks
  int bitmap[4];             // texture per state; bitmap[0] == -1: draw text
  float texcoord[8];         // (s, t) of the four bitmap corners
  int cursor;                // mouse-cursor number while hovered
  void *value;               // bound variable of a text box, toggle or set
  void (*action)();          // behaviour run while active; null for a button
};

extern menuiteminfo menuitem[MAXMENUITEMS];
extern int numofmenuitems;
extern int currentmenuitem;   // item whose action is running
extern char keyboardlabel[NUMKEYBOARDLABELS][16];

// Appends an item in slot numofmenuitems. Beyond MAXMENUITEMS the item is
// ignored, and so are setmenuitem calls aimed at it.
void createmenuitem(const char *text, int x, int y, int size, float red, float green,
                    float blue, float alpha);
// Applies one operation (1..16) to the item declared last.
void setmenuitem(int operation, ...);
void resetmenuitems();
void setupmenuitems();
void checkmenuitems();
// Called once in a frame in which an item fired (the click sound); NULL
// for nothing.
extern void (*menufiredhook)();
void drawmenuitems(); // menu_gl.cpp

// Behaviours stored in `action`.
void menutoggle();
void menuset();

// Width in virtual pixels of the first `count` characters of text (at most
// 63) at the given size, truncating after every character, with the glyph
// advances of the current font. A label's hit area, its alignment and the
// hotkey highlight offset all come from this one rule.
int getmenutextwidth(const char *text, int size, int count = 63);

// Index of the label character drawn brighter as the item's hotkey: the
// first whose upper-case form is the key's one-character label. -1 when the
// item is disabled, its key has no single-character label (Escape) or the
// label lacks that letter.
int findhotkeychar(int item);
