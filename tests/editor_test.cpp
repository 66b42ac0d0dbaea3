#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "editor/editor.h"
#include "editor/editorfile.h"
#include "editor/leveleditor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "render/view.h"
#include "shell/input.h"
#include "shell/fileio.h"
#include "tempdir.h"
#include "testrun/game.h"
#include "world/levelfile.h"
#include "world/levellist.h"

namespace {

using V = std::vector<int>;
V counts() { return {numofjoints, numofbeams}; }

// Every beam joins two distinct existing joints, not both anchors, and no
// pair is joined twice: what every editing step must leave behind.
::testing::AssertionResult tablesvalid() {
  for (int i = 0; i < numofbeams; i++) {
    int a = beam[i].joint1, b = beam[i].joint2;
    bool bad = a < 0 || a >= numofjoints || b < 0 || b >= numofjoints || a == b ||
               (joint[a].type == 0 && joint[b].type == 0);
    for (int k = 0; k < i && !bad; k++)
      bad = (beam[k].joint1 == a && beam[k].joint2 == b) || (beam[k].joint1 == b && beam[k].joint2 == a);
    if (bad)
      return ::testing::AssertionFailure() << "beam " << i << " joins " << a << "," << b;
  }
  return ::testing::AssertionSuccess();
}

// The test camera: centre (1024, 32), distance 64, so 0.2 world units per
// virtual pixel and every even world coordinate is a whole pixel.
void reseteditor(bool camera = true) {
  createlevel();
  numofjoints = numofbeams = 0;
  memset(keyboard, 0, sizeof(keyboard));
  memset(prevkeyboard, 0, sizeof(prevkeyboard));
  mouse = prevmouse = {};
  strcpy(game.name, "test");
  setupeditor();
  if (camera)
    view.pos[0] = 1024.0f, view.pos[1] = 32.0f, view.pos[2] = 64.0f;
}

// This frame's mouse, the last one's kept as the poll keeps it.
void pointat(float wx, float wy, int left, int right) {
  prevmouse = mouse;
  mouse.x = (int)lroundf(320.0f + (wx - 1024.0f) * 5.0f);
  mouse.y = (int)lroundf(240.0f - (wy - 32.0f) * 5.0f);
  mouse.left = left;
  mouse.right = right;
}

// The first half of a frame (poll, build the preview as drawn); frame() is
// a whole one as the screen runs it.
void preview(float wx, float wy, int left = 0, int right = 0) {
  pointat(wx, wy, left, right);
  checkeditor();
}
void frame(float wx, float wy, int left = 0, int right = 0) {
  preview(wx, wy, left, right);
  commiteditor();
}
void click(float wx, float wy) { frame(wx, wy, 1), frame(wx, wy); }
void rightclick(float wx, float wy) { frame(wx, wy, 0, 1), frame(wx, wy); }

// A selection rectangle with the given corners, as if dragged.
void rectangle(vector2d corner1, vector2d corner2) {
  editor.state = EDIT_RECTANGLE;
  editor.corner1 = corner1;
  editor.corner2 = corner2;
}

// One level-editor frame with one painting key held.
void paint(int key, float wx, float wy, int left, int right = 0, int shift = 0) {
  memset(keyboard, 0, sizeof(keyboard));
  keyboard[key] = 1;
  keyboard[KEY_LSHIFT] = (unsigned char)shift;
  pointat(wx, wy, left, right);
  checkleveleditor();
}

int addjoint(int type, float x, float y) {
  joint[numofjoints] = {type, {x, y}};
  return numofjoints++;
}

} // namespace

