#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/breakmark.h"
#include "editor/editor.h"
#include "editor/editorfile.h"
#include "editor/leveleditor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "ui/notice.h"
#include "render/view.h"
#include "shell/input.h"
#include "shell/fileio.h"
#include "tempdir.h"
#include "testrun/game.h"
#include "testrun/outcome.h"
#include "world/bridgecheck.h"
#include "world/levelfile.h"
#include "world/levellist.h"

namespace {

using V = std::vector<int>;

// An empty bridge on the default level, the editor's camera put at (1024,
// 32) from 64 (it opens a little higher, to keep the crossing clear of the
// rows of text): 0.2 world units per virtual pixel, so every even world
// coordinate is a whole pixel.
void reseteditor() {
  createlevel();
  numofjoints = numofbeams = 0;
  memset(keyboard, 0, sizeof(keyboard)), memset(prevkeyboard, 0, sizeof(prevkeyboard));
  mouse = prevmouse = {};
  strcpy(game.name, "test");
  setupeditor();
  view.pos[1] = 32.0f;
  clearnotice();
}

// This frame's mouse, the last one's kept as the poll keeps it.
void pointat(float wx, float wy, int left, int right) {
  prevmouse = mouse;
  mouse.x = (int)lroundf(320.0f + (wx - 1024.0f) * 5.0f);
  mouse.y = (int)lroundf(240.0f - (wy - 32.0f) * 5.0f);
  mouse.left = left, mouse.right = right;
}

// The first half of a frame (poll, build the preview as drawn); frames()
// runs whole ones as the screen does, click() a press and release.
void preview(float wx, float wy, int left = 0, int right = 0) { pointat(wx, wy, left, right), checkeditor(); }
struct step { float x, y; int left, right; };
void frames(std::initializer_list<step> steps) {
  for (const step &s : steps)
    preview(s.x, s.y, s.left, s.right), commiteditor();
}
void click(float wx, float wy) { frames({{wx, wy, 1, 0}, {wx, wy, 0, 0}}); }
void rightclick(float wx, float wy) { frames({{wx, wy, 0, 1}, {wx, wy, 0, 0}}); }

// A selection rectangle with the given corners, as if dragged.
void rectangle(vector2d c1, vector2d c2) { editor.state = EDIT_RECTANGLE, editor.corner1 = c1, editor.corner2 = c2; }

// One level-editor frame with one painting key held.
void paint(int key, float wx, float wy, int left, int right = 0, int shift = 0) {
  memset(keyboard, 0, sizeof(keyboard));
  keyboard[key] = 1, keyboard[KEY_LSHIFT] = (unsigned char)shift;
  pointat(wx, wy, left, right);
  checkleveleditor();
}

int addjoint(int type, float x, float y) { return joint[numofjoints] = {type, {x, y}}, numofjoints++; }

// Joints, then beams as joint pairs, straight into the tables.
void build(std::initializer_list<jointinfo> joints, std::initializer_list<std::pair<int, int>> beams) {
  for (const jointinfo &j : joints)
    addjoint(j.type, j.pos.x, j.pos.y);
  for (auto b : beams)
    createbeam(0, b.first, b.second);
}

} // namespace

