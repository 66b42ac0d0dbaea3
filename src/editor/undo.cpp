#include "editor/undo.h"

#include <cstring>

#include "editor/editor.h"

undoinfo undo[UNDOSLOTS];
int undoposition;
int undofront;
int undoback;

static void writeslot(int slot, int count, const jointinfo *joints, int beams, const beaminfo *beamtable) {
  undoinfo &u = undo[slot];
  u.selected = editor.selected;
  u.hover = editor.hover;
  u.numofjoints = count;
  memcpy(u.joint, joints, sizeof(jointinfo) * (size_t)count);
  u.numofbeams = beams;
  memcpy(u.beam, beamtable, sizeof(beaminfo) * (size_t)beams);
}

static void readslot(int slot) {
  const undoinfo &u = undo[slot];
  numofjoints = u.numofjoints;
  memcpy(joint, u.joint, sizeof(jointinfo) * (size_t)numofjoints);
  numofbeams = u.numofbeams;
  memcpy(beam, u.beam, sizeof(beaminfo) * (size_t)numofbeams);
  if (editor.selected >= numofjoints)
    clearselection();
  if (editor.hover >= numofjoints)
    editor.hover = -1;
}

void setupundo() {
  writeslot(undoposition, editor.savednumofjoints, editor.savedjoint, editor.savednumofbeams,
            editor.savedbeam);
  undoposition = (undoposition + 1) & (UNDOSLOTS - 1);
  writeslot(undoposition, numofjoints, joint, numofbeams, beam);
  undofront = undoposition;
  if (undoposition == undoback)
    undoback = (undoback + 1) & (UNDOSLOTS - 1);
}

void editorundo() {
  if (undoposition == undoback)
    return;
  undoposition = (undoposition - 1) & (UNDOSLOTS - 1);
  editor.selected = undo[undoposition].selected;
  editor.hover = undo[undoposition].hover;
  // A restored selection draws beams; it is never a joint half-way through a move.
  editor.dragmode = DRAG_DRAWING;
  readslot(undoposition);
}

void editorredo() {
  if (undoposition == undofront)
    return;
  undoposition = (undoposition + 1) & (UNDOSLOTS - 1);
  clearselection();
  editor.hover = -1;
  readslot(undoposition);
}
