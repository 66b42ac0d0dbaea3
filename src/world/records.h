// The player's best results per level of the chosen map pack, kept in
// "bridge"/<pack>".rec" beside the progress file. The file is meant to be
// read by a person, one line per level:
//   01 Ditch 1200 145000
// the level name (it may hold spaces), the lowest cost of a bridge within
// budget that passed the normal test, and the heaviest train weight that got
// across in a progressive test, "-" where there is none yet. A level the
// player has failed tests on has a second line, after its record:
//   01 Ditch failed 4 tests
// which opens the level's hint in steps. It is a line of its own because a
// copy of the game from before it reads the last two words of every line
// as the numbers: a count added to the record line would have made that
// copy misread the record, while this line ends in a word, which it skips
// (and drops when it next writes the file). Records are
// keyed by name rather than by list position (as progress is), so a level
// that is renamed or moved never shows another level's best.
#pragma once

#include "shell/fileio.h"

constexpr int MAXRECORDS = MAXNAMES;
// Ample for MAXRECORDS lines; anything past it is not read.
constexpr int RECORDFILELIMIT = 65536;

struct recordinfo {
  char name[NAMELENGTH];
  int cost;   // lowest passing cost; -1 none
  int weight; // heaviest train across; 0 none
  int failed; // normal tests failed on the level; 0 none
};

extern recordinfo record[MAXRECORDS];
extern int numofrecords;

// What setrecord improved.
enum : int {
  RECORD_COST = 1,
  RECORD_WEIGHT = 2,
};

// Empties the table and reads the records of pack dirnum. Lines that do not
// parse (and a missing, cut or binary file) are skipped, so damage loses only
// what it touched.
void loadrecords();
// Rewrites the pack's records file whole, after merging into the table what
// the file holds now (the better of each wins). 1 when written; 0 leaves any
// previous file intact.
int saverecords();
// Index of the level's record, or -1.
int findrecord(const char *name);
// Enters one result: cost -1 or weight 0 leave that side alone. Returns the
// RECORD_* bits of what was beaten (a first result counts); 0 also when the
// name is unusable in the file or the table is full.
int setrecord(const char *name, int cost, int weight);
// Raises the level's count of failed tests to `failed` (a lower count
// leaves it). Returns 1 when it changed; 0 also when the name is unusable
// or the table is full.
int setfailedtests(const char *name, int failed);
// The count, 0 for a level with no record.
int getfailedtests(const char *name);
