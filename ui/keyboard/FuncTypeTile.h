// The tiles KeyFuncType and KeyFuncValue share: their flow and their look (the caption is each
// list's own). Window thread only.
#pragma once

#include <memory>
#include <vector>

#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/keyboard/FuncItemList.h"

namespace TESK {

// Places the tiles (w x h) left to right from (0, -offset): after each tile x grows by
// w + gapX, and once x reaches width - w the next tile starts a row h + gapY lower.
void PlaceFuncTiles(const std::vector<std::unique_ptr<FUNC_TYPE_ITEM>>& items, int width, int w, int h, int gapX,
                    int gapY, int offset);
// Where a tile's caption goes.
enum class FuncCaption {
  Band,   // a 20-px band whose top is 25 px above the tile's bottom (under the picture)
  Whole,  // the whole tile
};

// The tiles at their rectangles: each a rounded rectangle framed 1 px, in the down colour over
// the normal fill when selected, all in the hover colour when hovered, all normal otherwise;
// its picture at its own size, centred across, 5 px below the top; its caption centred in the
// control's face at 12 px, its style and text colour, with the graphics' text hint.
void DrawFuncTiles(Gdiplus::Graphics& g, MControlFont& control, const std::vector<std::unique_ptr<FUNC_TYPE_ITEM>>& items,
                   int select, int hover, FuncCaption caption);

}  // namespace TESK