TEST(Editor, TablesBreakMarkAndFullTables) {
  reseteditor();
  // a joint at (1100, 40); within 2 of one a joint is reused, keeping its
  // type; ties go to the lowest index
  struct { int type; float x, y; int index; } rows[] = {
      {1, 1100.0f, 40.0f, 0}, {1, 1101.9f, 40.0f, 0}, {1, 1102.0f, 40.0f, 1}, {0, 1100.5f, 40.0f, 0},
      {1, 1100.0f, 32.1f, -1}, {1, 1100.0f, 32.125f, 2}, // 0.1 above flat ground at 32 refused, 0.125 clear
      {1, 1024.0f, 20.0f, 3},                            // in the dip, ground 16
      {0, 1200.0f, 10.0f, 4}};                           // anchors go anywhere
  for (const auto &r : rows)
    EXPECT_EQ(createjoint(r.type, {r.x, r.y}), r.index) << r.x << "," << r.y;
  EXPECT_EQ(joint[0].type, 1);

  // (Two anchors and a beam too long are refused in RefusalsAreSaid, which
  // also says why.)
  reseteditor();
  build({{0, {900, 40}}, {1, {916, 48}}, {1, {900, 48}}, {1, {900, 48}}}, {});
  struct { int type, a, b, result; const char *why; } pairs[] = {
      {0, 1, 1, -1, "a joint to itself"}, {0, 1, 7, -1, "bad index"}, {0, -1, 1, -1, "bad index"},
      {2, 2, 3, -1, "bad type, no length"}, {0, 0, 1, 0, "16 across and 8 up: 17.89"}, {1, 1, 0, 0, "the same pair"}};
  for (const auto &r : pairs)
    EXPECT_EQ(createbeam(r.type, r.a, r.b), r.result) << r.why;
  // Exactly the maximum length is allowed. Out-of-range deletions are
  // ignored: the level editor's right-click deletes whatever findjoint
  // finds, -1 on empty ground. (Deletions that renumber the tables are the
  // group Delete's and the level save's, below.)
  beamtype[0] = 8.0f;
  int exact = createbeam(0, 2, 0);
  beamtype[0] = MAXBEAMLENGTH;
  deletejoint(-1), deletejoint(numofjoints), deletebeam(numofbeams);
  EXPECT_EQ(V({beam[0].type, exact, numofjoints, numofbeams, checkbridgetables(0)}), V({0, 1, 4, 2, 1}));

  // The break mark lasts until the bridge (these two beams) changes.
  // a break the run reports past the bridge's beams marks nothing
  outcome.firstbreak = 2;
  notebreakmark();
  int unknown = breakmark;
  // a preview dropped past the committed beams is no change; the first joint moved is
  outcome.firstbreak = 1;
  notebreakmark();
  beam[2].joint1++;
  checkbreakmark();
  int kept = breakmark;
  joint[0].pos.x += 2.0f;
  checkbreakmark();
  EXPECT_EQ(V({unknown, kept, breakmark}), V({-1, 1, -1}));

  for (numofjoints = 0; numofjoints < MAXJOINTS; numofjoints++)
    joint[numofjoints] = {1, {(float)(numofjoints % 128) * 4.0f, 100.0f + (float)(numofjoints / 128) * 4.0f}};
  numofbeams = MAXBEAMS;
  // a new point or beam is refused, an existing point still found
  EXPECT_EQ(V({createjoint(1, {1.0f, 50.0f}), createjoint(0, {1.0f, 50.0f}), createjoint(1, {4.5f, 100.0f}),
               createbeam(0, 200, 328), numofbeams}), V({-1, -1, 1, -1, MAXBEAMS}));
  // A file holds one entry fewer than the tables: a click past that is
  // refused as one over budget, the level editor places no further anchor.
  level.budget = 1 << 30;
  numofjoints = MAXJOINTS - 1, numofbeams = 0;
  joint[0] = {1, {1000, 40}};
  click(1000, 40), click(1008, 40);
  int selected = editor.selected;
  joint[1] = {1, {1008, 40}};
  for (numofbeams = 0; numofbeams < MAXBEAMS - 1; numofbeams++)
    beam[numofbeams] = {0, numofbeams / 2 + 2, numofbeams / 2 + 3 + numofbeams % 2, 0, 0, 0.0f};
  click(1008, 40);
  paint(PAINT_ANCHOR, 1020, 20, 1);
  EXPECT_EQ(V({selected, numofjoints, numofbeams}), V({0, MAXJOINTS - 1, MAXBEAMS - 1}));
  keyboard[PAINT_ANCHOR] = 0, numofjoints = numofbeams = 0;
}

