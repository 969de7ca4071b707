// The look of a key tile shared by the key page's pickers (KeyFuncControl, KeyValueList): a
// rounded square with a 2-pixel outline, orange while it is hovered, selected or marked and
// grey otherwise, filled with a colour of alpha 0 so that the window shows inside.
#pragma once

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MRender.h"

namespace TESK {

constexpr Gdiplus::ARGB kKeyTileOutline = 0xFF646464;
constexpr Gdiplus::ARGB kKeyTileHighlightOutline = 0xFFDC4F2E;
constexpr Gdiplus::ARGB kKeyTileFill = 0x00E8E8E8;
constexpr float kKeyTileOutlineWidth = 2.0f;

inline void DrawKeyTile(Gdiplus::Graphics& g, float x, float y, float w, float h, float radius, bool highlighted) {
  MRender::DrawRoundRectange(g, x, y, w, h, radius,
                             Gdiplus::Color(highlighted ? kKeyTileHighlightOutline : kKeyTileOutline),
                             kKeyTileOutlineWidth, Gdiplus::Color(kKeyTileFill));
}

}  // namespace TESK
