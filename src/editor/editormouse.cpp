// The preview-and-commit cycle. checkeditor edits the live tables as if the
// pending action had happened; the frame shows that preview; commiteditor
// then keeps it (a click within budget, recorded for undo) or restores the
// tables saved at the start of the frame.
#include <cassert>
#include <cmath>

#include "editor/editor.h"
#include "editor/selection.h"
#include "editor/undo.h"
#include "shell/input.h"
#include "ui/notice.h"
#include "world/bridgecheck.h"

static int leftwentdown() { return mouse.left && !prevmouse.left; }
static int rightwentdown() { return mouse.right && !prevmouse.right; }

static vector2d snap(vector2d p) {
  p.x = roundfloat(p.x, editor.grid);
  p.y = roundfloat(p.y, editor.grid);
  return p;
}

// A press that selected an anchor, still held: dragging it moves nothing.
static int anchorpress;

static int ondeck(float y) { return fabsf(y - level.deckheight) < DECKTOLERANCE; }

static void sethover(int index) {
  beam[index].hover = 1;
  if (index < editor.savednumofbeams)
    editor.savedbeam[index].hover = 1;
}

static void checkidle(vector2d m) {
  vector2d s = snap(m);
  editor.hover = findjoint(s);
  if (editor.hover != -1)
    return;
  for (int i = 0; i < numofbeams; i++) {
    vector2d foot, normal;
    float ratio;
    // A beam between two joints on one spot (only a file can hold one) has
    // no direction: the distance test would find it from anywhere.
    const vector2d &a = joint[beam[i].joint1].pos, &b = joint[beam[i].joint2].pos;
    if (a.x == b.x && a.y == b.y)
      continue;
    if (sphereintersectline2d(&foot, &normal, &ratio, &m, &joint[beam[i].joint1].pos,
                              &joint[beam[i].joint2].pos, BEAMPICKRADIUS)) {
      sethover(i);
      break;
    }
  }
  if (leftwentdown()) {
    editor.corner1 = m;
    editor.corner2 = m;
    editor.state = EDIT_RECTANGLE;
  }
}

// The preview beam from the selected joint towards the mouse, cut back to
// the first grid point within the length limit.
static void checkdrawing(vector2d m) {
  vector2d start = joint[editor.selected].pos;
  float limit = beamtype[editor.newbeamtype];
  if (vectordistance2d(&m, &start) > limit) {
    vector2d u;
    subtractvectors2d(&u, &m, &start);
    normalizevector2d(&u, &u);
    for (float t = limit + 4.0f;; t -= 0.5f) {
      scaleaddvectors2d(&m, &start, &u, t);
      m = snap(m);
      if (t <= 0.0f || vectordistance2d(&m, &start) <= limit)
        break;
    }
  }
  editor.newbeamtype = 0;
  if (level.manualdeck == 0 && ondeck(m.y) && ondeck(start.y))
    editor.newbeamtype = 1;
  if (level.manualdeck != 0 && editor.builddeck != 0)
    editor.newbeamtype = 1;
  editor.hover = createjoint(1, m);
  if (editor.hover == -1) {
    // The snapped end can lie inside a steep wall while the pointer is
    // still in the air beside it; a click there ends drawing.
    refusal = lastrefusal;
    refusal.amount = refusal.code == REFUSE_GROUND;
  } else {
    int before = numofbeams;
    if (createbeam(editor.newbeamtype, editor.selected, editor.hover) == -1)
      refusal = lastrefusal;
    else if (numofbeams == before)
      refusal = {REFUSE_BEAMTHERE, 0};
  }
  if (anchorpress && (m.x != start.x || m.y != start.y))
    refusal = {REFUSE_ANCHORMOVE, 0};
}

void setdecktypes() {
  for (int i = 0; i < numofbeams; i++)
    beam[i].type = ondeck(joint[beam[i].joint1].pos.y) && ondeck(joint[beam[i].joint2].pos.y) ? 1 : 0;
}

// Moving a free joint: it follows the snapped mouse but never onto another
// joint's circle or into the ground; it then stays at its last valid spot.
static void checkmoving(vector2d m) {
  jointinfo &j = joint[editor.selected];
  const vector2d &committed = editor.savedjoint[editor.selected].pos;
  if (m.x == committed.x && m.y == committed.y) {
    editor.dragmode = DRAG_PRESSED;
  } else if (findjoint(m) != -1) {
    if (findjoint(m) != editor.selected)
      refusal = {REFUSE_JOINTTHERE, 0};
    j.pos = editor.dragpos;
  } else if (pointabovelevel(m)) {
    j.pos = m;
    editor.dragpos = m;
    editor.dragmode = DRAG_MOVING;
    if (level.manualdeck == 0)
      setdecktypes();
  } else {
    refusal = {REFUSE_GROUND, 0};
    j.pos = editor.dragpos;
  }
  if (!mouse.left) {
    if (editor.dragmode == DRAG_PRESSED)
      editor.dragmode = DRAG_DRAWING;
    else if (editor.dragmode == DRAG_MOVING)
      editor.dragmode = DRAG_RELEASED;
  }
}

