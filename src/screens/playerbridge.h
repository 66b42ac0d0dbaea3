// The player's own bridge for a level played from the start game list:
// "bridge"/<pack>/<name>.qzb (or an older ".brg"), loaded over the level
// when it is opened and written back when the editor returns.
//
// A bridge file that is there but does not load is the player's work all
// the same: it is never overwritten. It stays as it is while the player
// leaves the level unchanged; a changed bridge is saved under the usual name
// only after the unreadable file was moved aside to "<name>.unreadable"
// (which no bridge list shows).
#pragma once

#include <stdint.h>

enum : int {
  BRIDGE_NONE = 0,       // no bridge file: the level's anchors only
  BRIDGE_LOADED = 1,     // the tables hold the player's bridge
  BRIDGE_UNREADABLE = 2, // the file that would win does not load; it is kept
};

// Loads the bridge of level `name` of pack dirnum over the tables, older
// format first so that a current file wins, only when the pack directory
// exists. Tells an unreadable file on the notice line. Returns BRIDGE_*.
int loadplayerbridge(const char *name);

// After the editor, with what loadplayerbridge returned and
// hashbridge(HASHSTART) taken after loading, to tell whether the editor
// changed anything. Makes the pack directory on first use. 1 when the
// bridge was written; 0 when it was left alone on purpose or could not be
// written (which the notice line tells).
int saveplayerbridge(const char *name, int loaded, uint64_t loadedhash);
