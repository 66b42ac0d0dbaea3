// The one hash of plain data: FNV-1a over bytes, 64 bits. Keys that tell
// two bridges or two simulation states apart are made with it; equal keys
// stand for equal data with no collision seen in practice, never for a
// proof of it.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr uint64_t HASHSTART = 1469598103934665603ull;

uint64_t hashbytes(uint64_t h, const void *data, size_t size);
// The same walk a 32-bit word at a time (a trailing part word is left
// out), a quarter of the multiplies: for keys taken every frame over
// whole tables, where byte steps would cost the frame most of a
// millisecond with the tables full.
uint64_t hashwords(uint64_t h, const void *data, size_t size);
