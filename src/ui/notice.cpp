#include "ui/notice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

noticeinfo notice;

static void setnoticetext(int kind, const char *text) {
  if (kind == NOTICE_INFO && notice.kind == NOTICE_ERROR && notice.text[0] && !notice.shown)
    return;
  snprintf(notice.text, sizeof notice.text, "%s", text);
  notice.kind = kind;
  notice.shown = 0;
  notice.failures = 0;
}

void setnotice(int kind, const char *format, ...) {
  char text[NOTICELENGTH];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  setnoticetext(kind, text);
}

static int noticelive() {
  return notice.text[0] != 0;
}

// Whether `name` is one of the ", "-separated names in `list`.
static int isnamed(const char *list, const char *name) {
  size_t length = strlen(name);
  for (const char *at = strstr(list, name); at != NULL; at = strstr(at + 1, name))
    if ((at == list || (at >= list + 2 && at[-2] == ',' && at[-1] == ' ')) &&
        (at[length] == 0 || (at[length] == ',' && at[length + 1] == ' ')))
      return 1;
  return 0;
}

void notesavefailure(const char *name) {
  char names[NOTICELENGTH];
  int failures = 0, named = 0;
  if (noticelive() && notice.kind == NOTICE_ERROR && notice.failures > 0) {
    if (isnamed(notice.failednames, name))
      return;
    failures = notice.failures;
    named = notice.numofnamed;
    snprintf(names, sizeof names, "%s", notice.failednames);
  }
  failures++;
  if (named == 0) {
    snprintf(names, sizeof names, "%s", name);
    named = 1;
  } else if (named == failures - 1 &&
             strlen("Could not save ") + strlen(names) + 2 + strlen(name) <= (size_t)NOTICECHARS) {
    snprintf(names + strlen(names), sizeof names - strlen(names), ", %s", name);
    named++;
  }
  if (failures > named)
    setnotice(NOTICE_ERROR, "Could not save %s and %d more", names, failures - named);
  else
    setnotice(NOTICE_ERROR, "Could not save %s", names);
  snprintf(notice.failednames, sizeof notice.failednames, "%s", names);
  notice.failures = failures;
  notice.numofnamed = named;
}

const char *getnotice(unsigned int now) {
  if (!noticelive())
    return NULL;
  if (!notice.shown) {
    notice.shown = 1;
    notice.start = now;
  }
  unsigned int lifetime = notice.kind == NOTICE_ERROR ? NOTICEERRORTIME : NOTICEINFOTIME;
  if (now - notice.start >= lifetime) {
    clearnotice();
    return NULL;
  }
  return notice.text;
}

void clearnotice() {
  memset(&notice, 0, sizeof notice);
}
