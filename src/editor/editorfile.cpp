#include "editor/editorfile.h"

#include <sys/stat.h>

#include "editor/editor.h"
#include "editor/leveleditor.h"
#include "editor/undo.h"
#include "shell/fileio.h"
#include "ui/notice.h"
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
  int saved;
  if (!editor.leveleditor) {
    saved = savetopack("bridge", editor.filename, 1);
  } else {
    stripbridge();
    saved = savetopack("level", editor.filename, 0);
    editorundo();
  }
  // Only a file written whole is confirmed.
  if (saved)
    setnotice(NOTICE_INFO, "Saved %s", editor.filename);
  return saved;
}
