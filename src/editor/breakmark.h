// The first beam that broke in the last test, kept marked in the bridge
// editor after "Edit" so the player sees what to strengthen, until the
// bridge changes in any way: an edit, an undo or redo, another bridge.
#pragma once

extern int breakmark;  // beam index, -1 none

// Back from a test: mark its first broken beam on the bridge as it is now.
void notebreakmark();
// Each editor frame: drops the mark for good once the bridge differs from
// the one tested.
void checkbreakmark();

// 1 while the bridge on screen is the one the last test ran on (no edit,
// undo, redo or other bridge since), so that its beams' peak stresses are
// that test's. Like the mark, once the bridge differs it is forgotten.
int istestedbridge();
// A bridge newly opened in the editor has not been tested.
void forgettestedbridge();
