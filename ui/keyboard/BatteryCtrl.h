// BatteryCtrl: a battery gauge: the battery picture, over it the level picture cut to the
// level's share of its width, and either the level as "N%" centred on the battery or, while
// charging, the charging picture beside it. The three pictures are the control's own, loaded
// from the skin folder; a missing one is not drawn. Levels outside 0 ... 100 cut the level
// picture at its ends. Made by both factories ("BatteryCtrl"); window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/ItemPicture.h"

namespace TESK {

class TESK_API BatteryCtrl : public MControlFont {
public:
  BatteryCtrl(MObject* owner, UINT id, CRect rect, int visible, int enabled);

  // Overrides in their base slot order.
  ~BatteryCtrl() override;
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  // The battery picture (skin folder); frames is not used. 0 when it does not load.
  int SetImage(const wchar_t* file, int frames) override;
  using MControlFont::SetImage;

  // The level and charging pictures (skin folder). 1.
  int SetBatteryIcon(const wchar_t* level, const wchar_t* charging);
  // Repaints when either changed.
  void SetBatteryInfo(int level, int charging);
  int GetLevel() const { return m_nLevel; }
  int IsCharging() const { return m_bCharging; }

private:
  ItemPicture m_battery;
  ItemPicture m_levelPicture;
  ItemPicture m_chargingPicture;
  int m_nLevel;
  int m_bCharging;
  int m_nChargingLevel;
};

}  // namespace TESK
