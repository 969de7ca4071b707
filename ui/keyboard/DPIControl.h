// DPIControl: a sensitivity level tile of a device page: the level's picture (the control's
// strip, frame 0 unchecked, frame 1 checked) with the title above and the DPI value on it, a
// check button (id 30) at the left and a colour button (id 31) at the right, both made by the
// panel's own factory. Tiles with one group name under one owner are exclusive: a press on a
// tile checks it and unchecks the others (ButtonGroup's walk). Both looks are drawn once into
// two cells of the cached surface; a check change only shows the other cell.
//
// Notifications: a child's message reaches the owner first as (own id, the child's code, 0,
// 1 for the check button or 2 for the colour button), then unchanged. Constructed directly
// (no factory knows it); window's thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CCheckButton;
class CColorButton;

class TESK_API DPIControl : public MPanel {
public:
  DPIControl(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order.
  ~DPIControl() override;
  const wchar_t* GetClassNameW() const override;  // "DPIControl"
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;

  COLORREF GetColor() const { return m_color; }
  // Stored and given to the colour button (which repaints when its colour changed).
  void SetColor(COLORREF colour);
  int GetDPIValue() const { return m_nDPIValue; }
  void SetDPIValue(int value);
  int GetCheck() const { return m_nCheck; }
  // Shows the other cell when it changed; the group is left as it is. 1.
  int SetCheck(int check);
  CString GetGroupName() const { return m_strGroupName; }
  void SetGroupName(const wchar_t* name) { m_strGroupName = name ? name : L""; }
  // Unchecks the checked tiles of the group among the owner's controls; 0 without an owner.
  int ResetGroupCheck();
  // Unchecked by another tile's walk: the unchecked cell shows, no notification.
  void ClearByGroup();

  static constexpr UINT kCheckButtonId = 30;
  static constexpr UINT kColorButtonId = 31;

private:
  void RenderCell(Gdiplus::Graphics& g, int cell);

  CCheckButton* m_pCheckButton;
  CColorButton* m_pColorButton;
  int m_nCheck;
  int m_nDPIValue;
  COLORREF m_color;
  CString m_strGroupName;
};

}  // namespace TESK
