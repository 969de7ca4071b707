// CLogonEdit: a login-style rich edit with a floating label. While empty its tip shows large
// in the middle of the padded area; once filled the tip moves small to the top left. It has
// an optional icon at the left (MRichEdit::SetIconImage) and a grey underline, one cell for
// every state, and ignores pointer moves. Constructed directly (no factory name); window's
// thread only.
#pragma once

#include <windows.h>

#include "ui/controls/MRichEdit.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API CLogonEdit : public MRichEdit {
public:
  CLogonEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int other);

  void DrawControl(HDC& dc, CRect update) override;
  void SetControlRect(CRect rect) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;

private:
  void DrawLabel(Gdiplus::Graphics& g, int w, int h);
};

}  // namespace TESK
