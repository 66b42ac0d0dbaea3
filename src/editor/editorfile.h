// The editor's "File" box: saving the bridge (or, in the level editor, the
// level) under the typed name into the chosen map pack.
#pragma once

// Writes the tables into ‹directory›/‹pack›/‹name›, making the pack
// directory on first use. Returns 1 when the file was written completely.
int savetopack(const char *directory, const char *name, int isbridge);

// 1 when the File box's name can name a file the lists show again: not
// empty, no '/', no control character, not hidden (a leading '.'), not a
// temporary file's (a leading '<'), at most MAXFILENAME characters.
int checkfilename(const char *name);

// Runs a requested save (editor.filemenu 2) and closes the box, whether or
// not the file could be written; a name checkfilename refuses is told on the
// notice line and writes nothing. A level keeps only its anchors; the bridge
// on screen is left as it was, with the stripped state one redo away.
// Returns 1 when a file was written.
int checkeditorsave();
