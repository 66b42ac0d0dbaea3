// The editor screen's decisions, apart from its loop (editorloop_sdl.cpp):
// the items it declares each frame and the texts it shows beside the
// design's own, made from the editor record, the level and the tables.
#pragma once

extern int testrequest;  // set by the "Test" item; the loop runs the test

// Rebuilt every frame, "Exit" always item 0: the level editor's items or
// the bridge editor's, the File box's, then the help item.
void declareeditoritems();

// The cost column's "+100" while a preview adds beams: how much it adds
// and whether the bridge with them still fits the budget.
struct costreadout {
  int extra;      // cost of the preview's beams; 0 for none
  int extrafits;  // the cost with them stays within the budget
};
costreadout getcostreadout();

// What the level asks, under "Test" where no item of the bridge editor
// lies: the name, which way the train goes and how heavy it is; shortened
// while the File box is open so that it never runs into the box. 0 (and
// "") in the level editor. out holds TEXTBUFFER bytes.
constexpr int GOALRIGHT = 636;
constexpr int GOALY = 20;
constexpr int GOALSIZE = 14;
int getgoaltext(char *out);
