#include "geometry/hash.h"

#include <string.h>

uint64_t hashbytes(uint64_t h, const void *data, size_t size) {
  const unsigned char *p = (const unsigned char *)data;
  for (size_t i = 0; i < size; i++)
    h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

uint64_t hashwords(uint64_t h, const void *data, size_t size) {
  const unsigned char *p = (const unsigned char *)data;
  for (size_t i = 0; i + 4 <= size; i += 4) {
    uint32_t w;
    memcpy(&w, p + i, 4);
    h = (h ^ w) * 1099511628211ull;
  }
  return h;
}
