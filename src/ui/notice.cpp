#include "ui/notice.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "render/screenshot.h"
#include "shell/fileio.h"

noticeinfo notice;

static void setnoticetext(int kind, const char *text) {
  if (kind == NOTICE_INFO && notice.kind == NOTICE_ERROR && notice.text[0] && !notice.shown)
    return;
  snprintf(notice.text, sizeof notice.text, "%s", text);
  notice.kind = kind;
  notice.shown = 0;
  notice.failures = 0;
}

static void addsavefailure(const char *name);
__attribute__((format(printf, 2, 3))) static void putnotice(int kind, const char *format, ...);

// The loads refused and saves failed since the last look: each returns its
// failure to its caller and leaves it with the file code, and the line
// tells them all, whoever the caller was.
static void tellsavefailures() {
  char name[NOTICELENGTH];
  if (takeloadfailure(name, sizeof name))
    putnotice(NOTICE_ERROR, "%s", name);
  while (takesavefailure(name, sizeof name))
    addsavefailure(name);
}

static void formatnotice(int kind, const char *format, va_list args) {
  char text[NOTICELENGTH];
  vsnprintf(text, sizeof text, format, args);
  setnoticetext(kind, text);
}

// The line as is, without first telling the failed saves waiting.
__attribute__((format(printf, 2, 3))) static void putnotice(int kind, const char *format, ...) {
  va_list args;
  va_start(args, format);
  formatnotice(kind, format, args);
  va_end(args);
}

void setnotice(int kind, const char *format, ...) {
  tellsavefailures();
  va_list args;
  va_start(args, format);
  formatnotice(kind, format, args);
  va_end(args);
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

static void addsavefailure(const char *name) {
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
    putnotice(NOTICE_ERROR, "Could not save %s and %d more", names, failures - named);
  else
    putnotice(NOTICE_ERROR, "Could not save %s", names);
  snprintf(notice.failednames, sizeof notice.failednames, "%s", names);
  notice.failures = failures;
  notice.numofnamed = named;
}

void notesavefailure(const char *name) {
  tellsavefailures();
  addsavefailure(name);
}

const char *getnotice(unsigned int now) {
  tellsavefailures();
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
  savefailure.numoffailures = 0;
  savefailure.numofuntold = 0;
  char dropped[8];
  takeloadfailure(dropped, sizeof dropped);
}

void notescreenshot(int result) {
  if (result == SCREENSHOT_SAVED)
    setnotice(NOTICE_INFO, "Screenshot %s", screenshotname);
  else if (result == SCREENSHOT_NOMEMORY)
    setnotice(NOTICE_ERROR, "No screenshot: out of memory");
  else if (result == SCREENSHOT_ALLTAKEN)
    setnotice(NOTICE_ERROR, "No screenshot: scsht000.tga to scsht999.tga are all taken");
}
