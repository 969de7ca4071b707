#include "ui/keyboard/KeyMenuFuncType.h"

#include <algorithm>
#include <iterator>

#include "ui/controls/SurfaceCell.h"
#include "ui/core/MRender.h"

namespace TESK {

namespace {

constexpr Gdiplus::ARGB kPlate = 0xFF393B50;
constexpr float kPlateRadius = 12.0f;
constexpr int kPlateRightMargin = 5;
constexpr int kPlateHeight = 68;
constexpr int kTextLeft = 25;
constexpr int kCaptionTop = 20, kCaptionWidth = 200, kDescriptionTop = 50, kTextHeight = 20;
constexpr int kDescriptionRightMargin = 10;
constexpr float kCaptionSize = 20.0f, kDescriptionSize = 14.0f;
constexpr Gdiplus::ARGB kDescription = 0xFFA3ACB9;
// Caption colours of the first rows; every later row takes the last.
constexpr Gdiplus::ARGB kCaptionColours[] = {0xFF72A4F0, 0xFFFFB763, 0xFF00CF3B, 0xFFF1F1F1};

}  // namespace

KeyMenuFuncType::KeyMenuFuncType(MObject* owner, UINT id, CRect rect, int visible, int)
    : FuncItemList(FuncListReport::HoveredData, owner, id, rect, L"", visible, 1, 1), m_nRowHeight(70) {}

void KeyMenuFuncType::AddItem(CString caption, CString description, int data, CString pictureFile) {
  std::unique_ptr<MENU_FUNC_ITEM> item = NewItem(caption, data, pictureFile);
  item->description = description;
  Append(std::move(item));
}

void KeyMenuFuncType::SetControlRect(CRect rect) { m_rect = rect; }

void KeyMenuFuncType::DrawControl(HDC& dc, CRect) {
  DrawSurfaceCell(*this, dc, m_hCacheDC, [this](Gdiplus::Graphics& g, int, int) { RenderRows(g); });
}

void KeyMenuFuncType::RenderRows(Gdiplus::Graphics& g) {
  g.SetTextRenderingHint(m_textRenderingHint);
  const int width = m_rect.Width();
  FallbackFontFamily fallback;
  const Gdiplus::FontFamily* family = fallback.Or(GetFontFamily(m_strFontName));
  const Gdiplus::Font captionFont(family, kCaptionSize, m_nFontStyle, Gdiplus::UnitPixel);
  const Gdiplus::Font descriptionFont(family, kDescriptionSize, m_nFontStyle, Gdiplus::UnitPixel);
  Gdiplus::StringFormat format(Gdiplus::StringFormatFlagsNoWrap);
  SetFormatAlignment(format, DT_LEFT, DT_VCENTER);
  const Gdiplus::SolidBrush descriptionBrush{Gdiplus::Color(kDescription)};
  const auto write = [&](const CString& s, const Gdiplus::Font& font, const Gdiplus::RectF& box,
                         const Gdiplus::Brush& brush) {
    if (!s.IsEmpty() && font.IsAvailable()) g.DrawString(s, s.GetLength(), &font, box, &format, &brush);
  };

  CriticalSectionLock lock(m_itemLock);
  for (size_t i = 0; i < m_items.size(); ++i) {
    MENU_FUNC_ITEM& row = *m_items[i];
    const int top = static_cast<int>(i) * m_nRowHeight;
    row.rect = CRect(0, top, width, top + m_nRowHeight);
    if (static_cast<int>(i) == m_pointer.select || static_cast<int>(i) == m_pointer.hover) {
      MRender::DrawRoundRectange(g, 0, static_cast<float>(top), static_cast<float>(width - kPlateRightMargin),
                                 kPlateHeight, kPlateRadius, Gdiplus::Color(kPlate), 1.0f, Gdiplus::Color(kPlate));
    }
    const size_t colour = std::min(i, std::size(kCaptionColours) - 1);
    const Gdiplus::SolidBrush captionBrush{Gdiplus::Color(kCaptionColours[colour])};
    write(row.caption, captionFont,
          Gdiplus::RectF(kTextLeft, static_cast<float>(top + kCaptionTop), kCaptionWidth, kTextHeight), captionBrush);
    write(row.description, descriptionFont,
          Gdiplus::RectF(kTextLeft, static_cast<float>(top + kDescriptionTop),
                         static_cast<float>(width - kDescriptionRightMargin), kTextHeight),
          descriptionBrush);
  }
}

}  // namespace TESK
