#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "menu_frames.h"

namespace {

using ints = std::vector<int>;

// Keys typed one after another into the string box, with what it holds after each.
// expect nullptr and caret -1: not checked.
struct keystroke { int key, shift; const char *expect; int caret; };

// A screen with an int box at (100, 100) (8-character template, hotkey w)
// and, unless it is the only one, a string box at (100, 200) (8 characters,
// hotkey e), set up on fresh toolkit state. (The screens declare no float or
// unsigned boxes.)
struct boxes {
  int number = 10000, onlyone = 0;
  char name[32] = "bridge";
  int fresh = (clearmenustate(), 1);
  void declare() {
    numofmenuitems = 0;
    createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1), setmenuitem(1, KEY_ESCAPE);
    createmenuitem("00000000", 100, 100, 16, 1, 1, 1, 1), setmenuitem(3, &number), setmenuitem(1, 'w');
    if (!onlyone)
      createmenuitem("xxxxxxxx", 100, 200, 16, 1, 1, 1, 1), setmenuitem(6, name), setmenuitem(1, 'e');
  }
  // One frame with the mouse parked away from every item unless given.
  void frame(std::initializer_list<int> keys = {}, int x = 600, int y = 600, int left = 0) { menuframe([this] { declare(); }, x, y, left, keys); }
  // Press and release one key, with Shift held if asked.
  void type(int key, int shift = 0) { frame({key, shift ? KEY_LSHIFT : 0}), frame({shift ? KEY_LSHIFT : 0}); }
  void play(const keystroke *keys, int count) {
    for (int i = 0; i < count; i++) {
      type(keys[i].key, keys[i].shift);
      EXPECT_STREQ(name, keys[i].expect ? keys[i].expect : name) << "keystroke " << i;
      EXPECT_EQ(textinput.caret, keys[i].caret >= 0 ? keys[i].caret : textinput.caret) << "keystroke " << i;
    }
  }
};

} // namespace

TEST(TextBox, HotkeysActivationCaretAndNumbers) {
  boxes b;
  // the int box's hotkey starts editing; while editing, 'e' types (and does
  // not parse) instead of moving to the string box, and Escape ends the edit
  // without firing Back, neither now nor held
  b.frame({'w'}), b.frame({'e'});
  EXPECT_EQ(ints({textinput.editing, menuitem[1].active, menuitem[2].active}), ints({1, 1, 0}));
  b.frame({KEY_ESCAPE}), b.frame({KEY_ESCAPE});
  EXPECT_EQ(ints({menuitem[0].active, menuitem[1].active, textinput.editing, b.number}), ints({0, 0, 0, 10000}));
  // a screen left while editing: the next screen's hotkeys work at once
  b.frame({'w'}), resetmenuitems();
  menuframe([] { numofmenuitems = 0, createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1), setmenuitem(1, KEY_ESCAPE); }, 600, 600, 0, {KEY_ESCAPE});
  EXPECT_EQ(menuitem[0].active, 1);
  // a click on the third digit of 10000 puts the caret there, selecting
  // nothing; a click past the text puts it at the end; a click elsewhere ends the edit
  const int clicks[][3] = {{100 + 8 * 2 + 5, 2, 1}, {100 + 8 * 7, 5, 1}, {100, 0, 1}, {600, 0, 0}};
  for (const auto &c : clicks) {
    b.frame(), b.frame({}, c[0], 104, 1);
    EXPECT_EQ(ints({menuitem[1].active, textinput.editing, textinput.caret}), ints({c[2], c[2], c[1]})) << c[0];
    EXPECT_TRUE(!c[2] || (textinput.anchor == c[1] && !strcmp(textinput.input, "10000"))) << c[0];
  }
  // the hotkey selects everything, so typing 5 replaces it at once; what does
  // not parse (nothing, "-x7", beyond int range) keeps the last value;
  // Escape ends editing and keeps the value. A parse after one out of
  // range of any integer (errno set) is taken again.
  b.type('w');
  // key 0: the text is set directly instead
  struct { int key; const char *input; int number; } rows[] = {
      {'5', "5", 5},          {KEY_BACKSPACE, "", 5},                {'7', "7", 7},          {KEY_HOME, "7", 7},
      {'-', "-7", -7},        {'x', "-x7", -7},                      {0, "2147483648", -7},  {0, "99999999999999999999", -7},
      {0, "2147483647", 2147483647}, {0, "-2147483648", -2147483647 - 1}, {0, "-2147483649", -2147483647 - 1},
      {0, "-7999999", -7999999}, {KEY_ESCAPE, "", -7999999}};
  for (const auto &r : rows) {
    if (r.key)
      b.type(r.key);
    else
      strcpy(textinput.input, r.input), b.frame();
    EXPECT_EQ(std::make_pair(std::string(textinput.input), b.number), std::make_pair(std::string(r.input), r.number));
  }
}

