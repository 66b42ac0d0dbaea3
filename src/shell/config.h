// Settings read from "config.txt" at start-up and the live window state.
// `config` is what was read, and it is what gets saved: the window may run
// a fallback mode when the stored one cannot open (a monitor unplugged for a
// day), and that must not replace the player's choice. Only a mode applied
// in Options becomes the stored one.
#pragma once

struct configinfo {
  int screenwidth;
  int screenheight;
  int colordepth;
  int depthbits;
  int stencilbits;
  int fullscreen;
  int usejoystick;
};

struct windowstate {
  int screenwidth;
  int screenheight;
  int depthbits;
  int stencilbits;
  int colordepth;
  int fullscreen;
  int quit;      // set on the window system's close request; never cleared
  int inactive;  // 1 after focus was lost, 0 once the window is active again
};

extern configinfo config;
extern windowstate windowinfo;
// The stress views in a palette that does not rely on red against green.
// Saved as a sixth line, "colorsafe=1", only while it is on: the five lines
// stay exactly as they were for everyone else, and a copy of the game that
// knows only those five never looks past "directory".
extern int colorsafe;
// Sound on or off and its volume in percent (0..100). Like "colorsafe",
// each is saved as a line of its own ("sound=0", "volume=N") only when it
// differs from the default.
constexpr int DEFAULTVOLUME = 100;
extern int soundon;
extern int soundvolume;

// The forward-only text parser behind "config.txt".
constexpr int PARSERBUFFER = 1048576;
struct parserinfo {
  int position;                 // next byte to examine
  int length;                   // bytes loaded into buffer
  unsigned char buffer[PARSERBUFFER];
  char number[256];
};
extern parserinfo parser;

void loadtextfile(const char *path);
int findstring(const char *name);
int checkstring(const char *name);
int getint();
float getfloat();
void resetparser();

// The sizes a stored mode may have; outside them, or with a colour depth
// other than 16, 24 or 32 or a full-screen flag other than 0 or 1, the
// value read is replaced by its default. Width and height go together.
constexpr int MINSCREENWIDTH = 640;
constexpr int MINSCREENHEIGHT = 480;
constexpr int MAXSCREENSIDE = 8192;
void loadoptions();
// 1 when "config.txt" was replaced; 0 leaves the previous file intact.
int saveoptions();
