#include "ui/core/DropImage.h"

#include <shlobj.h>

#include <cstdint>
#include <cstring>

#include "ui/core/GdiHandles.h"

namespace TESK {

namespace {

constexpr LONG kLargestSide = 16384;
constexpr size_t kLongestFileName = 520;
constexpr DWORD kCoreHeaderSize = 12;            // BITMAPCOREHEADER
constexpr DWORD kInfoHeaderSize = 40;            // BITMAPINFOHEADER
constexpr DWORD kHeaderWithMasksSize = 52;       // the first header that holds its own masks

bool DepthCanBe(unsigned bits, bool core) {
  switch (bits) {
    case 1:
    case 4:
    case 8:
    case 24:
      return true;
    case 16:
    case 32:
      return !core;
    default:
      return false;
  }
}

}  // namespace

SIZE_T PackedDibBitsOffset(const void* block, SIZE_T size) {
  if (!block || size < kCoreHeaderSize) return 0;
  const auto* bytes = static_cast<const BYTE*>(block);
  DWORD headerSize;
  std::memcpy(&headerSize, bytes, sizeof(headerSize));
  int64_t width;
  int64_t height;
  unsigned planes;
  unsigned bits;
  uint64_t tableBytes;
  if (headerSize == kCoreHeaderSize) {
    BITMAPCOREHEADER core;
    std::memcpy(&core, bytes, sizeof(core));
    width = core.bcWidth;
    height = core.bcHeight;
    planes = core.bcPlanes;
    bits = core.bcBitCount;
    if (!DepthCanBe(bits, true)) return 0;
    tableBytes = (bits <= 8 ? (uint64_t{1} << bits) : 0) * sizeof(RGBTRIPLE);
  } else if (headerSize >= kInfoHeaderSize && headerSize <= size) {
    BITMAPINFOHEADER info;
    std::memcpy(&info, bytes, sizeof(info));
    width = info.biWidth;
    height = info.biHeight < 0 ? -int64_t{info.biHeight} : int64_t{info.biHeight};
    planes = info.biPlanes;
    bits = info.biBitCount;
    if (!DepthCanBe(bits, false)) return 0;
    uint64_t colours = info.biClrUsed;
    if (bits <= 8) {
      if (colours > (uint64_t{1} << bits)) return 0;
      if (colours == 0) colours = uint64_t{1} << bits;
    }
    tableBytes = colours * sizeof(RGBQUAD);
    if (info.biCompression == BI_BITFIELDS) {
      if (bits != 16 && bits != 32) return 0;
      // The three masks follow a plain info header; longer headers hold them inside.
      if (headerSize == kInfoHeaderSize) {
        tableBytes += 3 * sizeof(DWORD);
      } else if (headerSize < kHeaderWithMasksSize) {
        return 0;
      }
    } else if (info.biCompression != BI_RGB) {
      return 0;
    }
  } else {
    return 0;
  }
  if (width <= 0 || height <= 0 || planes != 1) return 0;
  const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t bitsOffset = uint64_t{headerSize} + tableBytes;
  if (bitsOffset > size || rowBytes * static_cast<uint64_t>(height) > size - bitsOffset) return 0;
  return static_cast<SIZE_T>(bitsOffset);
}

HBITMAP BitmapFromPackedDib(const void* block, SIZE_T size) {
  const SIZE_T offset = PackedDibBitsOffset(block, size);
  if (!offset) return nullptr;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(block);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, header, CBM_INIT, static_cast<const BYTE*>(block) + offset,
                                  reinterpret_cast<const BITMAPINFO*>(header), DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

HBITMAP BitmapFromEnhMetaFile(HENHMETAFILE metafile, HDC dc) {
  ENHMETAHEADER header;
  if (!metafile || !dc || !GetEnhMetaFileHeader(metafile, sizeof(header), &header)) return nullptr;
  const LONG width = header.rclBounds.right;
  const LONG height = header.rclBounds.bottom;
  if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) return nullptr;
  // The frame is in 0.01 mm; the device's size in millimetres turns it into pixels. A
  // device that reports no size plays the picture over the whole bitmap.
  RECT place = {0, 0, width, height};
  const int64_t horzSize = GetDeviceCaps(dc, HORZSIZE);
  const int64_t vertSize = GetDeviceCaps(dc, VERTSIZE);
  if (horzSize > 0 && vertSize > 0) {
    const int64_t horzRes = GetDeviceCaps(dc, HORZRES);
    const int64_t vertRes = GetDeviceCaps(dc, VERTRES);
    place.left = static_cast<LONG>(header.rclFrame.left * horzRes / (horzSize * 100));
    place.top = static_cast<LONG>(header.rclFrame.top * vertRes / (vertSize * 100));
    place.right = static_cast<LONG>(header.rclFrame.right * horzRes / (horzSize * 100));
    place.bottom = static_cast<LONG>(header.rclFrame.bottom * vertRes / (vertSize * 100));
  }
  ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, width, height));
  ScopedMemoryDC memory(dc);
  if (!bitmap || !memory) return nullptr;
  {
    ScopedSelect select(memory.get(), bitmap.get());
    PlayEnhMetaFile(memory.get(), metafile, &place);
  }
  return bitmap.release();
}

HBITMAP BitmapFromFileList(const void* block, SIZE_T size) {
  if (!block || size < sizeof(DROPFILES)) return nullptr;
  DROPFILES list;
  std::memcpy(&list, block, sizeof(list));
  if (list.pFiles < sizeof(DROPFILES) || list.pFiles >= size) return nullptr;
  const auto* names = static_cast<const BYTE*>(block) + list.pFiles;
  const SIZE_T room = size - list.pFiles;
  wchar_t name[kLongestFileName];
  if (list.fWide) {
    const SIZE_T chars = room / sizeof(wchar_t);
    SIZE_T length = 0;
    while (length < chars && length < kLongestFileName &&
           reinterpret_cast<const wchar_t*>(names)[length] != L'\0') {
      name[length] = reinterpret_cast<const wchar_t*>(names)[length];
      ++length;
    }
    if (length == 0 || length == chars || length == kLongestFileName) return nullptr;
    name[length] = L'\0';
  } else {
    SIZE_T length = 0;
    while (length < room && names[length] != 0) ++length;
    if (length == 0 || length == room || length >= kLongestFileName) return nullptr;
    const int converted = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(names),
                                              static_cast<int>(length), name, static_cast<int>(kLongestFileName) - 1);
    if (converted <= 0) return nullptr;
    name[converted] = L'\0';
  }
  return static_cast<HBITMAP>(LoadImageW(nullptr, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE | LR_LOADFROMFILE));
}

}  // namespace TESK