TEST(TextBox, LengthLimitOverwriteAndSelection) {
  boxes b{10000, 0, "abcdefg"};
  b.type('e');
  // The eighth character fits, the ninth is refused; overwrite in a full box
  // accepts nothing unless a selection is removed first; overwrite at the end
  // extends and in the middle replaces; insert shifts the rest; one character
  // replaces the selection.
  const keystroke keys[] = {
      {KEY_END, 0, nullptr, 7},       {'h', 0, "abcdefgh", 8},        {'i', 0, "abcdefgh", 8},    {KEY_INSERT, 0, nullptr, -1},
      {KEY_HOME, 0, nullptr, 0},      {'z', 0, "abcdefgh", 0},        {KEY_RIGHT, 1, nullptr, 1}, {'z', 0, "zbcdefgh", 1},
      {KEY_END, 0, nullptr, 8},       {KEY_BACKSPACE, 0, "zbcdefg", 7}, {KEY_BACKSPACE, 0, "zbcdef", 6}, {'x', 0, "zbcdefx", 7},
      {KEY_HOME, 0, nullptr, 0},      {'q', 0, "qbcdefx", 1},         {KEY_INSERT, 0, nullptr, -1}, {KEY_RIGHT, 0, nullptr, 2},
      {KEY_KP_PERIOD, 0, "qbdefx", 2},   {'y', 0, "qbydefx", 3},         {KEY_LEFT, 0, nullptr, 2},  {KEY_BACKSPACE, 0, "qydefx", 1},
      {KEY_BACKSPACE, 0, "ydefx", 0}, {KEY_BACKSPACE, 0, "ydefx", 0},   {KEY_END, 0, nullptr, 5},   {KEY_DELETE, 0, "ydefx", 5},
      {KEY_LEFT, 1, nullptr, 4},      {KEY_LEFT, 1, nullptr, 3},      {'p', 1, "ydeP", 4},        {KEY_RIGHT, 0, nullptr, 4},
  };
  b.play(keys, sizeof keys / sizeof keys[0]);
  // dragging with the mouse selects from the press to the pointer
  b.frame({}, 100 + 1 * 8 + 2, 204, 1), b.frame({}, 100 + 3 * 8 + 2, 204, 1);
  b.frame({}, 100 + 3 * 8 + 2, 204, 0), b.type(KEY_DELETE);
  EXPECT_STREQ(b.name, "yP");
  // the edit ended and begun again by the hotkey, all selected, Backspace
  // empties it; shifted digits and symbols, a space
  b.type(KEY_ESCAPE), b.type('e'), b.type(KEY_BACKSPACE);
  const keystroke typed[] = {{'1', 1, "!", 1}, {'/', 1, "!?", 2}, {'\'', 1, "!?\"", 3}, {KEY_SPACE, 0, "!?\" ", 4}, {'.', 0, "!?\" .", 5}};
  b.play(typed, 5);
  // a held key types once
  b.frame({'a'}), b.frame({'a'}), b.frame({'a'}), b.frame();
  EXPECT_STREQ(b.name, "!?\" .a");
  // Tab moves editing to the other box, which starts fully selected;
  // Shift+Tab goes back, wrapping past item 0
  b.type(KEY_TAB);
  EXPECT_EQ(ints({menuitem[2].active, menuitem[1].active, textinput.anchor, textinput.caret}), ints({0, 1, 0, 5}));
  b.type(KEY_TAB, 1);
  EXPECT_EQ(ints({menuitem[2].active, menuitem[1].active, textinput.editing}), ints({1, 0, 1}));
  // Tab in the only box of a screen changes nothing
  boxes one{10000, 1};
  one.type('w'), one.type(KEY_TAB);
  EXPECT_EQ(ints({menuitem[1].active, one.number}), ints({1, 10000}));
  // masking and bounds, on fresh toolkit state
  clearmenustate();
  char secret[32] = "abc", shown[3][TEXTINPUTSIZE];
  // one asterisk per character at rest; an item with no bound value or past
  // the table shows nothing
  createmenuitem("xxxxxx", 0, 0, 16, 1, 1, 1, 1), setmenuitem(6, secret), setmenuitem(15), formatmenuvalue(0, shown[0]);
  createmenuitem("x", 0, 0, 16, 1, 1, 1, 1), formatmenuvalue(1, shown[1]), formatmenuvalue(MAXMENUITEMS, shown[2]);
  EXPECT_EQ(std::vector<std::string>(shown, shown + 3), std::vector<std::string>({"***", "", ""}));
  // typing at the 192-byte edit limit is refused; a deletion in a full box
  // leaves it terminated whatever the drawing scratch held, and typing at
  // the new end fits exactly
  textinput = {};
  memset(textinput.input, 'a', TEXTINPUTLIMIT), memset(textinput.display, 'x', TEXTINPUTSIZE);
  textinput.caret = textinput.anchor = TEXTINPUTLIMIT;
  addmenuinputchar('b');
  EXPECT_EQ((int)strlen(textinput.input), TEXTINPUTLIMIT);
  textinput.anchor = 0, textinput.caret = 1, deleteselectedtext();
  textinput.caret = TEXTINPUTLIMIT - 1, addmenuinputchar('b');
  EXPECT_EQ(std::string(textinput.input), std::string(TEXTINPUTLIMIT - 1, 'a') + 'b');
  // an out-of-range caret is clamped rather than followed (a selection made
  // backwards is the Shift+Left keystrokes')
  textinput.caret = 999, textinput.anchor = -4;
  EXPECT_EQ(ints({deleteselectedtext(), (int)strlen(textinput.input)}), ints({1, 0}));
  // a bound string longer than an edit can reach is taken in cut, not
  // overrunning the input buffer
  static char longname[400];
  memset(longname, 'n', sizeof longname - 1);
  menuframe([] { numofmenuitems = 0, createmenuitem("xxxx", 0, 0, 16, 1, 1, 1, 1), setmenuitem(6, longname), setmenuitem(1, 'e'); }, 600, 600, 0, {'e'});
  EXPECT_EQ((int)strlen(textinput.input), TEXTINPUTLIMIT);
}
