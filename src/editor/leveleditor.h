// The level editor: while it is on, the mouse paints the level instead of
// building a bridge. Hold a key and press or drag with the left button:
// period places anchors (right button deletes the joint there), L the
// terrain, O the water, K the deck height, N and M the left and right ends.
// Left Shift puts terrain and water heights on the grid.
#pragma once

// Key symbols of the painting keys.
enum : int {
  PAINT_ANCHOR = '.',
  PAINT_TERRAIN = 'l',
  PAINT_WATER = 'o',
  PAINT_DECK = 'k',
  PAINT_LEFTEND = 'n',
  PAINT_RIGHTEND = 'm',
};

// One frame of painting; no preview, budget or undo.
void checkleveleditor();
// Strip the free joints (and their beams) for saving as a level, recording
// the full bridge and the stripped one in the undo ring.
void stripbridge();
