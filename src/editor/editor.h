// The bridge editor: the primitive joint and beam edits, the mouse handling
// that builds every change as a preview in the live tables and then commits
// it or rolls it back, and the editor camera. Everything reads plain records
// (mouse, keyboard, view, the world tables), so tests drive it frame by frame.
#pragma once

#include "feedback/readout.h"
#include "render/view.h"
#include "world/level.h"

constexpr float EDITORGRID = 2.0f;      // snapping step
constexpr float JOINTRADIUS = 2.0f;     // a point closer than this reuses a joint
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

// Why the action the mouse is about to take would build, move, paste or
// stamp nothing. checkeditor records it with the preview; the commit step
// tells the player on the notice line when a click (or a held drag) meets
// it. The primitive edits record their own reason beside the -1 they
// return, so a caller can pass it on.
enum : int {
  REFUSE_NONE = 0,
  REFUSE_BUDGET,      // amount: how far over the budget the click would go
  REFUSE_LENGTH,      // amount: the length asked for, in tenths
  REFUSE_GROUND,      // a joint would lie inside the ground
  REFUSE_JOINTTHERE,  // a moved joint would land on another joint
  REFUSE_BEAMTHERE,   // the beam clicked for is already built
  REFUSE_ANCHORMOVE,  // a press on an anchor was dragged
  REFUSE_TWOANCHORS,
  REFUSE_FULL,        // the tables (or a bridge file) hold no more
  REFUSE_STAMPTHERE,  // every beam of the stamp is already built
  REFUSE_COPYNOTHING, // no beam lies wholly inside the rectangle
  REFUSE_ANCHORDELETE,
};

// What the readouts need of the editor this frame.
editorfocus geteditorfocus();

struct refusalinfo {
  int code;    // REFUSE_*
  int amount;
};

extern refusalinfo refusal;     // the pending action's, this frame
extern refusalinfo lastrefusal; // the last -1 of createjoint or createbeam

// The line the player reads, headless; "" for REFUSE_NONE.
int getrefusaltext(char *out, int size, int code, int amount);
// Puts that line on the notice line.
void noterefusal(int code, int amount);

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