// Every click or drag that builds, moves or stamps nothing says why on the
// notice line; one that does something says nothing.
TEST(Editor, RefusalsAreSaid) {
  auto said = [] { std::string text = notice.text; clearnotice(); return text; };
  reseteditor();
  build({{0, {992, 32}}, {0, {1008, 32}}, {0, {1017.95f, 40}}, {1, {1000, 40}}, {1, {1070, 40}}}, {});
  level.budget = 100;
  // Drawing from an anchor: a click builds the beam and drawing goes on
  // from its end, a cost of exactly the budget allowed.
  click(992, 32), click(1000, 32);
  EXPECT_EQ(said(), "");
  click(1000, 24);
  EXPECT_EQ(said(), "Over the budget by 100: nothing built");
  level.budget = 100000;
  // Still drawing from (1000, 32) after that refusal: along the beam already
  // built; onto the other anchor; onto an anchor within the snap radius of
  // the farthest point in reach but 18.0 away.
  click(992, 32);
  EXPECT_EQ(said(), "That beam is already built");
  rightclick(1100, 100), click(992, 32), click(1008, 32);
  EXPECT_EQ(said(), "A beam cannot join two anchors");
  rightclick(1100, 100), click(1000, 40), click(1017.95f, 40);
  EXPECT_EQ(said(), "A beam of 18.0 is too long: at most 17.9");
  // An end inside the ground: the click ends drawing, and says so.
  rightclick(1100, 100), click(1070, 40);
  frames({{1070, 31, 1, 0}});
  EXPECT_TRUE(said() == "The grid point there is inside the ground: drawing ended" && editor.selected == -1 &&
              numofjoints == 6 && numofbeams == 1);
  // (the refused joint drags are said in MovingRightClickAndRectangle)
  rightclick(992, 32);
  EXPECT_EQ(said(), "An anchor cannot be deleted");
  // A rectangle holding a joint but no whole beam copies nothing, the
  // clipboard emptied; a stamp over the beams it was copied from builds nothing.
  rectangle({990, 20}, {1002, 36}), copyjoints();
  rectangle({1002, 42}, {998, 38}), copyjoints();
  EXPECT_TRUE(said() == "Nothing copied: no beam lies wholly inside the rectangle" && copy.count == 0 &&
              editor.state == EDIT_IDLE);
  rectangle({990, 20}, {1002, 36}), copyjoints();
  int joints = numofjoints, beams = numofbeams;
  click(996, 32);
  EXPECT_TRUE(said() == "Every beam of the copy is already there" && joints == numofjoints && beams == numofbeams &&
              checkbridgetables(0))
      << numofbeams;
}

