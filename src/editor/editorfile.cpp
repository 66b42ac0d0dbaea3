#include "editor/editorfile.h"

#include <sys/stat.h>

#include <cstring>

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

int checkfilename(const char *name) {
  size_t length = strnlen(name, NAMELENGTH);
  if (length == 0 || length > (size_t)MAXFILENAME || name[0] == '.' || name[0] == '<')
    return 0;
  for (size_t i = 0; i < length; i++)
    if (name[i] == '/' || (unsigned char)name[i] < 32 || name[i] == 127)
      return 0;
  return 1;
}

int checkeditorsave() {
  if (editor.filemenu != 2)
    return 0;
  editor.filemenu = 0;
  if (!checkfilename(editor.filename)) {
    if (editor.filename[0] == 0)
      setnotice(NOTICE_ERROR, "Not saved: type a name first");
    else
      setnotice(NOTICE_ERROR, "Not saved: \"%s\" cannot be a file name", editor.filename);
    return 0;
  }
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
