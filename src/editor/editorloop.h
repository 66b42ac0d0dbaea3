// The editor screen: building, testing and (entered from the load menus)
// level editing. Requires the level and bridge loaded and game.name set;
// returns when "Exit" fires, the window is closed, or a test run ended with
// "Next Level".
#pragma once

void editorloop();

// Drawing of the editor's own overlays (editorrender_gl.cpp): the selection
// rectangle and the level editor's guide lines for the deck and the ends.
void rendercopy();
void renderleveleditor();