TEST(Editor, DeckLevelPaintingAndCamera) {
  reseteditor();
  addjoint(1, 1000, 40);
  // Beams drawn along y 40 from x 1000 on: deck within less than 1.0 of the
  // deck height; with a manual deck only the "Build Deck" toggle, which the
  // next beam takes one frame later.
  struct { float deckheight; int manual, builddeck, type; } decks[] = {
      {41.0f, 0, 0, 0}, {40.5f, 0, 0, 1}, {39.01f, 0, 0, 1}, {40.0f, 1, 0, 0}, {60.0f, 1, 1, 1}};
  for (const auto &r : decks) {
    float x = 1000.0f + 8.0f * (float)(&r - decks);
    level.deckheight = r.deckheight, level.manualdeck = r.manual, editor.builddeck = r.builddeck;
    frames({{x + 8, 40, 0, 0}}), click(x, 40), click(x + 8, 40), rightclick(1100, 100);
    EXPECT_EQ(V({numofbeams, beam[numofbeams - 1].type}), V({(int)(&r - decks) + 1, r.type})) << r.deckheight;
  }
  // a new deck height retypes every beam
  level.manualdeck = 0, level.deckheight = 40.0f;
  setdecktypes();
  EXPECT_EQ(beam[0].type, 1);

  reseteditor();
  // Terrain takes the exact height (on the grid with Shift), the deck (and
  // the ends, in the same branch) the grid, anchors go underground on the
  // grid; nothing without the button.
  struct { int key; float x, y; int left, shift; float *field, expect; } strokes[] = {
      {PAINT_TERRAIN, 1041.0f, 20.2f, 1, 0, &level.terrain[260], 20.2f},
      {PAINT_TERRAIN, 1041.0f, 20.2f, 1, 1, &level.terrain[260], 20.0f},
      {PAINT_TERRAIN, 1041.0f, 30.0f, 0, 0, &level.terrain[260], 20.0f},
      {PAINT_WATER, 1024, 25.4f, 1, 0, &level.waterlevel, 25.4f},
      {PAINT_DECK, 1024, 37.2f, 1, 0, &level.deckheight, 38.0f},
      {PAINT_ANCHOR, 1011, 10.8f, 0, 0, &joint[0].pos.x, 0.0f},
      {PAINT_ANCHOR, 1011, 10.8f, 1, 0, &joint[0].pos.x, 1012.0f},
      {PAINT_ANCHOR, 1011, 10.8f, 0, 0, &joint[1].pos.x, 0.0f},
      {PAINT_ANCHOR, 1012.6f, 10.4f, 1, 0, &joint[1].pos.x, 0.0f}}; // next to one: nothing
  joint[0].pos.x = joint[1].pos.x = 0.0f;
  for (const auto &r : strokes) {
    paint(r.key, r.x, r.y, r.left, 0, r.shift);
    EXPECT_FLOAT_EQ(*r.field, r.expect) << (char)r.key << " " << r.x << "," << r.y;
  }
  EXPECT_STREQ(notice.text, "A joint is already there");  // the last row's anchor
  // right-click deletes the joint there, free ones too
  addjoint(1, 1020, 40);
  paint(PAINT_ANCHOR, 1020, 40, 0, 1);
  EXPECT_EQ(V({numofjoints, joint[0].type, joint[0].pos.y == 10.0f}), V({1, 0, 1}));
  // painting terrain beside the level writes nothing; x 2046 is column 511
  levelinfo saved = level;
  saved.terrain[511] = 30.0f;
  for (float x : {-20.0f, 2100.0f, 2046.0f})
    view.pos[0] = x, paint(PAINT_TERRAIN, 1024, 30, 1);
  EXPECT_EQ(V({memcmp(&saved, &level, sizeof(level)), editor.selected}), V({0, -1}));
  // a mouse beyond the world's range paints at its edge, and no free joint goes there
  for (float far : {5000.0f, -5000.0f}) {
    view.pos[0] = view.pos[1] = far;
    for (int key : {PAINT_WATER, PAINT_DECK, PAINT_LEFTEND, PAINT_RIGHTEND, PAINT_ANCHOR})
      paint(key, 1024, 32, 1), paint(key, 1024, 32, 0);
    const vector2d &a = joint[numofjoints - 1].pos;
    EXPECT_EQ(std::vector<float>({level.waterlevel, level.deckheight, level.leftend, level.rightend, a.x, a.y}),
              std::vector<float>(6, far > 0 ? WORLDLIMIT : -WORLDLIMIT));
    EXPECT_EQ(createjoint(1, {far, 3000.0f}), -1);
  }

  reseteditor();
  // While a text box is edited the keys, Ctrl included, are the box's: the
  // edge scrolls at the slow speed. (The shared clamps are the test run's.)
  mouse.x = 320, mouse.y = 0;
  keyboard['s'] = keyboard[KEY_LCTRL] = 1;
  moveeditorcamera(1, 1);
  float slow = view.pos[1];
  // the editor's camera may look 64 below the ground line
  view.pos[1] = -100.0f;
  moveeditorcamera(0, 0);
  EXPECT_EQ(std::vector<float>({slow, view.pos[1]}), std::vector<float>({32.5f, -64.0f}));
  // Right across the wrap of the millisecond counter the clock steps the
  // camera, twice for 32 ms. (The pace itself is the test run's, whose
  // clock takes the same steps.)
  mouse = {}, view.pos[0] = 1000.0f;
  keyboard['s'] = keyboard[KEY_LCTRL] = 0, keyboard['d'] = 1;
  unsigned int last = 0xfffffff0u;
  EXPECT_EQ(V({runeditorcamera(0x10u, &last, 0, 0), (int)last, view.pos[0] == 1001.0f}), V({2, 0x10, 1}));
  keyboard['d'] = 0;
}