TEST(Editor, SnappingJointRadiusAndGround) {
  reseteditor();
  // halves go upwards on the 2-unit grid
  const float rounding[][2] = {{1.0f, 2.0f}, {-1.0f, 0.0f}, {-1.01f, -2.0f}, {1013.9f, 1014.0f}};
  for (const auto &r : rounding)
    EXPECT_EQ(roundfloat(r[0], 2.0f), r[1]) << r[0];
  int a = createjoint(1, {1100.0f, 40.0f});
  // within 2 the joint is reused, keeping its type; ties go to the lowest index
  struct {
    int type;
    float x, y;
    int index;
  } rows[] = {{1, 1101.9f, 40.0f, 0}, {1, 1102.0f, 40.0f, 1}, {0, 1100.5f, 40.0f, 0},
              {1, 1100.0f, 32.1f, -1},    // 0.1 above flat ground at 32: refused
              {1, 1100.0f, 32.125f, 2},   // 0.125: clear
              {1, 1200.0f, 10.0f, -1},    // underground
              {1, 1200.0f, 32.0f, -1},    // on the surface
              {1, 1024.0f, 20.0f, 3},     // in the dip, ground 16
              {1, 1100.0f, -300.0f, 4},   // more than 256 below the probe misses: clear
              {0, 1200.0f, 10.0f, 5}};    // anchors go anywhere
  for (const auto &r : rows)
    EXPECT_EQ(createjoint(r.type, {r.x, r.y}), r.index) << r.x << "," << r.y;
  EXPECT_EQ(V({a, joint[a].type, findjoint({1101.0f, 40.0f}), findjoint({1200.0f, 40.0f})}), V({0, 1, 0, -1}));
}

TEST(Editor, BeamRules) {
  reseteditor();
  int a0 = addjoint(0, 900, 40), a1 = addjoint(0, 910, 40);
  int f0 = addjoint(1, 916, 48), f1 = addjoint(1, 934, 40), f2 = addjoint(1, 928, 62);
  int f3 = addjoint(1, 900, 48);
  struct {
    int type, a, b, result;
    const char *why;
  } rows[] = {{0, a0, a1, -1, "two anchors"}, {0, f0, f0, -1, "a joint to itself"},
              {0, f0, numofjoints, -1, "bad index"}, {0, -1, f0, -1, "bad index"},
              {7, a0, f3, -1, "bad type"}, {2, a0, f3, -1, "bad type"}, {0, a0, f0, 0, "16 across and 8 up: 17.89"},
              {1, f0, a0, 0, "the same pair: the existing beam"}, {0, f0, f1, -1, "18 across"},
              {0, f0, f2, -1, "18.44"}};
  for (const auto &r : rows)
    EXPECT_EQ(createbeam(r.type, r.a, r.b), r.result) << r.why;
  EXPECT_EQ(V({beam[0].type, numofbeams}), V({0, 1}));
  // exactly the maximum length is allowed
  beamtype[0] = 8.0f;
  EXPECT_NE(createbeam(0, f3, a0), -1);
  beamtype[0] = MAXBEAMLENGTH;
  EXPECT_TRUE(tablesvalid());
}

TEST(Editor, DeleteKeepsTablesDense) {
  reseteditor();
  for (int i = 0; i < 10; i++)
    addjoint(i < 2 ? 0 : 1, 1000.0f + 4.0f * (float)i, 40.0f + (float)(i & 1) * 4.0f);
  for (int i = 0; i + 1 < 10; i++)
    createbeam(0, i, i + 1), createbeam(0, i, i + 2);
  vector2d moved = joint[9].pos, first = joint[0].pos;
  // deleting joint 3 of 10 removes its 4 of 16 beams and renumbers joint 9 to 3
  deletejoint(3);
  int tojoint3 = 0;
  for (int i = 0; i < numofbeams; i++)
    tojoint3 += (beam[i].joint1 == 3 || beam[i].joint2 == 3);
  EXPECT_EQ(V({numofjoints, numofbeams, tojoint3}), V({9, 12, 2}));
  EXPECT_EQ(joint[3].pos.x, moved.x);
  EXPECT_TRUE(tablesvalid());
  // deleting the last joint moves nothing; out-of-range deletions are ignored
  deletejoint(numofjoints - 1);
  deletejoint(-1);
  deletejoint(numofjoints);
  deletebeam(numofbeams);
  EXPECT_EQ(numofjoints, 8);
  EXPECT_EQ(joint[0].pos.x, first.x);
  EXPECT_TRUE(tablesvalid());
}

