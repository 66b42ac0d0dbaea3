#include "imagefile.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shell/fileio.h"

static void put32be(std::vector<unsigned char> &out, unsigned long v) {
  out.push_back((unsigned char)(v >> 24));
  out.push_back((unsigned char)(v >> 16));
  out.push_back((unsigned char)(v >> 8));
  out.push_back((unsigned char)v);
}

static void putchunk(std::vector<unsigned char> &out, const char *type, const unsigned char *data,
                     size_t length) {
  put32be(out, length);
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + length);
  put32be(out, crc32(0, out.data() + start, (uInt)(length + 4)));
}

// Through the game's own save: the committed image is replaced only by a
// complete new one, and never through a link into a device.
static int writewhole(const char *path, const unsigned char *data, size_t length) {
  savefile save;
  if (!beginsave(&save, path))
    return 0;
  if (fwrite(data, 1, length, save.file) != length) {
    cancelsave(&save);
    return 0;
  }
  return endsave(&save);
}

int writepng(const char *path, const unsigned char *rgba, int width, int height) {
  std::vector<unsigned char> raw;
  for (int y = 0; y < height; y++) {
    raw.push_back(0); // no row filter
    raw.insert(raw.end(), rgba + (size_t)y * width * 4, rgba + (size_t)(y + 1) * width * 4);
  }
  uLongf packedsize = compressBound(raw.size());
  std::vector<unsigned char> packed(packedsize);
  if (compress2(packed.data(), &packedsize, raw.data(), raw.size(), 9) != Z_OK)
    return 0;
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<unsigned char> header;
  put32be(header, width);
  put32be(header, height);
  header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
  putchunk(out, "IHDR", header.data(), header.size());
  putchunk(out, "IDAT", packed.data(), packedsize);
  putchunk(out, "IEND", nullptr, 0);
  return writewhole(path, out.data(), out.size());
}

static void put32le(std::vector<unsigned char> &out, unsigned long v) {
  for (int i = 0; i < 4; i++)
    out.push_back((unsigned char)(v >> (8 * i)));
}

int writebmp(const char *path, const unsigned char *rgb, int width, int height) {
  int rowsize = (width * 3 + 3) & ~3;
  std::vector<unsigned char> out = {'B', 'M'};
  put32le(out, 54 + (unsigned long)rowsize * height);
  put32le(out, 0);
  put32le(out, 54);
  put32le(out, 40);
  put32le(out, width);
  put32le(out, height); // positive: bottom row first
  out.insert(out.end(), {1, 0, 24, 0});
  put32le(out, 0); // no compression
  put32le(out, (unsigned long)rowsize * height);
  put32le(out, 2835); // 72 dpi
  put32le(out, 2835);
  put32le(out, 0);
  put32le(out, 0);
  for (int y = height - 1; y >= 0; y--) {
    const unsigned char *src = rgb + (size_t)y * width * 3;
    for (int x = 0; x < width; x++) {
      out.push_back(src[x * 3 + 2]);
      out.push_back(src[x * 3 + 1]);
      out.push_back(src[x * 3]);
    }
    for (int pad = width * 3; pad < rowsize; pad++)
      out.push_back(0);
  }
  return writewhole(path, out.data(), out.size());
}
