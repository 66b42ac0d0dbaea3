#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu_frames.h"
#include "ui/notice.h"

using ints = std::vector<int>;
static int calls;

// A white 16-pixel item with a hotkey (0: none).
static void item(const char *label, int x, int y, int key = 0) {
  createmenuitem(label, x, y, 16, 1, 1, 1, 1);
  setmenuitem(1, key);
}

static int firedframes;  // frames in which the toolkit called its fired hook

TEST(Menu, LatchesActionsPlacementCapacityAndHotkeys) {
  clearmenustate();
  menufiredhook = [] { firedframes++; };
  // Three buttons in a column, 16 high: "Back" (Escape), "Options" (o), "Load" (l),
  // and "X" off to the side, whose key lies outside the table and never fires.
  // latched: bit i set when item i is latched after the frame.
  struct { int x, y, left, key, disable, clear, latched, item, state; } frames[] = {
      {4, 20, 1, 0, 0, 0, 2, 1, MENUSTATE_ACTIVE},   // a press latches
      {4, 20, 0, 0, 0, 0, 2, 1, MENUSTATE_ACTIVE},   // released: the latch stays
      {4, 36, 1, 0, 0, 0, 4, 2, MENUSTATE_ACTIVE},   // a press elsewhere moves it
      {4, 36, 0, 0, 0, 0, 4, 1, MENUSTATE_NORMAL},
      {300, 300, 1, 0, 0, 0, 0, 2, MENUSTATE_NORMAL},  // on empty space: all cleared
      {31, 15, 0, 0, 0, 0, 0, 0, MENUSTATE_HOVER},
      {32, 4, 0, 0, 0, 0, 0, 0, MENUSTATE_NORMAL},    // the right edge is outside
      {4, 16, 0, 0, 0, 0, 0, 0, MENUSTATE_NORMAL},    // and the bottom edge
      {600, 600, 0, 'o', 0, 0, 2, 1, MENUSTATE_ACTIVE},  // a hotkey fires on going down
      {600, 600, 0, 'o', 0, 1, 0, 1, MENUSTATE_NORMAL},  // and not while held
      {4, 36, 1, 'l', 1, 1, 0, 2, MENUSTATE_DISABLED},   // disabled: no hover, latch or hotkey
  };
  const char *labels[4] = {"Back", "Options", "Load", "X"};
  const int keys[4] = {KEY_ESCAPE, 'o', 'l', KEY_LAST};
  int latched = 0;
  for (const auto &f : frames) {
    SCOPED_TRACE(testing::Message() << "frame " << (&f - frames));
    if (f.clear)
      menuitem[0].active = menuitem[1].active = menuitem[2].active = 0, latched = 0;
    firedframes = 0, numofmenuitems = 0;
    for (int i = 0; i < 4; i++) {
      item(labels[i], 0, i < 3 ? 16 * i : 600, keys[i]);
      if (i == 2 && f.disable)
        setmenuitem(2, 0);
    }
    menuframe([] {}, f.x, f.y, f.left, {f.key});
    EXPECT_EQ(ints({menuitem[0].active, menuitem[1].active, menuitem[2].active, menuitem[3].active, menuitem[f.item].state}),
              ints({f.latched & 1, f.latched >> 1 & 1, f.latched >> 2 & 1, 0, f.state}));
    // An item that fires (latched now, not before) clicks, once a frame.
    EXPECT_EQ(firedframes, (f.latched & ~latched) != 0);
    latched = f.latched;
  }
  menufiredhook = nullptr;
  // toggles, sets of siblings and buttons with an action of their own
  clearmenustate();
  int mode = 1, flag = 0;
  auto declare = [&] {
    numofmenuitems = 0;
    for (int j = 0; j < 3; j++)
      item("Row", 0, 80 + 16 * j), setmenuitem(9, &mode, j);
    item("Fullscreen", 0, 160), setmenuitem(8, &flag);
    item("Go", 0, 200), setmenuitem(7, +[] { calls++; });
  };
  // only the sibling whose value matches shows active; clicking row 2 stores
  // 2 and its latch is already cleared
  menuframe(declare, 600, 600, 0);
  EXPECT_EQ(ints({menuitem[0].state, menuitem[1].state, menuitem[2].state}), ints({MENUSTATE_NORMAL, MENUSTATE_ACTIVE, MENUSTATE_NORMAL}));
  menuframe(declare, 4, 116, 1);
  EXPECT_EQ(ints({mode, menuitem[2].active}), ints({2, 0}));
  // the toggle flips once per press and shows active while on; a button with
  // its own action runs it once and does not stay latched
  calls = 0;
  for (int left : {0, 1, 1, 0, 1, 0, 1})
    menuframe(declare, 4, 164, left);
  EXPECT_EQ(ints({flag, menuitem[3].state}), ints({1, MENUSTATE_ACTIVE}));
  for (int left : {0, 1, 1})
    menuframe(declare, 4, 204, left);
  EXPECT_EQ(ints({calls, menuitem[4].active}), ints({1, 0}));
  // placement and alignment, on fresh toolkit state
  clearmenustate();
  int value = 0;
  std::string longtext(99, 'a');
  // box 1: a text box, aligned by its label then widened to textlength * size.
  // Vertical alignment uses the size; the width truncates after every glyph
  // (3.5 * 3 -> 9, not 10); a label is measured over its first 63 characters.
  struct { const char *label; int x, y, size, box; float advance; int boxx, boxy, width, height; } rows[] = {
      {"Exit", ALIGN_CENTER | 320, 400, 16, 0, 0.5f, 304, 400, 32, 16}, {"A", 0, ALIGN_END | 480, 12, 0, 0.5f, 0, 468, 6, 12},
      {"A", 0, ALIGN_CENTER | 240, 12, 0, 0.5f, 0, 234, 6, 12},         {"00000", ALIGN_END | 640, 0, 16, 1, 0.5f, 600, 0, 80, 16},
      {longtext.c_str(), 0, 0, 16, 0, 0.5f, 0, 0, 63 * 8, 16},          {"abc", 0, 0, 10, 0, 0.35f, 0, 0, 9, 10}};
  for (const auto &r : rows) {
    setupmenufont(r.advance);
    createmenuitem(r.label, r.x, r.y, r.size, 1, 1, 1, 1);
    if (r.box)
      setmenuitem(3, &value);
    const menuiteminfo &m = menuitem[numofmenuitems - 1];
    EXPECT_EQ(ints({m.boxx, m.boxy, m.width, m.height}), ints({r.boxx, r.boxy, r.width, r.height})) << r.label;
  }
  EXPECT_EQ((int)strlen(menuitem[4].text), 63);
  clearmenustate();
  // items past the table are ignored, and so are operations aimed at them
  for (int i = 0; i < MAXMENUITEMS; i++)
    item("x", 0, 0, 'q');
  for (int i = 0; i < 40; i++)
    item("y", 0, 0, 'z'), setmenuitem(9, &value, 5);
  EXPECT_EQ(ints({numofmenuitems, menuitem[MAXMENUITEMS - 1].key, menuitem[MAXMENUITEMS - 1].type}), ints({MAXMENUITEMS, 'q', MENU_BUTTON}));
  menuframe([] {}, 0, 0, 1);
  // (no screen gives an item bitmaps, texture corners, a cursor, a hit area of its own or a repeating hotkey)
  // setmenuitem before any item this frame does nothing; reset clears
  // latches in every slot, declared or not
  numofmenuitems = 0, setmenuitem(1, 'a');
  menuitem[MAXMENUITEMS - 1].active = menuitem[MAXMENUITEMS - 1].wasactive = 1;
  numofmenuitems = 3, resetmenuitems();
  EXPECT_EQ(ints({menuitem[0].key, menuitem[MAXMENUITEMS - 1].active, menuitem[MAXMENUITEMS - 1].wasactive}), ints({'q', 0, 0}));
  // hotkey letters: the first match in either case; none for a one-letter-less key, a letter
  // not in the label, a disabled item or a key named by a word
  numofmenuitems = 0;
  struct { const char *label; int key, enabled, highlighted; } hotkeys[] = {{"Load Bridge", 'b', 1, 5}, {"Exit", KEY_ESCAPE, 1, -1}, {"Start", 'q', 1, -1},
              {"Options", 'o', 0, -1},    {"Retry", KEY_RETURN, 1, -1}, {"abc", 'c', 1, 2}};
  for (const auto &r : hotkeys) {
    item(r.label, 0, 0, r.key);
    setmenuitem(2, r.enabled);
    EXPECT_EQ(findhotkeychar(numofmenuitems - 1), r.highlighted) << r.label;
  }
  // the offset of the highlighted letter is the width of what precedes it
  EXPECT_EQ(getmenutextwidth(menuitem[0].text, 16, 5), 40);
  EXPECT_EQ(findhotkeychar(-1) + findhotkeychar(MAXMENUITEMS), -2);  // never read outside the table
}

