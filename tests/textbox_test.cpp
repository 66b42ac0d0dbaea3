#include <gtest/gtest.h>

#include "menu_frames.h"

namespace {

// A screen with two boxes: an int box at (100, 100) whose template has 8
// characters and hotkey w, and a string box at (100, 200) with template of 8.
struct boxes {
  int number = 10000;
  char name[32] = "bridge";
  float weight = 3.14159265f;
  int withfloat = 0;
  int onlyone = 0;
  void declare() {
    numofmenuitems = 0;
    createmenuitem("Back", 0, 0, 16, 1, 1, 1, 1);
    setmenuitem(1, KEY_ESCAPE);
    createmenuitem("00000000", 100, 100, 16, 1, 1, 1, 1);
    setmenuitem(3, &number);
    setmenuitem(1, 'w');
    if (onlyone)
      return;
    createmenuitem("xxxxxxxx", 100, 200, 16, 1, 1, 1, 1);
    setmenuitem(6, name);
    setmenuitem(1, 'e');
    if (withfloat) {
      createmenuitem("0000000000", 100, 300, 16, 1, 1, 1, 1);
      setmenuitem(5, &weight);
      setmenuitem(1, 'f');
    }
  }
  // One frame with the mouse parked away from every item unless given.
  void frame(std::initializer_list<int> keys = {}, int x = 600, int y = 600, int left = 0) {
    declare();
    menuinput(x, y, left, keys);
    checkmenuitems();
  }
  // Press and release one key.
  void type(int key, int shift = 0) {
    if (shift)
      frame({KEY_LSHIFT, key});
    else
      frame({key});
    frame(shift ? std::initializer_list<int>{KEY_LSHIFT} : std::initializer_list<int>{});
  }
};

} // namespace

TEST(TextBox, ActivationCaretAndNumbers) {
  clearmenustate();
  boxes b;
  // a click on the third digit of 10000 puts the caret there, selecting nothing
  b.frame();
  b.frame({}, 100 + 8 * 2 + 5, 104, 1);
  EXPECT_EQ(menuitem[1].active, 1);
  EXPECT_EQ(textinput.caret, 2);
  EXPECT_EQ(textinput.anchor, 2);
  EXPECT_STREQ(textinput.input, "10000");
  // a click past the text puts the caret at the end
  b.frame({}, 100, 104, 0);
  b.frame({}, 100 + 8 * 7, 104, 1);
  EXPECT_EQ(textinput.caret, 5);
  // a click elsewhere ends the edit
  b.frame({}, 600, 600, 0);
  b.frame({}, 600, 600, 1);
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(textinput.editing, 0);
  // the hotkey selects everything, so typing 5 replaces it at once
  b.frame({}, 600, 600, 0);
  b.type('w');
  EXPECT_EQ(textinput.anchor, 0);
  EXPECT_EQ(textinput.caret, 5);
  b.type('5');
  EXPECT_EQ(b.number, 5);
  // deleting every digit keeps the last parsed value; then 7 gives 7
  b.type(KEY_BACKSPACE);
  EXPECT_STREQ(textinput.input, "");
  EXPECT_EQ(b.number, 5);
  b.type('7');
  EXPECT_EQ(b.number, 7);
  // a minus typed in front makes it negative
  b.type(KEY_HOME);
  b.type('-');
  EXPECT_EQ(b.number, -7);
  // a number beyond int range is not stored wrapped
  strcpy(textinput.input, "99999999999");
  b.frame({});
  EXPECT_EQ(b.number, -7);
  strcpy(textinput.input, "-7999999");
  b.frame({});
  EXPECT_EQ(b.number, -7999999);
  // Escape ends editing and keeps the value
  b.type(KEY_ESCAPE);
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(b.number, -7999999);
  EXPECT_STREQ(textinput.input, "");
  // a float box rewrites its value through %g (six significant digits)
  clearmenustate();
  boxes f;
  f.withfloat = 1;
  f.frame();
  f.type('f');
  EXPECT_STREQ(textinput.input, "3.14159");
  EXPECT_FLOAT_EQ(f.weight, 3.14159f);
}

TEST(TextBox, LengthLimitOverwriteAndSelection) {
  clearmenustate();
  boxes b;
  strcpy(b.name, "abcdefg");
  b.frame();
  b.type('e');
  // typed at the end: the eighth character fits, the ninth is refused
  b.type(KEY_END);
  b.type('h');
  b.type('i');
  EXPECT_STREQ(b.name, "abcdefgh");
  // overwrite with a full box accepts nothing, even in the middle
  b.type(KEY_INSERT);
  EXPECT_EQ(textinput.overwrite, 1);
  b.type(KEY_HOME);
  b.type('z');
  EXPECT_STREQ(b.name, "abcdefgh");
  // ...unless a selection is removed first: Shift+Right selects 'a'
  b.type(KEY_RIGHT, 1);
  b.type('z');
  EXPECT_STREQ(b.name, "zbcdefgh");
  // overwrite at the end of a shorter text extends it
  b.type(KEY_END);
  b.type(KEY_BACKSPACE);
  b.type(KEY_BACKSPACE);
  b.type('x');
  EXPECT_STREQ(b.name, "zbcdefx");
  // overwrite in the middle replaces
  b.type(KEY_HOME);
  b.type('q');
  EXPECT_STREQ(b.name, "qbcdefx");
  b.type(KEY_INSERT);
  EXPECT_EQ(textinput.overwrite, 0);
  // insert in the middle shifts the rest
  b.type(KEY_RIGHT);
  b.type(KEY_DELETE);
  EXPECT_STREQ(b.name, "qbdefx");
  b.type('y');
  EXPECT_STREQ(b.name, "qbydefx");
  EXPECT_EQ(textinput.caret, 3);
  // Shift+Left twice at the end of a five-character text selects two;
  // one character then replaces both
  b.type(KEY_RETURN);
  strcpy(b.name, "hello");
  b.type('e');
  b.type(KEY_END);
  b.type(KEY_LEFT, 1);
  b.type(KEY_LEFT, 1);
  EXPECT_EQ(textinput.anchor, 5);
  EXPECT_EQ(textinput.caret, 3);
  b.type('p', 1);
  EXPECT_STREQ(b.name, "helP");
  EXPECT_EQ(textinput.caret, 4);
  // dragging with the mouse selects from the press to the pointer
  b.frame({}, 100 + 1 * 8 + 2, 204, 1);
  b.frame({}, 100 + 3 * 8 + 2, 204, 1);
  EXPECT_EQ(textinput.anchor, 1);
  EXPECT_EQ(textinput.caret, 3);
  b.frame({}, 100 + 3 * 8 + 2, 204, 0);
  b.type(KEY_DELETE);
  EXPECT_STREQ(b.name, "hP");
}

