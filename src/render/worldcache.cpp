#include "render/worldcache.h"

#include <string.h>

#include "editor/editor.h"
#include "geometry/hash.h"
#include "render/view.h"
#include "shell/config.h"
#include "sim/bond.h"
#include "sim/object.h"
#include "sim/particle.h"
#include "testrun/game.h"
#include "world/level.h"

void beginworldkey(worldkey *k) { k->h = HASHSTART; }

void addworldkey(worldkey *k, const void *data, size_t bytes) { k->h = hashwords(k->h, data, bytes); }

void addworldkeyint(worldkey *k, int v) { addworldkey(k, &v, sizeof v); }
void addworldkeyfloat(worldkey *k, float v) { addworldkey(k, &v, sizeof v); }

static int clampcount(int n, int max) { return n < 0 ? 0 : n > max ? max : n; }

// Shared by both screens: the camera, the crossing and the view settings.
static void addcommonkey(worldkey *k) {
  addworldkey(k, view.pos, sizeof view.pos);
  addworldkey(k, &level, sizeof level);
  addworldkeyint(k, game.stressview);
  addworldkeyint(k, colorsafe);
}

uint64_t geteditorworldkey() {
  worldkey k;
  beginworldkey(&k);
  addworldkeyint(&k, 1); // the screen: its clear colour is part of the picture
  addcommonkey(&k);
  addworldkey(&k, beamtype, sizeof beamtype);
  int joints = clampcount(numofjoints, MAXJOINTS), beams = clampcount(numofbeams, MAXBEAMS);
  addworldkeyint(&k, joints);
  addworldkey(&k, joint, sizeof(jointinfo) * (size_t)joints);
  addworldkeyint(&k, beams);
  addworldkey(&k, beam, sizeof(beaminfo) * (size_t)beams);
  addworldkeyint(&k, editor.savednumofbeams);
  return k.h;
}

uint64_t gettestrunworldkey() {
  worldkey k;
  beginworldkey(&k);
  addworldkeyint(&k, 2);
  addcommonkey(&k);
  addworldkeyint(&k, game.maxstress);
  int particles = clampcount(numofparticles, MAXPARTICLES);
  addworldkeyint(&k, particles);
  for (int i = 0; i < particles; i++)
    addworldkey(&k, &particle[i].pos, sizeof(vector2d));
  int bonds = clampcount(numofbonds, MAXBONDS);
  addworldkeyint(&k, bonds);
  for (int i = 0; i < bonds; i++) {
    const bondinfo *b = &bond[i];
    const int fields[6] = {b->rigid, b->particle1, b->particle2, b->road, b->stresstype,
                           b->peakstresstype};
    addworldkey(&k, fields, sizeof fields);
    addworldkeyfloat(&k, b->stress);
    addworldkeyfloat(&k, b->peakstress);
  }
  int objects = clampcount(numofobjects, MAXOBJECTS);
  addworldkeyint(&k, objects);
  for (int i = 0; i < objects; i++) {
    const objectinfo *o = &object[i];
    addworldkeyint(&k, o->type);
    addworldkey(&k, &o->center, sizeof(vector2d));
    addworldkey(&k, &o->axisx, sizeof(vector2d));
    addworldkey(&k, &o->axisy, sizeof(vector2d));
    addworldkey(&k, o->color, sizeof o->color);
  }
  return k.h;
}

int worldmembersdrawn;

int isworldworthkeeping(int members, long pixels) {
  return (long)members * MEMBERPIXELS >= pixels;
}

int getworldcacheaction(worldcachestate *s, uint64_t key, int worthkeeping) {
  int action = WORLD_DRAW;
  if (s->valid && s->cachedkey == key)
    action = WORLD_REUSE;
  else if (s->haslast && s->lastkey == key && worthkeeping)
    action = WORLD_CAPTURE;
  if (action == WORLD_CAPTURE) {
    s->valid = 1;
    s->cachedkey = key;
  }
  s->haslast = 1;
  s->lastkey = key;
  return action;
}

void forgetworldpicture(worldcachestate *s) { s->valid = 0; }
