#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_frames.h"

namespace {

int calls;
void countcall() { calls++; }

// One frame of any screen: declare, poll, check.
template <class F> void step(F declare, int x, int y, int left, std::initializer_list<int> keys = {}) {
  declare();
  menuinput(x, y, left, keys);
  checkmenuitems();
}

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
  createmenuitem("A", 0, ALIGN_CENTER | 240, 12, 1, 1, 1, 1);
  EXPECT_EQ(menuitem[2].y, 234);
  numofmenuitems = 2;
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
  std::string longtext(99, 'a');
  createmenuitem(longtext.c_str(), 0, 0, 16, 1, 1, 1, 1);
  EXPECT_EQ(menuitem[5].width, 63 * 8);
  EXPECT_EQ((int)strlen(menuitem[5].text), 63);
}

TEST(Menu, LatchesHoverAndHotkeys) {
  clearmenustate();
  // Three buttons in a column, 16 high: "Back" (Escape), "Options" (o), "Load" (l).
  struct {
    int x, y, left, key, repeat, disable, clear;
    int latched;  // bit i: item i is latched after the frame
    int item, state;
  } frames[] = {
      {4, 20, 1, 0, 0, 0, 0, 2, 1, MENUSTATE_ACTIVE},   // a press latches
      {4, 20, 1, 0, 0, 0, 0, 2, 1, MENUSTATE_ACTIVE},
      {4, 20, 0, 0, 0, 0, 0, 2, 1, MENUSTATE_ACTIVE},   // released: the latch stays
      {4, 36, 1, 0, 0, 0, 0, 4, 2, MENUSTATE_ACTIVE},   // a press elsewhere moves it
      {4, 36, 0, 0, 0, 0, 0, 4, 1, MENUSTATE_NORMAL},
      {300, 300, 1, 0, 0, 0, 0, 0, 2, MENUSTATE_NORMAL},  // on empty space: all cleared
      {4, 4, 0, 0, 0, 0, 0, 0, 0, MENUSTATE_HOVER},
      {31, 15, 0, 0, 0, 0, 0, 0, 0, MENUSTATE_HOVER},
      {32, 4, 0, 0, 0, 0, 0, 0, 0, MENUSTATE_NORMAL},    // the right edge is outside
      {4, 16, 0, 0, 0, 0, 0, 0, 0, MENUSTATE_NORMAL},    // and the bottom edge
      {600, 600, 0, 'o', 0, 0, 0, 2, 1, MENUSTATE_ACTIVE},  // a hotkey fires on going down
      {600, 600, 0, 'o', 0, 0, 1, 0, 1, MENUSTATE_NORMAL},  // and not while held
      {600, 600, 0, 'o', 1, 0, 1, 2, 1, MENUSTATE_ACTIVE},  // with repeat, every frame held
      {600, 600, 0, 0, 1, 0, 0, 0, 1, MENUSTATE_NORMAL},    // and unlatches on release
      {600, 600, 0, KEY_ESCAPE, 0, 0, 0, 1, 0, MENUSTATE_ACTIVE},
      {4, 36, 1, 'l', 0, 1, 1, 0, 2, MENUSTATE_DISABLED},   // disabled: no hover, latch or hotkey
  };
  for (const auto &f : frames) {
    SCOPED_TRACE(testing::Message() << "frame " << (&f - frames));
    if (f.clear)
      for (int i = 0; i < 3; i++)
        menuitem[i].active = 0;
    numofmenuitems = 0;
    const char *labels[3] = {"Back", "Options", "Load"};
    const int keys[3] = {KEY_ESCAPE, 'o', 'l'};
    for (int i = 0; i < 3; i++) {
      createmenuitem(labels[i], 0, 16 * i, 16, 1, 1, 1, 1);
      setmenuitem(1, keys[i]);
      setmenuitem(13, i + 1);
    }
    if (f.repeat)
      numofmenuitems = 2, setmenuitem(10), numofmenuitems = 3;
    if (f.disable)
      setmenuitem(2, 0);
    font[0].cursor = 7;
    menuinput(f.x, f.y, f.left, {f.key});
    checkmenuitems();
    for (int i = 0; i < 3; i++)
      EXPECT_EQ(menuitem[i].active, (f.latched >> i) & 1) << "item " << i;
    EXPECT_EQ(menuitem[f.item].state, f.state);
    // A hovered enabled item hands its cursor to the font; otherwise the arrow.
    int expected = f.state == MENUSTATE_HOVER ? f.item + 1 : f.disable || f.x >= 300 ? 0 : font[0].cursor;
    EXPECT_EQ(font[0].cursor, expected);
  }
  // A key code outside the keyboard table never fires nor reads past it.
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
  for (int j = 0; j < 3; j++)
    EXPECT_EQ(menuitem[j].state, j == 1 ? MENUSTATE_ACTIVE : MENUSTATE_NORMAL) << j;
  // clicking row 2 stores 2 and its latch is already cleared
  step(declare, 4, 116, 1);
  EXPECT_EQ(mode, 2);
  EXPECT_EQ(menuitem[2].active, 0);
  // the toggle flips once per press and shows active while on
  calls = 0;
  for (int left : {0, 1, 1, 0, 1})
    step(declare, 4, 164, left);
  EXPECT_EQ(flag, 0);
  step(declare, 4, 164, 0);
  step(declare, 4, 164, 1);
  EXPECT_EQ(flag, 1);
  EXPECT_EQ(menuitem[3].state, MENUSTATE_ACTIVE);
  // a button with its own action runs it once and does not stay latched
  for (int left : {0, 1, 1})
    step(declare, 4, 204, left);
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
  // bitmaps per state (0: all four; past 3: none), texture corners
  numofmenuitems = 0;
  createmenuitem("b", 0, 0, 16, 1, 1, 1, 1);
  const float corners[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  setmenuitem(16, corners);
  setmenuitem(16, nullptr);
  setmenuitem(11, 0, 5);
  setmenuitem(11, 2, 9);
  setmenuitem(11, 4, 7);
  EXPECT_EQ(std::vector<int>(menuitem[0].bitmap, menuitem[0].bitmap + 4), (std::vector<int>{5, 5, 9, 5}));
  EXPECT_EQ(memcmp(menuitem[0].texcoord, corners, sizeof corners), 0);
  // setmenuitem before any item this frame does nothing
  numofmenuitems = 0;
  setmenuitem(1, 'a');
  EXPECT_EQ(menuitem[0].key, 0);
  // reset clears latches in every slot, declared or not
  menuitem[MAXMENUITEMS - 1].active = menuitem[MAXMENUITEMS - 1].wasactive = 1;
  numofmenuitems = 3;
  resetmenuitems();
  EXPECT_EQ(menuitem[MAXMENUITEMS - 1].active, 0);
  EXPECT_EQ(menuitem[MAXMENUITEMS - 1].wasactive, 0);
}

TEST(Menu, HotkeyHighlight) {
  clearmenustate();
  struct {
    const char *label;
    int key, enabled, highlighted;
  } rows[] = {{"Load Bridge", 'b', 1, 5},      // the first match, either case
              {"Exit", KEY_ESCAPE, 1, -1},     // no one-letter label
              {"Start", 'q', 1, -1},           // not in the label
              {"Options", 'o', 0, -1},         // disabled
              {"Retry", KEY_RETURN, 1, -1},    // a key named by a word
              {"abc", 'c', 1, 2}};
  numofmenuitems = 0;
  for (const auto &r : rows) {
    createmenuitem(r.label, 0, 0, 16, 1, 1, 1, 1);
    setmenuitem(1, r.key);
    setmenuitem(2, r.enabled);
    EXPECT_EQ(findhotkeychar(numofmenuitems - 1), r.highlighted) << r.label;
  }
  // the offset of the highlighted letter is the width of what precedes it
  EXPECT_EQ(getmenutextwidth(menuitem[0].text, 16, 5), 40);
  EXPECT_EQ(findhotkeychar(-1) + findhotkeychar(MAXMENUITEMS), -2);  // never read outside the table
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
  // while editing, 'o' types (and does not parse) instead of opening Options
  step(declare, 600, 600, 0, {'o'});
  EXPECT_EQ(menuitem[2].active, 0);
  // Escape ends the edit but does not fire Back, neither now nor held
  for (int frame = 0; frame < 2; frame++) {
    step(declare, 600, 600, 0, {KEY_ESCAPE});
    EXPECT_EQ(menuitem[0].active + menuitem[1].active + textinput.editing, 0) << frame;
  }
  EXPECT_EQ(value, 10);
  // a screen left while editing: the next screen's hotkeys work at once
  step(declare, 600, 600, 0, {'b'});
  ASSERT_EQ(textinput.editing, 1);
  resetmenuitems();
  step([] {
    numofmenuitems = 0;
    createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
    setmenuitem(1, KEY_ESCAPE);
  }, 600, 600, 0, {KEY_ESCAPE});
  EXPECT_EQ(menuitem[0].active, 1);
}
