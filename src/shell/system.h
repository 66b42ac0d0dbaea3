// The per-frame system-event pump and restoring GPU state after the GL
// context was re-created.
#pragma once

// Drain SDL's event queue: wheel notches into mouse.wheelup/wheeldown
// (capped at 8), focus and restore handling, the close request into
// windowinfo.quit. Every screen loop calls it once per frame.
void checksystemmessages();

// An image file opened for SDL's readers the way the game reads every
// file: only a regular file, never a FIFO or device. NULL when it cannot
// be; the reader that takes it closes it.
struct SDL_RWops;
SDL_RWops *openimagefile(const char *path);

// Upload every loaded texture slot again (after each SDL_SetVideoMode but
// the first).
void reactivategame();

// One more pending wheel notch, at most 8.
void addwheelnotch(int *counter);
