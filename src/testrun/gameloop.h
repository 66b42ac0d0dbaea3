// The test-run screen: the bridge being edited under the train. Returns when
// "Edit" fires, the window is closed, or "Next Level" was chosen after a
// pass (game.state is then STATE_NEXTLEVEL).
#pragma once

void gameloop();