TEST(Editor, MovingRightClickAndRectangle) {
  reseteditor();
  build({{0, {1000, 40}}, {1, {1010, 40}}, {1, {1020, 40}}}, {{0, 1}, {1, 2}});
  // Pressed on the free joint and dragged up it follows the snapped mouse;
  // onto another joint's circle or into the ground it stays at its last
  // valid spot, and says why.
  frames({{1010, 40, 1, 0}, {1010.3f, 46, 1, 0}, {1019, 40, 1, 0}});
  EXPECT_STREQ(notice.text, "A joint is already there");
  frames({{1019, 40, 1, 0}, {1060, 20, 1, 0}});
  EXPECT_TRUE(!strcmp(notice.text, "A joint cannot go inside the ground") && editor.dragpos.x == 1010.0f &&
              editor.dragpos.y == 46.0f);
  // release: the move is recorded for undo and the joint stays selected
  frames({{1010, 46, 0, 0}, {1010, 46, 0, 0}});
  EXPECT_EQ(V({joint[1].pos.y == 46.0f, undoposition, editor.dragmode, editor.selected}), V({1, 1, DRAG_DRAWING, 1}));
  // pressing on an anchor and moving never moves it; undo puts the moved joint back
  rightclick(1100, 100);
  frames({{1000, 40, 1, 0}, {1004, 48, 1, 0}, {1004, 48, 0, 0}});
  EXPECT_STREQ(notice.text, "An anchor cannot move: click it, then click where the beam ends");
  editorundo();
  EXPECT_EQ(V({joint[0].pos.y == 40.0f, joint[1].pos.y == 40.0f}), V({1, 1}));
  // straight from the press onto another joint: drawn where it was
  frames({{1020, 40, 1, 0}});
  preview(1010, 40, 1);
  EXPECT_EQ(joint[2].pos.x, 1020.0f);
  // A drag cut short by a test run does not carry over: released, then
  // pressed on the free joint at 1010 and dragged, and the Test hotkey
  // fires mid-drag; the run returns; pressing on the anchor and dragging
  // now draws from it (a third beam) instead of moving it.
  frames({{1010, 40, 0, 0}, {1010, 40, 1, 0}, {1014, 44, 1, 0}});
  restoreeditortables(), resumeeditor();
  frames({{1014, 44, 0, 0}, {1000, 40, 1, 0}});
  preview(1006, 48, 1);
  EXPECT_EQ(V({editor.selected, numofbeams, joint[0].pos.x == 1000.0f}), V({0, 3, 1}));

  reseteditor();
  // away from every beam none is lit, a beam of no length (as a file may
  // hold) included
  build({{0, {1000, 40}}, {1, {1010, 40}}, {1, {1010, 50}}, {1, {1080, 80}}, {1, {1080, 80}}},
        {{0, 1}, {1, 2}, {3, 4}});
  preview(1050, 40);
  EXPECT_EQ(V({beam[0].hover, beam[1].hover, beam[2].hover}), V({0, 0, 0}));
  commiteditor(), deletejoint(4), deletejoint(3);
  // Right-clicking the last beam (not near a joint) deletes only it; a free
  // joint goes with its beams; each a step for undo. (An anchor stays:
  // RefusalsAreSaid.)
  rightclick(1010.5f, 45);
  int beams = numofbeams;
  rightclick(1010, 40);
  EXPECT_EQ(V({beams, numofjoints, numofbeams, undoposition}), V({1, 2, 0, 2}));
  // drawing from the free joint onto the anchor joins them; a right-click
  // while drawing on from there only cancels drawing
  click(1010, 50), click(1000, 40);
  frames({{1020, 40, 0, 0}, {1020, 40, 0, 1}, {1020, 40, 0, 0}});
  EXPECT_EQ(V({numofjoints, numofbeams, undoposition, editor.selected}), V({2, 1, 3, -1}));
  // a rectangle of diagonal 3.9 is dropped on release, one of 4.0 stays
  frames({{1050, 60, 1, 0}, {1053.8f, 60, 1, 0}, {1053.8f, 60, 0, 0}});
  int dropped = editor.state;
  frames({{1050, 60, 1, 0}, {1056, 64, 1, 0}, {1056, 64, 0, 0}});
  EXPECT_EQ(V({dropped, editor.state, getrectanglesize() >= 4.0f}), V({EDIT_IDLE, EDIT_RECTANGLE, 1}));
  // a new click cancels it
  frames({{1070, 70, 1, 0}});
  EXPECT_EQ(V({editor.state, checkbridgetables(0)}), V({EDIT_IDLE, 1}));
}

