// The sound's place in the game: it listens to the test run and the menus
// through the hooks they expose, and hands the device what the mixer
// renders. Nothing below the sound calls into it.
#pragma once

// Hooks the sound to the test run's steps and the menus' clicks.
void listensound();
// Start-up: listensound, the mixer reset to the Options settings and the
// device opened (or the game left silent).
void startsound();
void stopsound();
// Once a frame: hands the events gathered since the last frame to the
// mixer (or drops them when there is no device or sound is off) and passes
// on the Options settings.
void playsoundframe();
