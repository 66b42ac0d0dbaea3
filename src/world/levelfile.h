// Level (".qzl") and bridge (".qzb") files, and the older header-less
// ".lvl"/".brg" files, which are only read.
//
// All three work relative to the current directory: they first try to enter
// the subdirectory "bridge" (bridge files) or "level" (level files), use the
// file there, and go back with ".." only if they entered it. Callers that
// already stand in a pack directory rely on that first change failing.
//
// A name is a bare file name without extension: at most MAXFILENAME
// characters (so that name and extension fit a 32-byte name entry), no '/',
// not starting with '<' (the mark of a temporary file).
// Other names are refused.
//
// Loading validates the whole file before anything is applied; a missing,
// truncated, foreign or damaged file, or one with a coordinate outside the
// world's range, leaves level, joints and beams exactly as they were. A loaded beam keeps its previous hover, stresstype and stress
// values, which the files do not store; the editor clears them on entry.
#pragma once

constexpr int LEVELVERSION = 4;
constexpr int MAXFILENAME = 27;

// 1 when the file was written completely; 0 when the name was refused, the
// tables hold something the loader would refuse (so the file could never be
// read back), or a write failed. On 0 any previous file of that name is intact.
int savelevel(const char *name, int isbridge);
// 1 when the file was loaded; 0 when everything was left unchanged. A file
// that is there but refused (foreign, cut short, damaged, or a coordinate
// outside -WORLDLIMIT..WORLDLIMIT) is also told on the notice line as
// "Could not load bridge/Pack/name.qzb: <reason>".
int loadlevel(const char *name, int isbridge);
int loadoldlevel(const char *name, int isbridge);
// Why the last load returned 0, in words ("joint 3 lies outside
// -4096..4096"); NULL after a load that worked.
const char *getloadfailure();
// 1 when loadoldlevel or loadlevel would load the name, which stays
// unloaded: the tables are not touched either way.
int checklevelfile(const char *name, int isbridge);