TEST(Editor, UndoRingAndGroupTools) {
  reseteditor();
  addjoint(1, 1000, 60);
  // three beams, three undos: as loaded; a fourth does nothing
  click(1000, 60), click(1004, 60), click(1008, 60), click(1012, 60);
  jointinfo built[4];
  memcpy(built, joint, sizeof(built));
  editorundo();
  // Back to drawing from the third beam's start, the joint under the mouse
  // gone. Undone by the button (no mouse handling that frame): the cost
  // shown and the committed state drawn follow the tables.
  idleeditor();
  EXPECT_EQ(V({editor.selected, editor.hover, editor.cost, editor.savednumofbeams}), V({2, -1, 200, 2}));
  editorundo(), editorundo(), editorundo();
  EXPECT_EQ(V({numofjoints, numofbeams}), V({1, 0}));
  // redo restores every beam exactly, and no further
  editorredo(), editorredo(), editorredo(), editorredo();
  EXPECT_EQ(V({numofjoints, numofbeams, memcmp(built, joint, sizeof(built)), editor.selected}), V({4, 3, 0, -1}));
  // undo, then build: the redo branch is gone
  editorundo();
  click(1000, 60), click(1000, 64);
  EXPECT_EQ(undoposition, undofront);
  // twenty more changes: only fifteen can be undone
  for (int i = 1; i <= 20; i++)
    click(1000.0f + 4.0f * (float)i, 64);
  int undos = 0;
  for (; undoposition != undoback; undos++)
    editorundo();
  EXPECT_EQ(V({undos, numofbeams}), V({15, 9}));

  // a new bridge starts with an empty clipboard and nothing carried over
  copy.count = 3, game.mode = 1;
  editor.hover = 5, editor.newbeamtype = 1, editor.state = EDIT_RECTANGLE, editor.filemenu = 2, editor.leveleditor = 1;
  reseteditor();
  EXPECT_EQ(V({copy.count, game.mode, editor.hover, editor.newbeamtype, editor.state, editor.filemenu,
               editor.leveleditor}), V({0, 0, -1, 0, EDIT_IDLE, 0, 0}));

  // A lopsided truss left of x 1040, a vertical post and a diagonal; edges
  // of the rectangle count as inside (all three beams copied).
  build({{1, {1030, 40}}, {1, {1030, 50}}, {1, {1040, 40}}}, {{0, 1}, {1, 2}, {0, 2}});
  rectangle({1040, 50}, {1030, 40});
  copyjoints();
  flipcopy();
  // Paste entered with a joint under the mouse: a right click on it only
  // ends paste mode, the clipboard kept.
  rightclick(1030, 40);
  pasteclipboard();
  int hover = editor.hover;
  rightclick(1030, 40);
  EXPECT_EQ(V({hover, editor.state, copy.count, numofjoints}), V({-1, EDIT_IDLE, 3, 3}));
  // Pasted again and stamped mirrored at (1060, 46): nothing selected; the
  // post, left of the copy centre (the six beam ends' mean (1033.3, 43.3)
  // on the grid), is right of it; only the beam with both ends on the deck
  // line is deck.
  pasteclipboard();
  level.deckheight = 42.0f;
  frames({{1060, 46, 0, 0}, {1060, 46, 1, 0}});
  EXPECT_EQ(V({numofjoints, numofbeams, editor.state, editor.selected, beam[3].type, beam[5].type}),
            V({6, 6, EDIT_PASTE, -1, 0, 1}));
  EXPECT_EQ(joint[4].pos.y == 52.0f ? joint[4].pos.x : joint[5].pos.x, 1060.0f + (1034.0f - 1030.0f));

  // delete: the free joints in the rectangle go, with beams to joints
  // outside, leaving the anchor and the pasted three, and the selection,
  // which may be gone or renumbered; a rectangle holding only the anchor
  // changes nothing and records nothing
  build({{0, {1045, 45}}}, {{6, 2}});
  int undo = (undoposition + 1) & 15;
  editor.selected = 5;
  rectangle({1029, 39}, {1046, 51});
  deletejoints();
  EXPECT_EQ(V({numofjoints, numofbeams, undoposition, editor.selected}), V({4, 3, undo, -1}));
  rectangle({1044, 44}, {1046, 46});
  deletejoints();
  EXPECT_EQ(V({numofjoints, undoposition, editor.state, checkbridgetables(0)}), V({4, undo, EDIT_IDLE, 1}));

  // 41 beams whose ends average x 7 (the earlier ones lie outside the
  // rectangle): the centre snaps to 8
  for (int i = 0; i < 41; i++)
    beam[numofbeams++] = {0, addjoint(1, 6, 4.0f * (float)i), addjoint(1, 8, 4.0f * (float)i), 0, 0, 0.0f};
  rectangle({0, 0}, {10, 200});
  copyjoints();
  EXPECT_EQ(V({copy.count, copy.item[0].pos1.x == -2.0f}), V({41, 1}));
}

