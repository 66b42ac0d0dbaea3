#include "geometry/hash.h"

uint64_t hashbytes(uint64_t h, const void *data, size_t size) {
  const unsigned char *p = (const unsigned char *)data;
  for (size_t i = 0; i < size; i++)
    h = (h ^ p[i]) * 1099511628211ull;
  return h;
}