TEST(Editor, FullTablesRefuse) {
  reseteditor();
  numofjoints = MAXJOINTS;
  for (int i = 0; i < MAXJOINTS; i++)
    joint[i] = {1, {(float)(i % 128) * 4.0f, 100.0f + (float)(i / 128) * 4.0f}};
  // a new point is refused, an existing one still found
  EXPECT_EQ(V({createjoint(1, {1.0f, 50.0f}), createjoint(0, {1.0f, 50.0f}), createjoint(1, {4.5f, 100.0f})}),
            V({-1, -1, 1}));
  numofbeams = MAXBEAMS;
  for (int i = 0; i < MAXBEAMS; i++)
    beam[i] = {0, i, (i + 1) % 128 == 0 ? i - 1 : i + 1, 0, 0, 0.0f};
  EXPECT_EQ(createbeam(0, 200, 328), -1);
  EXPECT_EQ(numofbeams, MAXBEAMS);

  // A file holds one entry fewer than the tables: a click past that is
  // refused as one over budget, the level editor places no further anchor.
  reseteditor();
  level.budget = 1 << 30;
  numofjoints = MAXJOINTS - 1;
  joint[0] = {1, {1000, 40}};
  click(1000, 40);
  click(1008, 40);
  EXPECT_EQ(V({numofjoints, editor.selected}), V({MAXJOINTS - 1, 0}));
  joint[1] = {1, {1008, 40}};
  numofbeams = MAXBEAMS - 1;
  click(1008, 40);
  EXPECT_EQ(numofbeams, MAXBEAMS - 1);
  paint(PAINT_ANCHOR, 1020, 20, 1);
  EXPECT_EQ(numofjoints, MAXJOINTS - 1);
  keyboard[PAINT_ANCHOR] = 0;
  numofjoints = numofbeams = 0;
}

TEST(Editor, DrawingBeams) {
  reseteditor();
  level.budget = 10000;
  int anchor = addjoint(0, 992, 32);
  saveeditortables();
  // hovering shows the anchor; clicking it draws from it (an anchor never moves)
  frame(992, 32);
  EXPECT_EQ(editor.hover, anchor);
  click(992, 32);
  EXPECT_EQ(V({editor.selected, editor.dragmode}), V({anchor, DRAG_DRAWING}));
  // far to the right the preview ends 16 away, on the farthest grid point
  // within 17.9; both ends on the deck line: a deck beam, drawn as preview
  preview(1040, 32);
  ASSERT_EQ(counts(), V({2, 1}));
  EXPECT_EQ(joint[1].pos.x, 1008.0f);
  EXPECT_EQ(V({beam[0].type, editor.savednumofjoints}), V({1, 1}));
  // no click: the preview vanishes
  commiteditor();
  EXPECT_EQ(counts(), V({1, 0}));
  // a click builds it and drawing goes on from its end
  click(1040, 32);
  EXPECT_EQ(V({numofbeams, editor.selected, editor.cost}), V({1, 1, 100}));
  // a diagonal beam off the deck line is structural
  click(1016, 40);
  ASSERT_EQ(numofbeams, 2);
  EXPECT_EQ(beam[1].type, 0);
  // an end in the ground ends drawing and builds nothing
  rightclick(1100, 100);
  addjoint(1, 1070, 40);
  click(1070, 40);
  frame(1070, 31, 1);
  EXPECT_EQ(V({editor.selected, numofbeams, numofjoints}), V({-1, 2, 4}));
  frame(1070, 31);
  EXPECT_TRUE(tablesvalid());
}

TEST(Editor, DeckDetectionAtOneUnit) {
  reseteditor();
  addjoint(1, 1000, 40);
  // Beams drawn along y 40 from x 1000 on: deck within less than 1.0 of the
  // deck height; with a manual deck only the "Build Deck" toggle, which the
  // next beam takes one frame later.
  struct {
    float deckheight;
    int manual, builddeck, type;
  } rows[] = {{41.0f, 0, 0, 0}, {40.5f, 0, 0, 1}, {39.01f, 0, 0, 1}, {40.0f, 1, 0, 0}, {60.0f, 1, 1, 1}};
  float x = 1000;
  for (const auto &r : rows) {
    level.deckheight = r.deckheight;
    level.manualdeck = r.manual;
    editor.builddeck = r.builddeck;
    frame(x + 8, 40);
    click(x, 40);
    click(x + 8, 40);
    rightclick(1100, 100);
    ASSERT_EQ(numofbeams, (int)(&r - rows) + 1);
    EXPECT_EQ(beam[numofbeams - 1].type, r.type) << r.deckheight;
    x += 8;
  }
  // a new deck height retypes every beam
  level.manualdeck = 0;
  level.deckheight = 40.0f;
  setdecktypes();
  EXPECT_EQ(beam[0].type, 1);
}

