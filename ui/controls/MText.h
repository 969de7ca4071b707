// MText: the library's static text. It shows its title on one line or wrapped over several,
// optionally after the first frame of its image strip as an icon, with a shadow, on a filled
// background, and can show one marked substring in a colour of its own. It is created
// disabled, so it takes no click or wheel: those reach what lies below it. Sends no
// notifications; a child with id 1 reporting a change makes it draw itself anew. Created by
// both factories and owned by its container; window thread only.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MControlFont.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API MText : public MControlFont {
public:
  MText(MObject* owner, UINT id, CRect rect, const wchar_t* text, int visible);

  // Overrides in their base slot order.
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;

  // The setters re-render only when something they store changes. A null text or mark is
  // refused with nothing changed, except that a null mark given with a new text stores the
  // text and an empty mark.
  void SetMarkText(const wchar_t* mark);
  void SetMarkText(const wchar_t* mark, Gdiplus::Color colour, int start);
  void SetMarkText(const wchar_t* text, const wchar_t* mark, Gdiplus::Color colour, int start);
  void SetTitleMarkText(const wchar_t* text, const wchar_t* mark, int unused);
  // A change of the flag stores flag and colour (the same flag keeps the old colour); the
  // text is re-rendered either way.
  void EnableTextBack(int on, Gdiplus::Color colour);
  // Stored for the next rendering; no repaint.
  void EnableMultiLine(int on) { m_bMultiLine = on; }
  void EnableShadow(int on) { m_bShadow = on; }
  void EnableVCenter(int on) { m_bVCenter = on; }
  int GetVirtualHeight() const { return 0; }

  // Where the mark is drawn in text: its first occurrence at or after start (exact and
  // case-sensitive); -1 for an empty mark, no occurrence, or a start outside 0..length.
  static int MarkPosition(const CString& text, const CString& mark, int start);

private:
  // Stores text (when given) and mark with colour and start, and re-renders.
  void StoreMark(const wchar_t* text, const wchar_t* mark, Gdiplus::ARGB colour, int start);
  void RenderText(Gdiplus::Graphics& g, int w, int h);

  CString m_strMark;
  Gdiplus::ARGB m_markColor;
  int m_nMarkStart;
  int m_bShadow;
  Gdiplus::ARGB m_shadowColor;
  int m_bTextBack;
  Gdiplus::ARGB m_textBackColor;
  int m_bMultiLine;
  int m_bVCenter;
};

}  // namespace TESK
