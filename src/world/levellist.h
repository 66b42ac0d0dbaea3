// The level and bridge names of the chosen map pack, and the pack's progress.
//
// A map pack is a subdirectory of "level" (its levels) and, under the same
// name, of "bridge" (the player's bridges and the pack's progress file,
// ‹pack›".pro"). Both are relative to the current directory, entered and left
// again with "..", and only what was entered is left.
#pragma once

#include "shell/fileio.h"

constexpr int MAXPROGRESS = 64; // levels of a pack that have a progress flag

extern char levellist[MAXNAMES][NAMELENGTH];  // names without extension, empty-terminated
extern char levellist2[MAXNAMES][NAMELENGTH]; // scratch for the older bridge files
extern int levelpassed[MAXPROGRESS];          // by position in the level list: 1 passed
extern int dirnum;                            // chosen pack in dirlist; may be out of range
extern int levelnum;                          // level being played in levellist, or -1
extern int levelreadable[MAXNAMES];           // by position: 0 when the name loads as no level

// How a level of the start game list shows. A name that loads as no level
// (any file the list pattern takes, "00readme" as well) can never be
// played, so it locks nothing: the level after it follows the nearest
// playable level before it.
enum : int {
  LEVEL_OPEN = 0,       // playable, not passed
  LEVEL_PASSED = 1,     // playable, passed
  LEVEL_LOCKED = 2,     // the level before it is not passed yet
  LEVEL_UNREADABLE = 3, // no level loads under this name
};

// The name of pack dirnum, or "" when dirnum does not index a listed pack
// (every step that would enter the pack directory then fails).
const char *getpackname();

// Level names of the pack (".qzl", or ".lvl" only when there is no ".qzl");
// also loads the pack's progress. Returns the number of names.
int getlevellist();
// Which of the first `count` names of levellist load as a level of pack
// dirnum (older or current format), into levelreadable, without loading
// any of them.
void checklevellist(int count);
// LEVEL_* of position j of the list, from levelreadable and levelpassed.
// Levels past the 64 flags follow the last flag.
int getlevellook(int j);
// Bridge names of the pack: the ".qzb" names, then the ".brg" names, each
// sorted. Returns the number of names.
int getbridgelist();

// The name of a per-pack file in "bridge": the pack name and `extension`
// (at most 4 characters, dot included) in `out`, NAMELENGTH + 8 bytes.
// 0 when there is no usable pack name.
int makepackfilename(char *out, const char *extension);

// Writes all 64 flags (256 bytes, little-endian), after taking in every
// flag the file holds now, so levelpassed gains what another copy of the
// game passed. 1 when the file was written; 0 leaves any previous progress
// file intact.
int saveprogess();
// Clears the flags and reads up to 64 from the pack's progress file.
void loadprogess();
