// The audio device. It is opened apart from the window, and any failure
// (no device, no driver, a server that will not answer) leaves the game
// silent and otherwise exactly as it was, without a message.
#pragma once

void opensound();
void closesound();
// Once a frame: hands the events gathered since the last frame to the
// mixer (or drops them when there is no device or sound is off) and passes
// on the Options settings.
void playsoundframe();