TEST(Editor, BudgetRefusal) {
  reseteditor();
  level.budget = 1000;
  addjoint(1, 1000, 60);
  for (int i = 0; i <= 10; i++)
    click(1000.0f + 4.0f * (float)i, 60);
  // the eleventh beam is previewed (+100 in red) but a click builds nothing
  frame(1044, 60);
  EXPECT_EQ(editor.cost, 1000);
  preview(1044, 60, 1);
  EXPECT_EQ(numofbeams, 11);
  commiteditor();
  frame(1044, 60);
  EXPECT_EQ(V({numofbeams, editor.selected}), V({10, 10})); // still drawing from the last joint
}

TEST(Editor, MovingJoints) {
  reseteditor();
  int anchor = addjoint(0, 1000, 40), f = addjoint(1, 1010, 40), g = addjoint(1, 1020, 40);
  createbeam(0, anchor, f);
  createbeam(0, f, g);
  // press on the free joint: pressed, not moved; dragged up it follows the snapped mouse
  frame(1010, 40, 1);
  EXPECT_EQ(V({editor.selected, editor.dragmode}), V({f, DRAG_PRESSED}));
  frame(1010.3f, 46, 1);
  EXPECT_EQ(editor.dragmode, DRAG_MOVING);
  // onto another joint's circle or into the ground: it stays at its last valid spot
  frame(1019, 40, 1);
  frame(1019, 40, 1);
  frame(1060, 20, 1);
  EXPECT_EQ(editor.dragpos.x, 1010.0f);
  EXPECT_EQ(editor.dragpos.y, 46.0f);
  // release: the move is recorded for undo and the joint stays selected
  frame(1010, 46, 0);
  frame(1010, 46, 0);
  EXPECT_EQ(joint[f].pos.y, 46.0f);
  EXPECT_EQ(V({undoposition, editor.dragmode, editor.selected, numofjoints}), V({1, DRAG_DRAWING, f, 3}));
  rightclick(1100, 100);
  // pressing on an anchor and moving never moves it
  frame(1000, 40, 1);
  frame(1004, 48, 1);
  frame(1004, 48, 0);
  EXPECT_EQ(joint[anchor].pos.y, 40.0f);
  // undo puts the moved joint back
  rightclick(1100, 100);
  editorundo();
  EXPECT_EQ(joint[f].pos.y, 40.0f);
  // straight from the press onto another joint: drawn where it was
  frame(1020, 40, 1);
  preview(1010, 40, 1);
  EXPECT_EQ(joint[g].pos.x, 1020.0f);
  commiteditor();
  EXPECT_TRUE(tablesvalid());
}

TEST(Editor, InterruptedDragDoesNotCarryOver) {
  reseteditor();
  int anchor = addjoint(0, 1000, 40);
  addjoint(1, 1010, 40);
  frame(1010, 40, 1);
  frame(1014, 44, 1);
  ASSERT_EQ(editor.dragmode, DRAG_MOVING);
  // the Test hotkey fires mid-drag; the run returns
  restoreeditortables();
  resumeeditor();
  frame(1014, 44, 0);
  // clicking the anchor now draws from it instead of moving it
  click(1000, 40);
  preview(1006, 48);
  EXPECT_EQ(V({editor.selected, numofbeams}), V({anchor, 1}));
  EXPECT_EQ(joint[anchor].pos.x, 1000.0f);
}

