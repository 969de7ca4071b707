// CColorPalette: a composite colour picker that keeps five views of one colour: eight preset
// swatches (631..638), the HSL palette (620), a large swatch of the selected colour (622), red,
// green and blue number fields (654..656, labelled by the areas 650..652) and a six-digit hex
// field (657, labelled 653). The colour lives in the palette; a change made in any view brings
// the others into step and reports (own id, NOTIFY_COLORCHANGED, 0, colour) to the owner, then
// passes the child's own notification on. A drag in the palette's field reaches the others
// only at the next press or bar drag. The children are made by InitControl; the panel owns
// them. Created by the factories; UI thread only.
#pragma once

#include <windows.h>

#include "ui/controls/SwatchPanel.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class CColorButton;
class MEdit;
class MPalette;
class MSpinButton;
class MText;

class TESK_API CColorPalette : public SwatchPanel {
public:
  CColorPalette(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides in their base slot order (the mouse and wheel handlers are SwatchPanel's).
  void InitControl(PaintManager* manager) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;
  void SetTextColor(Gdiplus::Color color) override;
  // Every number field and the hex field take the face strip; 1.
  int SetImage(const wchar_t* file, int frames) override;

  // The palette's colour; 0 before InitControl.
  COLORREF GetSelectColor();
  // The palette only: the other views keep what they show, nothing is reported.
  void SetSelectColor(COLORREF colour);
  int SetThumbImage(const wchar_t* file);
  // The panel and then every visible child ask for a repaint.
  void UpdateControlEx(int redraw);

private:
  static constexpr int kPresets = 8;
  static constexpr int kFields = 3;
  static constexpr int kLabels = 4;

  // Which views a change brings into step, beside the selected swatch and the report.
  enum Views : unsigned { kNumberFields = 1, kPaletteView = 2, kHexText = 4 };
  void TakeColour(COLORREF colour, unsigned views);
  void SetFields(COLORREF colour);
  void ShowHex(COLORREF colour);
  // The selected swatch shows colour when checked; the owner hears of it in every case.
  void SetSelItemColor(COLORREF colour);
  LRESULT OnHexTyped();
  COLORREF FieldColour() const;

  MPalette* m_pPalette;
  CColorButton* m_pSelected;
  CColorButton* m_pPresets[kPresets];
  MSpinButton* m_pFields[kFields];
  MEdit* m_pHex;
  MText* m_pLabels[kLabels];
};

}  // namespace TESK
