#include "GifWriter.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "BitmapProbe.h"
#include "FileBytes.h"
#include "ui/core/Manager.h"

namespace testsupport {

namespace {

constexpr int kCodeSize = 8;                  // 256 colours
constexpr unsigned kClear = 1u << kCodeSize;  // 256, then 257 ends the data
constexpr unsigned kEnd = kClear + 1;
constexpr int kCodeBits = kCodeSize + 1;
// Literals between clear codes: each literal after the first adds a table entry, and the
// code width would grow at entry 512; far fewer keeps every code at 9 bits.
constexpr int kLiteralsPerClear = 128;

void Put16(std::vector<BYTE>& out, int value) {
  out.push_back(static_cast<BYTE>(value & 0xFF));
  out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

// The image data of a frame that is index everywhere, as data sub-blocks.
void PutFrameData(std::vector<BYTE>& out, int pixels, BYTE index) {
  std::vector<BYTE> packed;
  unsigned buffer = 0;
  int bits = 0;
  auto code = [&](unsigned value) {
    buffer |= value << bits;
    bits += kCodeBits;
    while (bits >= 8) {
      packed.push_back(static_cast<BYTE>(buffer & 0xFF));
      buffer >>= 8;
      bits -= 8;
    }
  };
  for (int i = 0; i < pixels; ++i) {
    if (i % kLiteralsPerClear == 0) code(kClear);
    code(index);
  }
  code(kEnd);
  if (bits > 0) packed.push_back(static_cast<BYTE>(buffer & 0xFF));
  out.push_back(kCodeSize);
  for (size_t at = 0; at < packed.size(); at += 255) {
    const size_t n = std::min<size_t>(255, packed.size() - at);
    out.push_back(static_cast<BYTE>(n));
    out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
               packed.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);
}

}  // namespace

std::vector<BYTE> GifBytes(int width, int height, const std::vector<DWORD>& frameColours, int delay) {
  std::vector<BYTE> out = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(out, width);
  Put16(out, height);
  out.push_back(0xF7);  // a global table of 256 colours, 8 bits of colour resolution
  out.push_back(0);     // background index
  out.push_back(0);     // no aspect ratio
  for (int i = 0; i < 256; ++i) {
    const DWORD rgb = i < static_cast<int>(frameColours.size()) ? frameColours[static_cast<size_t>(i)] : 0;
    out.push_back(static_cast<BYTE>(rgb >> 16));
    out.push_back(static_cast<BYTE>(rgb >> 8));
    out.push_back(static_cast<BYTE>(rgb));
  }
  // Loop for ever.
  const BYTE loop[] = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01, 0, 0, 0};
  out.insert(out.end(), std::begin(loop), std::end(loop));
  for (size_t frame = 0; frame < frameColours.size() && frame < 256; ++frame) {
    // Graphic control: frames stay in place (disposal 1), the delay, no transparency.
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x04});
    Put16(out, delay);
    out.insert(out.end(), {0x00, 0x00});
    out.push_back(0x2C);  // image descriptor: the whole picture, no local table
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out.push_back(0);
    PutFrameData(out, width * height, static_cast<BYTE>(frame));
  }
  out.push_back(0x3B);
  return out;
}

void WriteSkinGif(const wchar_t* name, int width, int height, const std::vector<DWORD>& frameColours, int delay) {
  MakeSkinFolderFor(name);
  WriteFileBytes(std::wstring(TESK::GetSkinFolder() + name), GifBytes(width, height, frameColours, delay));
}

}  // namespace testsupport
