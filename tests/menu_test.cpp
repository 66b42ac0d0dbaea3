#include <gtest/gtest.h>

#include "menu_frames.h"

namespace {

// Three buttons in a column: "Back" (Escape) at y 0, "Options" (o) at y 16,
// "Load" (l) at y 32, all at x 0, size 16.
void declarebuttons(int repeatsecond = 0, int disablethird = 0) {
  numofmenuitems = 0;
  createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  createmenuitem("Options", 0, 16, 16, 1, 1, 1, 1);
  setmenuitem(1, 'o');
  if (repeatsecond)
    setmenuitem(10);
  createmenuitem("Load", 0, 32, 16, 1, 1, 1, 1);
  setmenuitem(1, 'l');
  if (disablethird)
    setmenuitem(2, 0);
}

// One frame on the three buttons: declare, poll, check.
void buttons(int x, int y, int left, std::initializer_list<int> keys = {}, int repeat = 0,
             int disable = 0) {
  declarebuttons(repeat, disable);
  menuinput(x, y, left, keys);
  checkmenuitems();
}

// One frame of any screen.
template <class F> void step(F declare, int x, int y, int left, std::initializer_list<int> keys = {}) {
  declare();
  menuinput(x, y, left, keys);
  checkmenuitems();
}

int calls;
void countcall() { calls++; }

} // namespace

