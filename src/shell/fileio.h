// Little-endian binary I/O on either host byte order, directory listing with
// the simple '*' patterns of the level menus, and crash-safe saving.
#pragma once

#include <cstddef>
#include <cstdio>

constexpr int NAMELENGTH = 32; // bytes per name-list entry, NUL included
constexpr int MAXNAMES = 1024; // entries per name list; the last stays empty

typedef size_t (*freadfunction)(void *buffer, size_t size, size_t count, FILE *file);
typedef size_t (*fwritefunction)(const void *buffer, size_t size, size_t count, FILE *file);

// 1 when the host stores the most significant byte first. Also read by the
// image loaders to pack pixels.
extern int bigendian;

// Every multi-byte value of a binary file goes through these two. Before
// checkbigendian they point at stand-ins that run it on first use, so a tool
// that forgets the call still reads and writes the right byte order.
extern freadfunction freadptr;
extern fwritefunction fwriteptr;

// The map-pack names, filled by the start game menu.
extern char dirlist[MAXNAMES][NAMELENGTH];

void checkbigendian();

// Element sizes 1, 2 and 4 are supported; any other size reads or writes
// nothing. Both return the number of whole elements transferred, as fread
// and fwrite do, so a short file or a full disk is seen by the caller.
size_t freadswap(void *buffer, size_t size, size_t count, FILE *file);
size_t fwriteswap(const void *buffer, size_t size, size_t count, FILE *file);

// 1 when name matches pattern. A '*' absorbs name characters up to the first
// occurrence of the pattern character after it (no backtracking), and the
// match succeeds as soon as either string runs out.
int checkfilespec(const char *pattern, const char *name);

// strcmp order of two name-list entries, in qsort's signature.
int comparestrings(const void *a, const void *b);

// Fill list with the names in the current directory that match pattern:
// regular files when flag is 0, directories otherwise (never names starting
// with '.'; nothing starting with '<', which is where saves keep their
// temporary files). Sorted byte-wise and ended by an empty entry. Names too
// long for an entry are left out; of more than MAXNAMES-1 matches the
// smallest in sort order are kept, so the result does not depend on the
// order the file system returns entries in.
void listfiles(const char *pattern, char list[][NAMELENGTH], int flag);

// Pack directories are entered with a change of the current directory and
// left with "..", and only when entering worked. enterdirectory returns 1
// when it did, which is what leavedirectory takes. The names entered are
// kept, so that a failed save can name its file as the player knows it,
// from the directory the game started in ("bridge/Riverside.pro").
int enterdirectory(const char *name);
void leavedirectory(int entered);
// path (relative to the current directory) as the player knows it.
void getshownname(char *out, size_t size, const char *path);

// Every file the game reads is opened through this: binary reading, and
// only when path names a regular file (after links). A FIFO, a device or a
// directory gives NULL at once, never a blocked or unbounded read.
FILE *openreadfile(const char *path);

// A save that never destroys the previous file: the data goes to a temporary
// file beside the target, which replaces the target only once every write,
// the flush and the close have succeeded. Use as
//   savefile save;
//   if (!beginsave(&save, "x.qzb")) return 0;
//   ...fwriteptr(..., save.file)...
//   return endsave(&save);
// A writer that notices a failure itself may call cancelsave instead.
constexpr int SAVEPATHLENGTH = 1024;
struct savefile {
  FILE *file;                      // NULL when beginsave refused
  char path[SAVEPATHLENGTH];       // the target, links followed
  char temppath[SAVEPATHLENGTH];   // "<" + target name, same directory
  char shownname[SAVEPATHLENGTH];  // the path as given, from the start directory
};

// 1 with save->file open for binary writing; 0 when the path is too long,
// its name starts with '<', an existing target is not a regular file or may
// not be written by this user, or the temporary file cannot be created as a
// new regular file (then nothing was created). Whatever an interrupted save
// left under the temporary name is removed first, never written into. A
// target that is a symbolic link is followed: the regular file it points to
// is replaced and the link kept.
int beginsave(savefile *save, const char *path);
// 1 when the target now holds the complete new file; 0 when anything failed,
// in which case the temporary file is removed and the target is untouched.
int endsave(savefile *save);
void cancelsave(savefile *save);
// Every failure of the three above (a refusal, a failed write, a cancel)
// returns 0 to the caller and is also kept as a failed save, which the
// notice line tells as "Could not save <shownname>": a save the player did
// not hear about failing is taken as done, and a caller that forgot to
// report one would be a lie told by silence.
//
// Failed saves not yet told, oldest first; beyond MAXSAVEFAILURES only
// their number is kept.
constexpr int MAXSAVEFAILURES = 8;
struct savefailureinfo {
  int numoffailures;
  int numofuntold;  // failures past the table
  char name[MAXSAVEFAILURES][SAVEPATHLENGTH];
};
extern savefailureinfo savefailure;
void recordsavefailure(const char *shownname);
// A file that is there but was refused by its loader, with the reason, for
// the notice line to tell as "Could not load <shownname>: <reason>"; only
// the latest is kept.
void recordloadfailure(const char *shownname, const char *reason);
// Moves the waiting load refusal's line into out and returns 1; 0 when none.
int takeloadfailure(char *out, int size);
// Moves the oldest failed save's name into out (size bytes) and returns 1;
// 0 when none is waiting. The untold ones past the table come last, each
// under the name of the last one kept.
int takesavefailure(char *out, int size);
