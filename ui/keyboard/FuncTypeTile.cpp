#include "ui/keyboard/FuncTypeTile.h"

#include "ui/core/MRender.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

constexpr float kTileRadius = 6.0f;
constexpr int kPictureTop = 5;
constexpr float kCaptionSize = 12.0f;
constexpr int kCaptionRise = 25;
constexpr float kCaptionHeight = 20.0f;

}  // namespace

void PlaceFuncTiles(const std::vector<std::unique_ptr<FUNC_TYPE_ITEM>>& items, int width, int w, int h, int gapX,
                    int gapY, int offset) {
  int x = 0, y = -offset;
  for (const auto& item : items) {
    item->rect = CRect(x, y, x + w, y + h);
    x += w + gapX;
    if (x >= width - w) {
      x = 0;
      y += h + gapY;
    }
  }
}

void DrawFuncTiles(Gdiplus::Graphics& g, MControlFont& control, const std::vector<std::unique_ptr<FUNC_TYPE_ITEM>>& items,
                   int select, int hover, FuncCaption caption) {
  FallbackFontFamily fallback;
  const Gdiplus::Font font(fallback.Or(control.GetFontFamily(control.GetTextFont())), kCaptionSize,
                           control.GetFontStyle(), Gdiplus::UnitPixel);
  Gdiplus::StringFormat format;
  MControlFont::SetFormatAlignment(format, DT_CENTER, DT_VCENTER);
  const Gdiplus::SolidBrush text{Gdiplus::Color(control.GetTextColor())};
  for (size_t i = 0; i < items.size(); ++i) {
    const FUNC_TYPE_ITEM& item = *items[i];
    const bool selected = static_cast<int>(i) == select, hovered = static_cast<int>(i) == hover;
    const Gdiplus::ARGB frame = selected ? Manager::m_down_color : hovered ? Manager::m_hover_color : Manager::m_normal_color;
    const Gdiplus::ARGB fill = hovered && !selected ? Manager::m_hover_color : Manager::m_normal_color;
    const CRect& r = item.rect;
    MRender::DrawRoundRectange(g, static_cast<float>(r.left), static_cast<float>(r.top),
                               static_cast<float>(r.Width()), static_cast<float>(r.Height()), kTileRadius,
                               Gdiplus::Color(frame), 1.0f, Gdiplus::Color(fill));
    if (item.picture.image) {
      g.DrawImage(item.picture.image.get(), r.left + (r.Width() - item.picture.width) / 2, r.top + kPictureTop,
                  item.picture.width, item.picture.height);
    }
    if (item.caption.IsEmpty() || !font.IsAvailable()) continue;
    const Gdiplus::RectF box =
        caption == FuncCaption::Band
            ? Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.bottom - kCaptionRise),
                             static_cast<float>(r.Width()), kCaptionHeight)
            : Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
                             static_cast<float>(r.Height()));
    g.DrawString(item.caption, item.caption.GetLength(), &font, box, &format, &text);
  }
}

}  // namespace TESK
