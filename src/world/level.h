// The level, joint and beam tables: the crossing and the bridge built over it.
// Everything here is a process-wide table; loading a file overwrites them in
// place. A new beam field must be handled in save, load, undo and paste.
#pragma once

#include <stdint.h>

#include "geometry/vector.h"

constexpr int MAXJOINTS = 16384;
constexpr int MAXBEAMS = 16384;
// A file keeps each count in 14 bits, so one entry short of the tables is the
// most a bridge may hold: a full table would load back empty.
constexpr int MAXFILECOUNT = 16383;
constexpr int NUMTERRAIN = 512;      // columns, 4 units apart: x = 0..2044
constexpr int BEAMCOST = 100;        // every beam, structural or deck
constexpr float MAXBEAMLENGTH = 17.9f; // beamtype[0] and [1] while editing and testing
// A beam (in the editor) or a bridge bond (in a test run) is under the
// mouse within this distance of the mouse's world point.
constexpr float BEAMPICKRADIUS = 1.0f;

// Every coordinate a level or bridge holds (joints, both ends, the deck and
// water heights, the terrain) lies within -WORLDLIMIT..WORLDLIMIT. The files
// refuse anything else and the level editor never places it. Twice the
// level's width from the origin leaves room for any crossing the terrain
// can hold; it is a sixteenth of the simulation's SANECOORD, so a bridge as
// loaded is never taken for a run that has blown up; floats still resolve
// 1/2048 there, far finer than the 2-unit grid; and a camera kept near the
// crossing stays where float-to-int conversions of its view cannot overflow.
constexpr float WORLDLIMIT = 4096.0f;
// A non-number is outside too.
inline int isinsideworld(float v) { return v >= -WORLDLIMIT && v <= WORLDLIMIT; }
inline float clampinsideworld(float v) { return v < -WORLDLIMIT ? -WORLDLIMIT : v > WORLDLIMIT ? WORLDLIMIT : v; }

struct levelinfo {
  float terrain[NUMTERRAIN]; // ground height at x = 4*i; solid below
  float deckheight;          // beams with both joints within 1.0 of it become deck
  float waterlevel;
  float leftend;             // x of the left end of the crossing
  float rightend;
  int budget;
  int weight;                // train weight setting; /10000 per car
  int trainstart;            // 0 left, 1 right, 2 both
  int manualdeck;            // non-zero: the player picks deck beams
  int traintime;             // whole seconds of test time the train last started at
};

struct jointinfo {
  int type;      // 0 anchor (author's, fixed), 1 free joint
  vector2d pos;
};

struct beaminfo {
  int type;        // 0 structural, 1 deck
  int joint1;
  int joint2;
  int hover;       // editor only: mouse is over it
  int stresstype;  // side of the last run's peak stress: 0 stretched, 1 compressed
  float stress;    // peak stress ratio of the last run, 0..1 (1 = broke)
};

extern levelinfo level;
extern jointinfo joint[MAXJOINTS];
extern int numofjoints;
extern beaminfo beam[MAXBEAMS];
extern int numofbeams;
extern float beamtype[16]; // maximum length per beam type; only 0 and 1 are used

// Set `level` to the default crossing; joints and beams are left alone.
void createlevel();

// The terrain column of a position given in columns (x / 4), plus `offset`,
// held to 0..last: NUMTERRAIN - 2 for the first column of a segment,
// NUMTERRAIN - 1 for a height. A non-number gives 0; the float is held
// before the conversion so that no huge value can overflow it.
int clampterraincolumn(float column, int offset, int last);

// A bridge (or a bare level: anchors only) set aside from the live tables:
// the level record and the joint and beam tables, which always travel
// together. Large, so kept in static storage by its users.
struct bridgetables {
  levelinfo level;
  int numofjoints;
  jointinfo joint[MAXJOINTS];
  int numofbeams;
  beaminfo beam[MAXBEAMS];
};

// What makes the bridge, as its file stores it: the joints by value and
// each beam's type and joints (not the stress or hover a frame writes into
// them), hashed on from h. Equal keys stand for the same bridge.
uint64_t hashbridge(uint64_t h);

void savebridgetables(bridgetables *out);
void loadbridgetables(const bridgetables *in);
// The live tables set from a level and `joints` and `beams` entries kept
// elsewhere.
void setbridgetables(const levelinfo *from, const jointinfo *joints, int countofjoints, const beaminfo *beams,
                     int countofbeams);

// Does the segment start->end cross the ground surface from above? Always
// sets collision.fraction to 1.0 first; on a hit fills point, normal and
// fraction of `collision` with the nearest crossing.
int lineintersectlevel2d(const vector2d *start, const vector2d *end);
// The highest terrain point lineintersectlevel2d meets for a segment
// spanning xmin..xmax; a non-number when a terrain height there is one.
float findlevelceiling(float xmin, float xmax);