TEST(Editor, RightClickAndRectangle) {
  reseteditor();
  int anchor = addjoint(0, 1000, 40), f = addjoint(1, 1010, 40), g = addjoint(1, 1010, 50);
  createbeam(0, anchor, f);
  createbeam(0, f, g);
  // right-clicking an anchor deletes nothing; a beam (not near a joint) only it
  rightclick(1000, 40);
  EXPECT_EQ(numofjoints, 3);
  rightclick(1005, 40.5f);
  EXPECT_EQ(V({numofbeams, undoposition}), V({1, 1}));
  // a beam of no length (as a file may hold) is not picked from afar
  int z1 = addjoint(1, 1080, 80), z2 = addjoint(1, 1080, 80);
  createbeam(0, z1, z2);
  frame(1050, 40);
  EXPECT_EQ(beam[2].hover, 0);
  deletejoint(z2);
  deletejoint(z1);
  // right-clicking a free joint deletes it with its beams
  rightclick(1010, 50);
  EXPECT_EQ(counts(), V({2, 0}));
  // drawing from a free joint onto joint 0 joins them, a step that can be undone
  int undos = undoposition;
  click(1010, 40);
  click(1000, 40);
  EXPECT_EQ(V({numofbeams, undoposition}), V({1, (undos + 1) & 15}));
  rightclick(1100, 100);
  // right-click while drawing only cancels drawing
  click(1010, 40);
  frame(1020, 40);
  rightclick(1020, 40);
  EXPECT_EQ(V({numofjoints, editor.selected}), V({2, -1}));
  // a rectangle of diagonal 3.9 is dropped on release, one of 4.0 stays
  frame(1050, 60, 1);
  EXPECT_EQ(getrectanglesize(), 0.0f);
  frame(1053.8f, 60, 1);
  frame(1053.8f, 60, 0);
  EXPECT_EQ(editor.state, EDIT_IDLE);
  frame(1050, 60, 1);
  frame(1056, 64, 1);
  frame(1056, 64, 0);
  EXPECT_EQ(editor.state, EDIT_RECTANGLE);
  EXPECT_GE(getrectanglesize(), 4.0f);
  // a new click cancels it
  frame(1070, 70, 1);
  EXPECT_EQ(editor.state, EDIT_IDLE);
  EXPECT_TRUE(tablesvalid());
}

TEST(Editor, UndoRing) {
  reseteditor();
  addjoint(1, 1000, 60);
  saveeditortables();
  EXPECT_EQ(V({undoposition, undoposition}), V({undoback, undofront}));
  // three beams, three undos: as loaded; a fourth does nothing
  for (int i = 0; i < 4; i++)
    click(1000.0f + 4.0f * (float)i, 60);
  jointinfo built[4];
  memcpy(built, joint, sizeof(built));
  ASSERT_EQ(editor.hover, 3);
  editorundo();
  // back to drawing from the third beam's start; the joint under the mouse is gone
  EXPECT_EQ(V({editor.selected, editor.hover}), V({2, -1}));
  // undone by the button (no mouse handling that frame): the cost shown and
  // the committed state drawn follow the tables
  idleeditor();
  EXPECT_EQ(V({editor.cost, editor.savednumofbeams}), V({200, 2}));
  for (int i = 0; i < 3; i++)
    editorundo();
  EXPECT_EQ(counts(), V({1, 0}));
  // redo restores every beam exactly, and no further
  for (int i = 0; i < 4; i++)
    editorredo();
  ASSERT_EQ(counts(), V({4, 3}));
  EXPECT_EQ(memcmp(built, joint, sizeof(built)), 0);
  EXPECT_EQ(editor.selected, -1);
  // undo, then build: the redo branch is gone
  editorundo();
  click(1000, 60);
  click(1000, 64);
  EXPECT_EQ(undoposition, undofront);
  rightclick(1100, 100);
  // twenty changes: only fifteen can be undone
  reseteditor();
  addjoint(1, 900, 60);
  for (int i = 0; i <= 20; i++)
    click(900.0f + 4.0f * (float)i, 60);
  int undos = 0;
  for (; undoposition != undoback; undos++)
    editorundo();
  EXPECT_EQ(V({undos, numofbeams}), V({15, 5}));
  EXPECT_TRUE(tablesvalid());
}

