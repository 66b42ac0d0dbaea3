// The lasting layers of the world (ground, grid, water, beams, bonds, cars) as a
// picture kept between frames. A large bridge costs the software renderer
// far more to draw than to copy, and most frames of the editor and of a
// paused test show the same world as the frame before. Each frame the
// screen hashes every input of those layers into a key: a key seen the
// frame before is drawn once more into the kept picture, which later frames
// with that key copy to the screen instead of drawing. A world that moves
// every frame is drawn straight to the screen, as before.
#pragma once

#include <stddef.h>
#include <stdint.h>

// The running hash of everything the kept picture depends on.
struct worldkey {
  uint64_t h;
};
void beginworldkey(worldkey *k);
void addworldkey(worldkey *k, const void *data, size_t bytes); // whole 32-bit words
void addworldkeyint(worldkey *k, int v);
void addworldkeyfloat(worldkey *k, float v);

// What the editor's and the test run's lasting layers read: view, level,
// settings, and the joint and beam tables or the simulation's bonds,
// particles and cars. The editor's joints are drawn on top every frame:
// the renderer's round points fall on other pixels in a picture than on
// screen, where a pixel centre lies on their rim.
uint64_t geteditorworldkey();
uint64_t gettestrunworldkey();

enum : int {
  WORLD_DRAW = 0,    // draw to the screen
  WORLD_CAPTURE = 1, // draw into the kept picture, then copy it to the screen
  WORLD_REUSE = 2,   // copy the kept picture to the screen
};
struct worldcachestate {
  int valid;          // the picture holds `cachedkey`
  uint64_t cachedkey;
  int haslast;
  uint64_t lastkey;   // the frame before's
};
// This frame's action for `key`; a capture is taken to succeed (a failed
// one calls forgetworldpicture). Without `worthkeeping` the world is drawn
// and no picture is taken.
int getworldcacheaction(worldcachestate *s, uint64_t key, int worthkeeping);
// Copying a picture costs the software renderer about as much as drawing
// one member per MEMBERPIXELS of it: a world of fewer members (zoomed in,
// or a small bridge) is cheaper to draw every frame.
constexpr int MEMBERPIXELS = 256;
int isworldworthkeeping(int members, long pixels);
// Members the world's drawing put on screen since beginworld (world_gl.cpp).
extern int worldmembersdrawn;
void forgetworldpicture(worldcachestate *s);

// GL (worldcache_gl.cpp), after setupperspectiveviewport and setupviewpoint,
// with the frame's clear colour set. beginworld returns 1 when the kept
// picture is already on screen and nothing need be drawn; otherwise the
// caller draws the layers and calls endworld.
int beginworld(uint64_t key);
void endworld();
// The GL context was lost or replaced: the kept picture is gone.
void forgetworldcache();
