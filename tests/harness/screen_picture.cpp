#include "screen_picture.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace harness {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutBigEndian(png, Crc32(png.data() + start, png.size() - start));
}

// An RGB picture as a PNG with stored (uncompressed) deflate blocks: small code, larger files.
bool WritePng(const char* path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), rgb.begin() + y * width * 3, rgb.begin() + (y + 1) * width * 3);
  }
  std::vector<std::uint8_t> zlib{0x78, 0x01};
  for (std::size_t offset = 0; offset < raw.size() || offset == 0;) {
    const std::size_t length = std::min<std::size_t>(65535, raw.size() - offset);
    zlib.push_back(offset + length == raw.size() ? 1 : 0);
    zlib.push_back(static_cast<std::uint8_t>(length));
    zlib.push_back(static_cast<std::uint8_t>(length >> 8));
    zlib.push_back(static_cast<std::uint8_t>(~length));
    zlib.push_back(static_cast<std::uint8_t>(~length >> 8));
    zlib.insert(zlib.end(), raw.begin() + offset, raw.begin() + offset + length);
    offset += length;
    if (length == 0) break;
  }
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(zlib, (b << 16) | a);
  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool SaveScreen(RECT rect, const char* path) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    rgb.push_back(pixels[i * 4 + 2]);
    rgb.push_back(pixels[i * 4 + 1]);
    rgb.push_back(pixels[i * 4]);
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return WritePng(path, width, height, rgb);
}

RECT Around(HWND window, int margin) {
  RECT rect;
  GetWindowRect(window, &rect);
  InflateRect(&rect, margin, margin);
  return rect;
}

}  // namespace harness