TEST(Editor, CopyFlipPasteDelete) {
  // a new bridge starts with an empty clipboard and nothing carried over
  copy.count = 3;
  editor.hover = 5, editor.newbeamtype = 1, editor.state = EDIT_RECTANGLE;
  view.pos[0] = view.pos[1] = 0.0f;
  reseteditor(false);
  EXPECT_EQ(V({copy.count, editor.hover, editor.newbeamtype, editor.state}), V({0, -1, 0, EDIT_IDLE}));
  EXPECT_EQ(view.pos[0], 1024.0f);
  EXPECT_EQ(view.pos[1], level.deckheight);
  int a = addjoint(1, 2, 4), b = addjoint(1, 4, 6);
  createbeam(0, a, b);
  rectangle({10, 10}, {0, 0});
  copyjoints();
  EXPECT_EQ(V({copy.count, editor.state}), V({1, EDIT_PASTE}));
  // a rectangle with joints but no whole beam empties the clipboard
  rectangle({1, 3}, {3, 5});
  copyjoints();
  EXPECT_EQ(V({copy.count, editor.state}), V({0, EDIT_IDLE}));

  // a lopsided truss left of x 1040, a vertical post and a diagonal; edges
  // of the rectangle count as inside
  reseteditor();
  int p0 = addjoint(1, 1030, 40), p1 = addjoint(1, 1030, 50), p2 = addjoint(1, 1040, 40);
  createbeam(0, p0, p1);
  createbeam(0, p1, p2);
  createbeam(0, p0, p2);
  rectangle({1040, 50}, {1030, 40});
  copyjoints();
  ASSERT_EQ(copy.count, 3);
  copyinfo before = copy;
  flipcopy();
  flipcopy();
  EXPECT_EQ(memcmp(&before.item[0], &copy.item[0], sizeof(copyitem) * 3), 0);
  flipcopy();
  // stamping the mirrored copy centred on (1060, 46): previewed, then built
  preview(1060, 46);
  EXPECT_EQ(numofjoints, 6);
  commiteditor();
  frame(1060, 46, 1);
  EXPECT_EQ(V({numofjoints, numofbeams, editor.state, editor.selected}), V({6, 6, EDIT_PASTE, -1}));
  // the post, left of the centre when copied, is now right of it; copy
  // centre: the mean of the six beam ends (1033.3, 43.3) on the grid
  vector2d post = {0, 0};
  for (int i = 3; i < numofjoints; i++)
    if (joint[i].pos.y == 52.0f)
      post = joint[i].pos;
  EXPECT_EQ(post.x, 1060.0f + (1034.0f - 1030.0f));
  // a right click ends paste mode; the clipboard stays
  rightclick(1060, 46);
  EXPECT_EQ(V({editor.state, copy.count, numofjoints}), V({EDIT_IDLE, 3, 6}));

  // delete: the free joints in the rectangle go, with beams to joints outside
  int anchor = addjoint(0, 1045, 45);
  createbeam(0, anchor, p2);
  saveeditortables();
  int undo = (undoposition + 1) & 15;
  rectangle({1029, 39}, {1046, 51});
  deletejoints();
  EXPECT_EQ(V({numofjoints, numofbeams, undoposition}), V({4, 3, undo})); // the anchor and the pasted three
  EXPECT_TRUE(tablesvalid());
  // a rectangle holding only the anchor changes nothing and records nothing
  rectangle({1044, 44}, {1046, 46});
  deletejoints();
  EXPECT_EQ(V({numofjoints, undoposition, editor.state}), V({4, undo, EDIT_IDLE}));

  // 41 beams whose ends average x 7: the centre snaps to 8
  reseteditor();
  for (int i = 0; i < 41; i++)
    beam[numofbeams++] = {0, addjoint(1, 6, 4.0f * (float)i), addjoint(1, 8, 4.0f * (float)i), 0, 0, 0.0f};
  rectangle({0, 0}, {10, 200});
  copyjoints();
  EXPECT_EQ(copy.item[0].pos1.x, -2.0f);
}

TEST(Editor, PasteModeClearsStaleHover) {
  reseteditor();
  int a = addjoint(1, 1000, 40), b = addjoint(1, 1004, 40);
  createbeam(0, a, b);
  rectangle({990, 30}, {1010, 50});
  copyjoints();
  rightclick(1100, 100);
  // hover a joint, then enter paste mode by its key and right-click: the joint survives
  frame(1000, 40);
  ASSERT_EQ(editor.hover, a);
  pasteclipboard();
  EXPECT_EQ(editor.hover, -1);
  rightclick(1000, 40);
  EXPECT_EQ(numofjoints, 2);
  // pasting with a stale hover does not select it
  frame(1000, 40);
  pasteclipboard();
  frame(1100, 60, 1);
  EXPECT_EQ(V({editor.selected, numofbeams}), V({-1, 2}));
}