static std::string shown(unsigned int now) {
  const char *text = getnotice(now);
  return text ? text : "(none)";
}

TEST(Notice, LifetimePrecedenceAndFailures) {
  clearnotice();
  // the clock starts at the first frame that shows the line, however late
  setnotice(NOTICE_INFO, "Saved %s", "05 Freight");
  EXPECT_EQ(shown(50000), "Saved 05 Freight");
  EXPECT_EQ(shown(50000 + NOTICEINFOTIME - 1), "Saved 05 Freight");
  EXPECT_EQ(shown(50000 + NOTICEINFOTIME), "(none)");
  // an error stays longer, also across the wrap of the millisecond clock
  setnotice(NOTICE_ERROR, "Could not save x");
  EXPECT_EQ(shown(0xFFFFFF00u), "Could not save x");
  EXPECT_EQ(shown(NOTICEERRORTIME - 0x101), "Could not save x");
  EXPECT_EQ(shown(NOTICEERRORTIME - 0x100), "(none)");
  // an info line does not hide an error no frame has shown, but replaces a shown one
  setnotice(NOTICE_ERROR, "Could not save y");
  setnotice(NOTICE_INFO, "Saved z");
  EXPECT_EQ(shown(10), "Could not save y");
  setnotice(NOTICE_INFO, "Saved z");
  EXPECT_EQ(shown(20), "Saved z");
  // failed saves fold into one line, replacing that info line
  notesavefailure("bridge/Riverside/01 Ditch.qzb");
  notesavefailure("bridge/Riverside.pro");
  EXPECT_EQ(shown(0), "Could not save bridge/Riverside/01 Ditch.qzb, bridge/Riverside.pro");
  // a file told already is not told again; past the line's width the others are counted
  notesavefailure("bridge/Riverside.pro");
  notesavefailure("bridge/Riverside.rec");
  notesavefailure("scsht000.tga");
  EXPECT_EQ(shown(100), "Could not save bridge/Riverside/01 Ditch.qzb, bridge/Riverside.pro and 2 more");
  // a plain error starts the count afresh
  setnotice(NOTICE_ERROR, "Screenshot failed");
  notesavefailure("config.txt");
  EXPECT_EQ(shown(200), "Could not save config.txt");
  // a name too long for the line is cut, never overrun
  clearnotice();
  notesavefailure(std::string(3 * NOTICELENGTH, 'n').c_str());
  EXPECT_EQ(shown(300).size(), (size_t)NOTICELENGTH - 1);
  clearnotice();
}