TEST(TextBox, KeysAndTab) {
  clearmenustate();
  boxes b;
  strcpy(b.name, "");
  b.frame();
  b.type('e');
  // two letters in one frame give the later letter; a letter and Backspace
  // give Backspace
  b.frame({'c', 'x'});
  b.frame();
  EXPECT_STREQ(b.name, "x");
  b.frame({'q', KEY_BACKSPACE});
  b.frame();
  EXPECT_STREQ(b.name, "");
  // shifted digits and symbols; a held key types once
  b.type('1', 1);
  b.type('/', 1);
  b.type('\'', 1);
  b.frame({'a'});
  b.frame({'a'});
  b.frame({'a'});
  b.frame();
  EXPECT_STREQ(b.name, "!?\"a");
  // Tab moves editing to the other box, which starts fully selected
  b.type(KEY_TAB);
  EXPECT_EQ(menuitem[2].active, 0);
  EXPECT_EQ(menuitem[1].active, 1);
  EXPECT_EQ(textinput.anchor, 0);
  EXPECT_EQ(textinput.caret, 5);
  EXPECT_STREQ(b.name, "!?\"a");
  // Shift+Tab goes back, wrapping past item 0
  b.type(KEY_TAB, 1);
  EXPECT_EQ(menuitem[2].active, 1);
  EXPECT_EQ(menuitem[1].active, 0);
  EXPECT_EQ(textinput.editing, 1);
  // Tab in the only box of a screen changes nothing
  clearmenustate();
  boxes one;
  one.onlyone = 1;
  one.frame();
  one.type('w');
  one.type(KEY_TAB);
  EXPECT_EQ(menuitem[1].active, 1);
  EXPECT_EQ(one.number, 10000);
}

TEST(TextBox, MaskingAndBounds) {
  clearmenustate();
  char secret[32] = "abc";
  numofmenuitems = 0;
  createmenuitem("xxxxxx", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(6, secret);
  setmenuitem(15);
  char shown[TEXTINPUTSIZE];
  // one asterisk per character at rest
  formatmenuvalue(0, shown);
  EXPECT_STREQ(shown, "***");
  // an item with no bound value shows nothing
  createmenuitem("x", 0, 0, 16, 1, 1, 1, 1);
  formatmenuvalue(1, shown);
  EXPECT_STREQ(shown, "");
  // typing at the 192-byte edit limit is refused
  memset(&textinput, 0, sizeof textinput);
  memset(textinput.input, 'a', TEXTINPUTLIMIT);
  textinput.caret = textinput.anchor = TEXTINPUTLIMIT;
  addmenuinputchar('b');
  EXPECT_EQ((int)strlen(textinput.input), TEXTINPUTLIMIT);
  // inserting just below it keeps the text terminated
  textinput.input[TEXTINPUTLIMIT - 1] = 0;
  textinput.caret = textinput.anchor = 0;
  addmenuinputchar('b');
  EXPECT_EQ((int)strlen(textinput.input), TEXTINPUTLIMIT);
  EXPECT_EQ(textinput.input[0], 'b');
  // a selection reversed (anchor after caret) deletes the same range
  strcpy(textinput.input, "abcdef");
  textinput.anchor = 4;
  textinput.caret = 1;
  EXPECT_EQ(deleteselectedtext(), 1);
  EXPECT_STREQ(textinput.input, "aef");
  EXPECT_EQ(textinput.caret, 1);
  EXPECT_EQ(deleteselectedtext(), 0);
  // an out-of-range caret is clamped rather than followed
  textinput.caret = 99;
  textinput.anchor = -4;
  EXPECT_EQ(deleteselectedtext(), 1);
  EXPECT_STREQ(textinput.input, "");
  // a bound string longer than an edit can reach is taken in cut, not
  // overrunning the input buffer
  static char longname[400];
  memset(longname, 'n', sizeof longname - 1);
  numofmenuitems = 0;
  createmenuitem("xxxx", 0, 0, 16, 1, 1, 1, 1);
  setmenuitem(6, longname);
  currentmenuitem = 0;
  menuitem[0].active = 1;
  menuitem[0].wasactive = 0;
  memset(&mouse, 0, sizeof mouse);
  memset(&prevmouse, 0, sizeof prevmouse);
  menutextbox();
  EXPECT_EQ((int)strlen(textinput.input), TEXTINPUTLIMIT);
}