TEST(Editor, LevelEditorPainting) {
  reseteditor();
  // Terrain takes the exact height (on the grid with Shift), the deck and
  // the ends the grid, anchors go underground on the grid; nothing without
  // the button.
  struct {
    int key;
    float x, y;
    int left, shift;
    float *field, expect;
  } rows[] = {{PAINT_TERRAIN, 1041.0f, 20.2f, 1, 0, &level.terrain[260], 20.2f},
              {PAINT_TERRAIN, 1041.0f, 20.2f, 1, 1, &level.terrain[260], 20.0f},
              {PAINT_TERRAIN, 1041.0f, 30.0f, 0, 0, &level.terrain[260], 20.0f},
              {PAINT_WATER, 1024, 25.4f, 1, 0, &level.waterlevel, 25.4f},
              {PAINT_DECK, 1024, 37.2f, 1, 0, &level.deckheight, 38.0f},
              {PAINT_RIGHTEND, 1047, 30, 1, 0, &level.rightend, 1048.0f},
              {PAINT_LEFTEND, 1001, 30, 1, 0, &level.leftend, 1002.0f},
              {PAINT_ANCHOR, 1011, 10.8f, 0, 0, &joint[0].pos.x, 0.0f},
              {PAINT_ANCHOR, 1011, 10.8f, 1, 0, &joint[0].pos.x, 1012.0f},
              {PAINT_ANCHOR, 1011, 10.8f, 0, 0, &joint[1].pos.x, 0.0f},
              {PAINT_ANCHOR, 1012.6f, 10.4f, 1, 0, &joint[1].pos.x, 0.0f}};  // next to one: nothing
  joint[0].pos.x = joint[1].pos.x = 0.0f;
  for (const auto &r : rows) {
    paint(r.key, r.x, r.y, r.left, 0, r.shift);
    EXPECT_FLOAT_EQ(*r.field, r.expect) << (char)r.key << " " << r.x << "," << r.y;
  }
  ASSERT_EQ(numofjoints, 1);
  EXPECT_EQ(joint[0].type, 0);
  EXPECT_EQ(joint[0].pos.y, 10.0f);
  // right-click deletes the joint there, free ones too
  addjoint(1, 1020, 40);
  paint(PAINT_ANCHOR, 1020, 40, 0, 1);
  EXPECT_EQ(numofjoints, 1);
  // painting terrain beside the level writes nothing (world x -20, 2100;
  // 2046 is column 511)
  levelinfo saved = level;
  view.pos[0] = 0.0f;
  paint(PAINT_TERRAIN, 1024 - 20, 30, 1);
  view.pos[0] = 2100.0f;
  paint(PAINT_TERRAIN, 1024, 30, 1);
  paint(PAINT_TERRAIN, 1024 - 54, 30, 1);
  EXPECT_EQ(level.terrain[511], 30.0f);
  level.terrain[511] = saved.terrain[511];
  EXPECT_EQ(memcmp(&saved, &level, sizeof(level)), 0);
  EXPECT_EQ(editor.selected, -1);
}

TEST(Editor, CameraEntryAndClamps) {
  reseteditor();
  // a joint at x 1500 backs the camera off to 476; the first step limits it
  addjoint(1, 1500, 40);
  setupeditor();
  EXPECT_EQ(view.pos[2], 476.0f);
  moveeditorcamera(0, 0);
  EXPECT_EQ(view.pos[2], 256.0f);
  // all joints near the centre: distance 64
  numofjoints = 0;
  addjoint(1, 1060, 40);
  setupeditor();
  EXPECT_EQ(view.pos[2], 64.0f);
  // While a text box is edited the keys, Ctrl included, are the box's: the
  // edge scrolls at the slow speed. (The shared clamps are the test run's.)
  mouse.x = 320;
  mouse.y = 0;
  keyboard['s'] = keyboard[KEY_LCTRL] = 1;
  float y = view.pos[1];
  moveeditorcamera(1, 1);
  EXPECT_EQ(view.pos[1], y + 0.5f);
  memset(keyboard, 0, sizeof(keyboard));
  // the editor's camera may look 64 below the ground line
  view.pos[1] = -100.0f;
  moveeditorcamera(0, 0);
  EXPECT_EQ(view.pos[1], -64.0f);
}

