#include "editor/editorfile.h"

#include <sys/stat.h>

#include "editor/editor.h"
#include "editor/leveleditor.h"
#include "editor/undo.h"
#include "shell/fileio.h"
#include "world/levelfile.h"
#include "world/levellist.h"

int savetopack(const char *directory, const char *name, int isbridge) {
  int enteredbase = enterdirectory(directory);
  const char *pack = getpackname();
  if (pack[0])
    mkdir(pack, 0777); // an existing pack is kept
  int enteredpack = enterdirectory(pack);
  int saved = savelevel(name, isbridge);
  leavedirectory(enteredpack);
  leavedirectory(enteredbase);
  return saved;
}

int checkeditorsave() {
  if (editor.filemenu != 2)
    return 0;
  editor.filemenu = 0;
  if (!editor.leveleditor)
    return savetopack("bridge", editor.filename, 1);
  stripbridge();
  int saved = savetopack("level", editor.filename, 0);
  editorundo();
  return saved;
}
