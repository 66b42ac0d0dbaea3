// One line on screen that tells the player what just happened outside the
// screen's own items: a save that failed ("Could not save bridge/Riverside.pro"),
// a save or a screenshot that worked ("Saved 05 Freight"). Every screen (the
// menus, the editor, the test run) draws it in the same place: centred on
// x 320 at y 64, size 14, on a dark band, the one row between the menus'
// headings (y 48) and their lists (y 80) that no screen's item uses. It is
// drawn after the F8 capture, so it never ends up in a screenshot.
//
// Usage, from any code, with or without a clock:
//   setnotice(NOTICE_INFO, "Saved %s", name);     // printf format
//   notesavefailure("bridge/Riverside.pro");      // what every failed save calls
// and once a frame, after the capture and before the cursor:
//   drawnotice(SDL_GetTicks());
//
// A line's lifetime counts from the first frame that shows it, not from the
// call, so a save deep in a load or a screen change that takes a while still
// shows its line for the whole time.
#pragma once

enum : int {
  NOTICE_INFO = 0,
  NOTICE_ERROR = 1,
};

constexpr unsigned int NOTICEINFOTIME = 2000;  // ms an info line stays
constexpr unsigned int NOTICEERRORTIME = 6000; // ms an error stays: it needs reading
constexpr int NOTICELENGTH = 160;              // bytes of text, NUL included
constexpr int NOTICEX = 320;                   // centre of the line, virtual pixels
constexpr int NOTICEY = 64;                    // top of the line
constexpr int NOTICESIZE = 14;                 // glyph height
constexpr int NOTICECHARS = 72;                // longest line of names that fits the screen

struct noticeinfo {
  char text[NOTICELENGTH]; // "" when there is none
  int kind;                // NOTICE_*
  int shown;               // 1 once a frame has shown it; start is valid then
  unsigned int start;      // the frame clock (ms) of the first frame that showed it
  int failures;            // different files whose failed save this line tells
  int numofnamed;          // of those, the ones failednames holds
  char failednames[NOTICELENGTH]; // the files the line names, ", " between them
};

extern noticeinfo notice;

// Replaces the line, except that an info line never replaces an error no
// frame has shown yet: a "Saved" must not hide why an earlier save failed.
void setnotice(int kind, const char *format, ...) __attribute__((format(printf, 2, 3)));
// "Could not save <name>". Further failures while that line is up join it
// ("Could not save scsht000.tga, bridge/Riverside.pro"), as many names as
// fit NOTICECHARS; the rest are counted ("... and 2 more"), so one line
// still says that each of them failed. A name already on the line is not
// told twice.
void notesavefailure(const char *name);
// The text to show at `now` (the frame's clock in ms, wrapping allowed), or
// NULL when there is none or its time is over. The first call after a
// setnotice starts the line's clock.
const char *getnotice(unsigned int now);
void clearnotice();
// The line for a screenshot() result: told after the capture, so the line
// is never in the picture it names. A failed save is already on its way.
void notescreenshot(int result);

// GL half (notice_gl.cpp): the line and its band, when there is one.
void drawnotice(unsigned int now);
