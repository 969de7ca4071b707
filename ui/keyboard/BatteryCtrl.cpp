#include "ui/keyboard/BatteryCtrl.h"

#include <algorithm>


namespace TESK {

namespace {

constexpr int kFontSize = 14;
constexpr int kChargingGap = 5;
constexpr int kFullLevel = 100;

}  // namespace

BatteryCtrl::BatteryCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled)
    : MControlFont(owner, id, rect, L"", visible, enabled, 1), m_nLevel(100), m_bCharging(0), m_nChargingLevel(0) {
  m_bRunTimer = 1;
  m_bRunning = 1;
  m_nFontWidth = kFontSize;
}

BatteryCtrl::~BatteryCtrl() = default;

// The gauge has no tick work of its own; it joins the window's ticks as the other gauges do.
void BatteryCtrl::InitControl(PaintManager* manager) {
  MControlFont::InitControl(manager);
  AddMTimer();
}

int BatteryCtrl::SetImage(const wchar_t* file, int) {
  m_battery.Load(file ? CString(file) : CString());
  return m_battery.image ? 1 : 0;
}

int BatteryCtrl::SetBatteryIcon(const wchar_t* level, const wchar_t* charging) {
  m_levelPicture.Load(level ? CString(level) : CString());
  m_chargingPicture.Load(charging ? CString(charging) : CString());
  return 1;
}

void BatteryCtrl::SetBatteryInfo(int level, int charging) {
  if (level == m_nLevel && charging == m_bCharging) return;
  m_nLevel = level;
  m_bCharging = charging;
  RepaintIfVisible();
}

void BatteryCtrl::DrawControl(HDC& dc, CRect) {
  if (!GetUpdate()) {
    if (!PrepareCells(dc, 1)) return;
    Gdiplus::Graphics g(m_hCacheDC);
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    if (Gdiplus::Image* battery = m_battery.image.get()) {
      g.DrawImage(battery, 0, 0, m_battery.width, m_battery.height);
    }
    if (Gdiplus::Image* bar = m_levelPicture.image.get()) {
      // A level outside 0 ... 100 would cut the picture beyond its own ends.
      const int level = std::max(0, std::min(kFullLevel, m_bCharging ? m_nChargingLevel : m_nLevel));
      const int width = level * m_levelPicture.width / kFullLevel;
      if (width > 0) {
        g.DrawImage(bar, Gdiplus::Rect(0, 0, width, m_levelPicture.height), 0, 0, width, m_levelPicture.height,
                    Gdiplus::UnitPixel);
      }
    }
    if (m_bCharging) {
      if (Gdiplus::Image* charging = m_chargingPicture.image.get()) {
        g.DrawImage(charging, m_battery.width + kChargingGap, (m_rect.Height() - m_chargingPicture.height) / 2,
                    m_chargingPicture.width, m_chargingPicture.height);
      }
    } else if (m_nLevel != 0) {
      CString text;
      text.Format(L"%d%%", m_nLevel);
      SetControlTitle(text);
      DrawTitleText(g, m_strTitle,
                    Gdiplus::RectF(0, 0, static_cast<float>(m_battery.width), static_cast<float>(m_rect.Height())),
                    Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces,
                    Gdiplus::TextRenderingHintAntiAlias, DT_CENTER, DT_VCENTER, m_textColor);
    }
  }
  ShowCell(dc, 0);
}

}  // namespace TESK