static void checkrectangle(vector2d m) {
  if (mouse.left) {
    if (prevmouse.left)
      editor.corner2 = m;
    else
      editor.state = EDIT_IDLE; // a new click cancels the rectangle
  } else if (getrectanglesize() < 4.0f) {
    editor.state = EDIT_IDLE;
  }
}

void checkeditor() {
  refusal = {REFUSE_NONE, 0};
  lastrefusal = {REFUSE_NONE, 0};
  if (!mouse.left)
    anchorpress = 0;
  editor.cost = numofbeams * BEAMCOST;
  saveeditortables();
  for (int i = 0; i < numofbeams; i++) {
    beam[i].hover = 0;
    editor.savedbeam[i].hover = 0;
  }
  vector2d m = getmouseworld(mouse.x, mouse.y);
  // hover is only tracked while idle; a stale one would make the first
  // stamp select a joint, or a right click delete it.
  if (editor.state != EDIT_IDLE)
    editor.hover = -1;
  // A selection index beyond the table cannot come from the editor itself;
  // drop it rather than read a stale slot.
  if (editor.selected >= numofjoints)
    clearselection();

  if (editor.state == EDIT_IDLE) {
    if (editor.selected == -1)
      checkidle(m);
    else if (editor.dragmode == DRAG_DRAWING)
      checkdrawing(snap(m));
    else
      checkmoving(snap(m));
  } else if (editor.state == EDIT_RECTANGLE) {
    checkrectangle(m);
  } else if (editor.state == EDIT_PASTE) {
    stampcopy(snap(m));
    if (numofjoints == editor.savednumofjoints && numofbeams == editor.savednumofbeams && copy.count > 0)
      refusal = {lastrefusal.code == REFUSE_NONE ? REFUSE_STAMPTHERE : lastrefusal.code, 0};
  }
}

void idleeditor() {
  editor.cost = numofbeams * BEAMCOST;
  saveeditortables();
}

// What a click or a held drag that changes nothing is told. A click that
// would build over the budget says by how much, but a click on empty space
// (which starts a rectangle) or one that builds nothing anyway is no
// attempt to build.
static void tellrefusal(int total, int fits) {
  int added = numofjoints != editor.savednumofjoints || numofbeams != editor.savednumofbeams;
  if (leftwentdown()) {
    if (added && level.budget < total)
      noterefusal(REFUSE_BUDGET, total - level.budget);
    else if (added && !fits)
      noterefusal(REFUSE_FULL, 0);
    else if (!added && refusal.code != REFUSE_ANCHORMOVE)
      noterefusal(refusal.code, refusal.amount);
  } else if (mouse.left && editor.selected != -1 &&
             (editor.dragmode != DRAG_DRAWING || refusal.code == REFUSE_ANCHORMOVE)) {
    noterefusal(refusal.code, refusal.amount);
  }
}

void commiteditor() {
  int total = numofbeams * BEAMCOST;
  int fits = numofjoints <= MAXFILECOUNT && numofbeams <= MAXFILECOUNT;
  tellrefusal(total, fits);
  if (!leftwentdown() || level.budget < total || !fits) {
    if (editor.dragmode == DRAG_RELEASED && editor.selected != -1 && fits)
      setupundo();
    else
      restoreeditortables();
  } else {
    if (numofjoints != editor.savednumofjoints || numofbeams != editor.savednumofbeams)
      setupundo();
    editor.selected = editor.hover;
    anchorpress = editor.selected != -1 && joint[editor.selected].type == 0 &&
                  numofjoints == editor.savednumofjoints && numofbeams == editor.savednumofbeams;
    if (editor.selected == -1)
      clearselection();
    else if (numofjoints == editor.savednumofjoints && numofbeams == editor.savednumofbeams &&
             joint[editor.selected].type == 1) {
      editor.dragmode = DRAG_PRESSED;
      // Where the joint is drawn until it first moves to a valid spot.
      editor.dragpos = joint[editor.selected].pos;
    }
  }

  if (rightwentdown()) {
    if (editor.selected == -1) {
      if (editor.hover != -1) {
        if (joint[editor.hover].type != 0)
          deletejoint(editor.hover);
        else
          noterefusal(REFUSE_ANCHORDELETE, 0);
      } else {
        for (int i = 0; i < numofbeams;) {
          if (beam[i].hover)
            deletebeam(i);
          else
            i++;
        }
      }
    }
    if (numofjoints != editor.savednumofjoints || numofbeams != editor.savednumofbeams)
      setupundo();
    editor.state = EDIT_IDLE;
    clearselection();
    editor.hover = -1;
    editor.corner1 = {0.0f, 0.0f};
    editor.corner2 = {0.0f, 0.0f};
  }
  // Whatever the frame did or undid, the tables it leaves are sound; a build
  // with assertions checks every frame (a bridge file of the older format
  // may join two anchors, so that is let through).
  assert(checkbridgetables(1));
}
