// The test-run screen's items, apart from its loop (gameloop_sdl.cpp).
#pragma once

extern int replayrequest;  // set by the "Replay" item; the loop replays

// Rebuilt every frame in this order so that "Edit" is always item 0; the
// conditions read the state as it was at the start of the frame: the speed
// and view toggles always, "Normal" and "Progressive" before the train
// where a progressive test is offered, "Run Train" before it without
// autorun, the progressive test's weights, "Next Level" after a pass and
// "Replay" after a test in which a beam broke.
void declaretestrunitems();