TEST(Editor, CameraClock) {
  reseteditor();
  mouse = {};
  keyboard['d'] = 1;
  view.pos[0] = 1000.0f;
  // One step per 16 ms; after two steps in a frame the backlog is dropped;
  // right across the wrap of the millisecond counter.
  const unsigned int rows[][4] = {{1000, 1015, 0, 1000}, {1000, 1016, 1, 1016}, {1016, 1056, 2, 1048},
                                  {1048, 2048, 3, 2048}, {2048, 2050, 0, 2048}, {0xfffffff0u, 0x10u, 2, 0x10u}};
  for (const auto &r : rows) {
    unsigned int last = r[0];
    EXPECT_EQ(runeditorcamera(r[1], &last, 0, 0), (int)r[2]) << r[1];
    EXPECT_EQ(last, r[3]) << r[1];
  }
  EXPECT_EQ(view.pos[0], 1000.0f + 0.5f * 8);
  keyboard['d'] = 0;
}

class EditorFiles : public tempdirtest {
protected:
  // Saves through the file box; the working directory must not move.
  int save(int leveleditor, const char *name) {
    editor.leveleditor = leveleditor;
    strcpy(editor.filename, name);
    editor.filemenu = 2;
    int saved = checkeditorsave();
    EXPECT_EQ(V({editor.filemenu, cwd() == dir}), V({0, 1})) << name;
    return saved;
  }
  // What a saved file holds: joints, beams, anchors.
  V loaded(const char *path, const char *name, int bridge) {
    numofjoints = numofbeams = 0;
    EXPECT_EQ(chdir(path), 0);
    int ok = loadlevel(name, bridge);
    EXPECT_EQ(chdir(dir.c_str()), 0);
    int anchors = 0;
    for (int i = 0; i < numofjoints; i++)
      anchors += joint[i].type == 0;
    return {ok, numofjoints, numofbeams, anchors};
  }
};

TEST_F(EditorFiles, SaveLevelAndBridgeIntoPack) {
  // a name filling its whole record still ends inside the file box's
  memset(game.name, 'n', sizeof game.name);
  setupeditor();
  EXPECT_EQ(strlen(editor.filename), sizeof editor.filename - 1);
  reseteditor();
  mkdir("level", 0777);
  mkdir("bridge", 0777);
  strcpy(dirlist[0], "p"); // a one-letter pack name is a pack too
  dirlist[1][0] = 0;
  dirnum = 0;
  int anchor = addjoint(0, 1000, 40), f = addjoint(1, 1010, 40);
  addjoint(0, 1020, 40);
  createbeam(0, anchor, f);
  createbeam(0, f, 2);
  jointinfo built[3];
  memcpy(built, joint, sizeof(built));
  // the level editor's save writes only the anchors, into level/p; the
  // bridge on screen is as it was
  EXPECT_EQ(save(1, "lv"), 1);
  ASSERT_EQ(counts(), V({3, 2}));
  EXPECT_EQ(memcmp(built, joint, sizeof(built)), 0);
  EXPECT_EQ(loaded("level/p", "lv", 0), V({1, 2, 0, 2}));
  // redo strips the bridge again
  numofjoints = 3;
  memcpy(joint, built, sizeof(built));
  editorredo();
  EXPECT_EQ(numofjoints, 2);
  editorundo();
  EXPECT_EQ(numofbeams, 2);
  // a bridge is saved whole into bridge/p
  EXPECT_EQ(save(0, "br"), 1);
  EXPECT_EQ(loaded("bridge/p", "br", 1), V({1, 3, 2, 2}));
  // a name the file code refuses closes the box, writes nothing, leaves us
  // here; nothing requested: nothing happens
  EXPECT_EQ(save(0, "../x"), 0);
  EXPECT_FALSE(exists("bridge/x.qzb"));
  EXPECT_EQ(checkeditorsave(), 0);
}