TEST(Menu, PlacementAndAlignment) {
  clearmenustate();
  numofmenuitems = 0;
  // centred on x 320: 4 glyphs of 8 -> 32 wide, left edge at 304
  createmenuitem("Exit", ALIGN_CENTER | 320, 400, 16, 1, 1, 1, 1);
  EXPECT_EQ(menuitem[0].boxx, 304);
  // vertical end uses the size, not the glyph width
  createmenuitem("A", 0, ALIGN_END | 480, 12, 1, 1, 1, 1);
  EXPECT_EQ(menuitem[1].y, 468);
  // the width truncates after every glyph: 3.5 + 3.5 + 3.5 -> 3, 6, 9 (not 10)
  setupmenufont(0.35f);
  createmenuitem("abc", 0, 0, 10, 1, 1, 1, 1);
  EXPECT_EQ(menuitem[2].width, 9);
  // a text box is aligned by its measured label, then widened to
  // textlength * size regardless of the glyphs
  setupmenufont(0.5f);
  int value = 0;
  createmenuitem("00000", ALIGN_END | 640, 0, 16, 1, 1, 1, 1);
  setmenuitem(3, &value);
  EXPECT_EQ(menuitem[3].boxx, 640 - 40);
  EXPECT_EQ(menuitem[3].width, 80);
  // an explicit hit area: centre subtracts half (truncating), end the whole
  createmenuitem("", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(12, ALIGN_CENTER | 320, ALIGN_END | 100, 101, 20);
  EXPECT_EQ(menuitem[4].boxx, 270);
  EXPECT_EQ(menuitem[4].boxy, 80);
  // a label longer than 63 characters is measured over its first 63
  char longtext[100];
  memset(longtext, 'a', 99);
  longtext[99] = 0;
  createmenuitem(longtext, 0, 0, 16, 1, 1, 1, 1);
  EXPECT_EQ(menuitem[5].width, 63 * 8);
  EXPECT_EQ((int)strlen(menuitem[5].text), 63);
}

TEST(Menu, ClickLatches) {
  clearmenustate();
  // press on "Options": it latches and the state shows active
  buttons(4, 20, 1);
  EXPECT_EQ(menuitem[1].active, 1);
  EXPECT_EQ(menuitem[1].state, MENUSTATE_ACTIVE);
  // held and released: the latch stays until something clears it
  buttons(4, 20, 1);
  buttons(4, 20, 0);
  EXPECT_EQ(menuitem[1].active, 1);
  // a press on another item clears the first latch in the same frame
  buttons(4, 36, 1);
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(menuitem[2].active, 1);
  // a press on empty space clears everything
  buttons(4, 36, 0);
  buttons(300, 300, 1);
  for (int i = 0; i < 3; i++)
    EXPECT_EQ(menuitem[i].active, 0) << i;
  // hover without press: state 2, no latch; the right edge is outside
  buttons(4, 4, 0);
  EXPECT_EQ(menuitem[0].state, MENUSTATE_HOVER);
  EXPECT_EQ(menuitem[0].active, 0);
  buttons(32, 4, 0);
  EXPECT_EQ(menuitem[0].state, MENUSTATE_NORMAL);
}

TEST(Menu, HotkeysRepeatAndDisabled) {
  clearmenustate();
  // a held hotkey fires once, on the frame it goes down
  buttons(600, 600, 0, {'o'});
  EXPECT_EQ(menuitem[1].active, 1);
  menuitem[1].active = 0;
  buttons(600, 600, 0, {'o'});
  EXPECT_EQ(menuitem[1].active, 0);
  // with repeat it fires every frame it is held, and unlatches on release
  for (int frame = 0; frame < 2; frame++) {
    buttons(600, 600, 0, {'o'}, 1);
    EXPECT_EQ(menuitem[1].active, 1) << frame;
  }
  buttons(600, 600, 0, {}, 1);
  EXPECT_EQ(menuitem[1].active, 0);
  // a disabled item under the mouse: no hover, no latch, no hotkey, no cursor
  font[0].cursor = 7;
  declarebuttons(0, 1);
  menuitem[2].cursor = 3;
  menuinput(4, 36, 1, {'l'});
  checkmenuitems();
  EXPECT_EQ(menuitem[2].state, MENUSTATE_DISABLED);
  EXPECT_EQ(menuitem[2].active, 0);
  EXPECT_EQ(font[0].cursor, 0);
  // an enabled hovered item hands its cursor to the font
  declarebuttons();
  menuitem[2].cursor = 3;
  menuinput(4, 36, 0);
  checkmenuitems();
  EXPECT_EQ(font[0].cursor, 3);
  // a key code outside the keyboard table never fires nor reads past it
  numofmenuitems = 0;
  createmenuitem("X", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, 5000);
  menuinput(600, 600, 0);
  checkmenuitems();
  EXPECT_EQ(menuitem[0].active, 0);
}

TEST(Menu, TogglesSetsAndActions) {
  clearmenustate();
  int mode = 1, flag = 0;
  auto declare = [&] {
    numofmenuitems = 0;
    for (int j = 0; j < 3; j++) {
      createmenuitem("Row", 0, 80 + 16 * j, 16, 1, 1, 1, 1);
      setmenuitem(9, &mode, j);
    }
    createmenuitem("Fullscreen", 0, 160, 16, 1, 1, 1, 1);
    setmenuitem(8, &flag);
    createmenuitem("Go", 0, 200, 16, 1, 1, 1, 1);
    setmenuitem(7, countcall);
  };
  // only the sibling whose value matches shows active
  step(declare, 600, 600, 0);
  EXPECT_EQ(menuitem[0].state, MENUSTATE_NORMAL);
  EXPECT_EQ(menuitem[1].state, MENUSTATE_ACTIVE);
  EXPECT_EQ(menuitem[2].state, MENUSTATE_NORMAL);
  // clicking row 2 stores 2 and its latch is already cleared
  step(declare, 4, 116, 1);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(menuitem[2].active, 0);
  // the toggle flips once per press and shows active while on
  step(declare, 4, 164, 0);
  step(declare, 4, 164, 1);
  EXPECT_EQ(flag, 1);
  step(declare, 4, 164, 1);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(menuitem[3].state, MENUSTATE_ACTIVE);
  // a button with its own action runs it once and does not stay latched
  calls = 0;
  step(declare, 4, 204, 0);
  step(declare, 4, 204, 1);
  step(declare, 4, 204, 1);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(menuitem[4].active, 0);
}

TEST(Menu, CapacityAndReset) {
  clearmenustate();
  // items past the table are ignored, and so are operations aimed at them
  numofmenuitems = 0;
  for (int i = 0; i < MAXMENUITEMS; i++)
    createmenuitem("x", 0, 0, 16, 1, 1, 1, 1);
  int bound = 0;
  setmenuitem(1, 'q');
  for (int i = 0; i < 40; i++) {
    createmenuitem("y", 0, 0, 16, 1, 1, 1, 1);
    setmenuitem(9, &bound, 5);
    setmenuitem(1, 'z');
  }
  EXPECT_EQ(numofmenuitems, MAXMENUITEMS);
  EXPECT_EQ(menuitem[MAXMENUITEMS - 1].key, 'q');
  EXPECT_EQ(menuitem[MAXMENUITEMS - 1].type, MENU_BUTTON);
  menuinput(0, 0, 1);
  checkmenuitems();
  // setmenuitem before any item this frame does nothing
  numofmenuitems = 0;
  setmenuitem(1, 'a');
  EXPECT_EQ(menuitem[0].key, 0);
  // reset clears latches in every slot, declared or not
  menuitem[200].active = menuitem[200].wasactive = 1;
  numofmenuitems = 3;
  resetmenuitems();
  EXPECT_EQ(menuitem[200].active, 0);
  EXPECT_EQ(menuitem[200].wasactive, 0);
}

TEST(Menu, HotkeyHighlight) {
  clearmenustate();
  numofmenuitems = 0;
  createmenuitem("Load Bridge", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, 'b');
  createmenuitem("Exit", 0, 16, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  createmenuitem("Start", 0, 32, 16, 1, 1, 1, 1);
  setmenuitem(1, 'q');
  createmenuitem("Options", 0, 48, 16, 1, 1, 1, 1);
  setmenuitem(1, 'o');
  setmenuitem(2, 0);
  createmenuitem("Run Train", 0, 64, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_RETURN);
  // the first letter matching case-insensitively
  EXPECT_EQ(findhotkeychar(0), 5);
  // Escape has no label; q is not in "Start"; disabled; multi-letter label
  EXPECT_EQ(findhotkeychar(1), -1);
  EXPECT_EQ(findhotkeychar(2), -1);
  EXPECT_EQ(findhotkeychar(3), -1);
  EXPECT_EQ(findhotkeychar(4), -1);
  // the offset of the highlighted letter is the width of what precedes it
  EXPECT_EQ(getmenutextwidth(menuitem[0].text, 16, 5), 40);
}

TEST(Menu, EditingTextBoxSilencesHotkeys) {
  clearmenustate();
  int value = 10;
  auto declare = [&] {
    numofmenuitems = 0;
    createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
    setmenuitem(1, KEY_ESCAPE);
    createmenuitem("000000", 0, 40, 16, 1, 1, 1, 1);
    setmenuitem(3, &value);
    setmenuitem(1, 'b');
    createmenuitem("Options", 0, 80, 16, 1, 1, 1, 1);
    setmenuitem(1, 'o');
  };
  // the box's hotkey starts editing
  step(declare, 600, 600, 0, {'b'});
  EXPECT_EQ(textinput.editing, 1);
  EXPECT_EQ(menuitem[1].active, 1);
  // while editing, 'o' types instead of opening Options (and a digit box
  // ignores the letter)
  step(declare, 600, 600, 0, {'o'});
  EXPECT_EQ(menuitem[2].active, 0);
  // Escape ends the edit but does not fire Back, neither now nor held
  step(declare, 600, 600, 0, {KEY_ESCAPE});
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(textinput.editing, 0);
  step(declare, 600, 600, 0, {KEY_ESCAPE});
  EXPECT_EQ(menuitem[0].active, 0);
  EXPECT_EQ(value, 10);
  // a screen left while editing: the next screen's hotkeys work at once
  step(declare, 600, 600, 0, {'b'});
  ASSERT_EQ(textinput.editing, 1);
  resetmenuitems();
  numofmenuitems = 0;
  createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(1, KEY_ESCAPE);
  menuinput(600, 600, 0, {KEY_ESCAPE});
  checkmenuitems();
  EXPECT_EQ(menuitem[0].active, 1);
}
