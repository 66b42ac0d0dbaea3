// The bridge editor: the primitive joint and beam edits, the mouse handling
// that builds every change as a preview in the live tables and then commits
// it or rolls it back, and the editor camera. Everything reads plain records
// (mouse, keyboard, view, the world tables), so tests drive it frame by frame.
#pragma once

#include "world/level.h"

constexpr float EDITORGRID = 2.0f;      // snapping step
constexpr float JOINTRADIUS = 2.0f;     // a point closer than this reuses a joint
constexpr float BEAMPICKRADIUS = 1.0f;  // mouse distance that highlights a beam
constexpr float DECKTOLERANCE = 1.0f;   // |y - deckheight| below this is deck
constexpr int EDITORBUTTONROW = 464;    // virtual y where the bottom buttons start

// Editor states.
enum : int {
  EDIT_IDLE = 0,
  EDIT_RECTANGLE = 1,
  EDIT_PASTE = 2,
};

// Joint-move states, meaningful while `selected` is not -1.
enum : int {
  DRAG_DRAWING = 0,  // drawing beams from `selected`
  DRAG_PRESSED = 1,  // button went down on the free joint, not moved yet
  DRAG_MOVING = 2,
  DRAG_RELEASED = 3, // move finished, to be committed
};

// The saved tables are the state at the start of the frame: the commit step
// restores from them, undo records them as the before-state, and the
// renderer draws entries beyond the saved counts as uncommitted preview.
struct editorinfo {
  int state;
  int dragmode;
  vector2d dragpos;   // last valid position of the joint being moved
  int selected;       // joint beams are drawn from; -1 none
  int hover;          // joint under the mouse or at the preview's end; -1 none
  int newbeamtype;
  int builddeck;      // "Build Deck" toggle, read only with level.manualdeck
  int savednumofjoints;
  jointinfo savedjoint[MAXJOINTS];
  int savednumofbeams;
  beaminfo savedbeam[MAXBEAMS];
  float grid;
  int leveleditor;
  int cost;           // 100 per committed beam
  vector2d corner1;   // selection rectangle, unsnapped world units, any order
  vector2d corner2;
  char filename[32];
  int filemenu;       // 0 closed, 1 open, 2 save requested
};

extern editorinfo editor;

// Primitive edits. Creation returns the index, or -1 when refused (a rule,
// a bad index, or a full table).
float roundfloat(float value, float step);
int findjoint(vector2d point);
int createjoint(int type, vector2d point);
int pointabovelevel(vector2d point);
void deletejoint(int index);
int createbeam(int type, int joint1, int joint2);
void deletebeam(int index);
// Without a manual deck: every beam with both joints on the deck line is
// deck, every other one structure.
void setdecktypes();

// Virtual-screen pixel to world point for the current camera.
vector2d getmouseworld(int x, int y);

// Entry of the editor screen: camera, stress, beam limits, editor fields,
// undo ring and clipboard. Requires the level and bridge loaded.
void setupeditor();
// After a test run: back to idle with nothing selected.
void resumeeditor();

void saveeditortables();
void restoreeditortables();
void clearselection();

// One frame of mouse handling: builds the preview.
void checkeditor();
// A frame without mouse handling (pointer over the buttons, or a text box
// being edited): no preview, but the cost and the committed state the
// renderer compares against follow what the buttons did (undo, delete).
void idleeditor();
// After the frame is shown: keep the preview (recorded for undo) or drop it.
void commiteditor();

// Camera. One step moves by the keys (unless a text box is being edited),
// by the screen edges in full screen, and by the pending wheel notches, then
// clamps. The clock runs whole 16 ms steps, at most 4 per frame; returns the
// number of steps run.
void moveeditorcamera(int editing, int fullscreen);
int runeditorcamera(unsigned int now, unsigned int *last, int editing, int fullscreen);
