// Level and bridge files named by a path, for tools: the game's own loaders
// and save work on bare names in the current directory (or its "level" and
// "bridge" subdirectories), so these enter the file's directory for the
// call and come back.
#pragma once

#include <stddef.h>

// A .qzl, .qzb (current format), .lvl or .brg (old format) file into the
// live tables. Returns 1, or 0 with the reason in `why`.
int loadgamefile(const char *path, const char **why);

// The live tables saved as bridge PATH, which must be NAME.qzb with a name
// the game accepts, with the game's atomic save. Returns 1, or 0 with what
// went wrong in `why` ("PATH: reason").
int savegamebridge(const char *path, const char **why);

// BRIDGE "x/01 Name.qzb" gives "x/01 Name min.qzb"; 0 when it does not fit.
int makeminname(const char *bridge, char *out, size_t size);

int isdirectory(const char *path);

// Says what went wrong with a named file, on the standard error as
// "toolname: what".
extern const char *toolname;
void complain(const char *format, ...) __attribute__((format(printf, 1, 2)));
