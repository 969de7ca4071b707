// Pictures made from dropped data. Dropped data comes from any application, so each
// function checks what it is given against the size of its memory block before it reads:
// a bad block gives no bitmap and is never read past its end. Every bitmap returned
// belongs to the caller.
#pragma once

#include <windows.h>

#include "ui/core/TeskApi.h"

namespace TESK {

// Where the pixel rows of a packed DIB (header, colour table, rows) of size bytes begin;
// 0 when the block is not a DIB this library can read: header size not 12 or at least 40,
// bad width, height, planes or bit count, a colour count beyond the depth, compression
// other than BI_RGB or BI_BITFIELDS (16 and 32 bits, masks present), or header + table +
// rows larger than the block.
TESK_API SIZE_T PackedDibBitsOffset(const void* block, SIZE_T size);

// A device-dependent bitmap of the packed DIB, or null.
TESK_API HBITMAP BitmapFromPackedDib(const void* block, SIZE_T size);

// The enhanced metafile played into a bitmap compatible with dc, sized by the metafile's
// bounds; null for bounds that are empty, negative or over 16384 pixels a side.
TESK_API HBITMAP BitmapFromEnhMetaFile(HENHMETAFILE metafile, HDC dc);

// The first file of a dropped file list (a DROPFILES block of size bytes) loaded as a
// bitmap file; null for a malformed list, no file, or a file that is not a bitmap.
TESK_API HBITMAP BitmapFromFileList(const void* block, SIZE_T size);

}  // namespace TESK
