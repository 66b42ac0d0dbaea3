// Keyboard and mouse as state, polled once a frame, with the previous
// frame's state beside it for edge detection: key k went down this frame
// when keyboard[k] && !prevkeyboard[k]. The records are plain data so the
// headless core (editor, menu logic) reads them without SDL; the SDL poll
// that fills them lives in input_sdl.cpp.
#pragma once

// Key codes are the SDL 1.2 key symbols, restated here so the core needs no
// SDL header. Letters and digits are their lower-case ASCII codes.
enum : int {
  KEY_BACKSPACE = 8,
  KEY_TAB = 9,
  KEY_RETURN = 13,
  KEY_ESCAPE = 27,
  KEY_SPACE = 32,
  KEY_PERIOD = 46,
  KEY_DELETE = 127,
  KEY_KP2 = 258,
  KEY_KP4 = 260,
  KEY_KP6 = 262,
  KEY_KP8 = 264,
  KEY_KP_PERIOD = 266,  // Delete on the keypad with Num Lock off
  KEY_KP_ENTER = 271,
  KEY_UP = 273,
  KEY_DOWN = 274,
  KEY_RIGHT = 275,
  KEY_LEFT = 276,
  KEY_INSERT = 277,
  KEY_HOME = 278,
  KEY_END = 279,
  KEY_PAGEUP = 280,
  KEY_PAGEDOWN = 281,
  KEY_F1 = 282,
  KEY_F2 = 283,
  KEY_F3 = 284,
  KEY_F4 = 285,
  KEY_F5 = 286,
  KEY_F6 = 287,
  KEY_F7 = 288,
  KEY_F8 = 289,
  KEY_RSHIFT = 303,
  KEY_LSHIFT = 304,
  KEY_RCTRL = 305,
  KEY_LCTRL = 306,
  KEY_LAST = 323,
};

struct mouseinfo {
  int x;         // virtual screen 0..639
  int y;         // virtual screen 0..479, downward
  int left;      // 1 while held
  int right;     // 1 while held
  int wheelup;   // notches received and not yet consumed, 0..8
  int wheeldown; // likewise
};

extern unsigned char keyboard[KEY_LAST];
extern unsigned char prevkeyboard[KEY_LAST];
// Key `key` is held this frame and was not the frame before.
int keywentdown(int key);
extern mouseinfo mouse;
extern mouseinfo prevmouse;

// Fold the right-hand and keypad duplicates onto the one key every reader
// tests (left Ctrl and Shift, Return, the arrows).
void foldkeys(unsigned char *keys);

// Window pixels to the 640x480 virtual screen, truncating.
int scalemousex(int pixelx, int screenwidth);
int scalemousey(int pixely, int screenheight);

// Poll SDL (input_sdl.cpp).
void checkkeyboard();
void checkmouse();