class EditorFiles : public tempdirtest {
protected:
  // Saves through the file box; the working directory must not move.
  int save(int leveleditor, const char *name) {
    editor.leveleditor = leveleditor, editor.filemenu = 2;
    strcpy(editor.filename, name);
    int saved = checkeditorsave();
    EXPECT_EQ(V({editor.filemenu, cwd() == dir}), V({0, 1})) << name;
    return saved;
  }
};

TEST_F(EditorFiles, SaveLevelAndBridgeIntoPack) {
  // a name filling its whole record still ends inside the file box's
  memset(game.name, 'n', sizeof game.name);
  setupeditor();
  EXPECT_EQ(strlen(editor.filename), sizeof editor.filename - 1);
  reseteditor();
  mkdir("level", 0777), mkdir("bridge", 0777);
  strcpy(dirlist[0], "p"); // a one-letter pack name is a pack too
  dirlist[1][0] = 0, dirnum = 0;
  build({{0, {1000, 40}}, {1, {1010, 40}}, {0, {1020, 40}}}, {{0, 1}, {1, 2}});
  // the level editor's save writes only the anchors, into level/p; the
  // bridge on screen is as it was, and redo strips it again
  int saved = save(1, "lv");
  EXPECT_STREQ(getnotice(0), "Saved lv");
  editorredo();
  int stripped = numofjoints;
  editorundo();
  EXPECT_EQ(V({saved, stripped, numofjoints, numofbeams}), V({1, 2, 3, 2}));
  // What the level file holds: the anchors alone. (A bridge saved whole
  // into its pack is the window test's, which proves the saved file.)
  numofjoints = numofbeams = 0;
  ASSERT_EQ(chdir("level/p"), 0);
  int loaded = loadlevel("lv", 0);
  ASSERT_EQ(chdir(dir.c_str()), 0);
  EXPECT_EQ(V({loaded, numofjoints, numofbeams}), V({1, 2, 0}));
  // Names that would write where no list shows them, or nothing at all,
  // are told, never "Saved", and write nothing; the box closes and we stay
  // here. Nothing requested: nothing happens.
  for (const char *name : {"../x", "a/b", ".", "", "\tx"}) {
    clearnotice();
    EXPECT_EQ(V({save(0, name), notice.kind, strncmp(notice.text, "Not saved", 9)}), V({0, NOTICE_ERROR, 0})) << name;
  }
  EXPECT_EQ(V({checkeditorsave(), exists("bridge/x.qzb"), exists("bridge/p/..qzb")}), V({0, 0, 0}));
  clearnotice();
}
