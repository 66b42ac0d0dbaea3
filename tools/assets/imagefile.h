// Writers for the images the asset generators make. Pixels are RGBA or RGB
// bytes, top row first.
#pragma once

// 8-bit RGBA PNG. Returns 1 when the whole file was written.
int writepng(const char *path, const unsigned char *rgba, int width, int height);
// 24-bit uncompressed BMP from RGB bytes. Returns 1 when written.
int writebmp(const char *path, const unsigned char *rgb, int width, int height);
