// The text box: a menu item of type MENU_TEXTBOX bound to an int, unsigned,
// float or char buffer. Only one box is edited at a time, so the edit state
// is one global record. The bound variable is rewritten on every frame of an
// edit, which is why Escape keeps the edited value just like Enter.
#pragma once

constexpr int TEXTINPUTSIZE = 256;
// Editing never reaches past this index of `input`.
constexpr int TEXTINPUTLIMIT = 192;

struct textinputinfo {
  int editing;   // some box is active; recomputed by every checkmenuitems
  int anchor;    // selection runs between anchor and caret
  int caret;     // typing inserts before input[caret]
  int overwrite; // 1: typing replaces; toggled by Insert, kept between edits
  char input[TEXTINPUTSIZE];
  char display[TEXTINPUTSIZE]; // scratch: the text as drawn
};

extern textinputinfo textinput;

// Codes returned by getinputletter besides -1 (nothing) and 32..126.
enum : int {
  INPUTCODE_DELETE = 9,
  INPUTCODE_BACKSPACE = 10,
  INPUTCODE_ENTER = 11,
  INPUTCODE_TAB = 12,
  INPUTCODE_BACKTAB = 13,
};

// Character classes for getinputletter.
enum : int {
  INPUTCLASS_LETTERS = 1,
  INPUTCLASS_DIGITS = 2,
  INPUTCLASS_PERIOD = 4,
  INPUTCLASS_SPACE = 8,
  INPUTCLASS_MINUS = 16,
  INPUTCLASS_SYMBOLS = 32,
};

int getinputletter(int repeat, int classes);
void addmenuinputchar(int ch);
int deleteselectedtext();
int gettextinputposition(int offset, int size);
void menutextbox();

// The bound value of item `item` as text ("%d", "%u", "%g" or the string),
// asterisks when masked; `out` holds TEXTINPUTSIZE bytes.
void formatmenuvalue(int item, char *out);
// Draws item `item` as a text box at (boxx, boxy) (textbox_gl.cpp).
void drawmenutextbox(int item, float brightness);
