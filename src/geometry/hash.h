// The one hash of plain data: FNV-1a over bytes, 64 bits. Keys that tell
// two bridges or two simulation states apart are made with it; equal keys
// stand for equal data with no collision seen in practice, never for a
// proof of it.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr uint64_t HASHSTART = 1469598103934665603ull;

uint64_t hashbytes(uint64_t h, const void *data, size_t size);
