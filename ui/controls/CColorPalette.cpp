#include "ui/controls/CColorPalette.h"

#include <cwchar>
#include <cwctype>
#include <vector>

#include "ui/controls/CColorButton.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MPalette.h"
#include "ui/controls/MSpinButton.h"
#include "ui/controls/MText.h"

namespace TESK {

namespace {

constexpr UINT kPaletteId = 620;
constexpr UINT kSelectedId = 622;
constexpr UINT kFirstPresetId = 631;
constexpr UINT kFirstLabelId = 650;
constexpr UINT kFirstFieldId = 654;
constexpr UINT kHexId = 657;
constexpr COLORREF kPresetColours[] = {0x001B55, 0x23A2F9, 0x31FEFE, 0x29FF4C, 0xFEFF50, 0xFC1517, 0x7F007C, 0xFC00F7};
constexpr COLORREF kSelectedStart = 0x00E1FF;
constexpr const wchar_t* kLabelTitles[] = {L"R", L"G", L"B", L"#"};
constexpr const wchar_t* kPresetGroup = L"clr_palette_group";
constexpr const wchar_t* kSelectedGroup = L"clr_sel_group";
constexpr int kPresetStep = 25;
constexpr int kRowStep = 28;
constexpr Gdiplus::ARGB kLabelColour = 0xFE050505;
constexpr COLORREF kHexBackground = 0xDADADA;

// Rows of the labels and fields: InitControl starts them at 52, SetControlRect at 62.
CRect LabelRect(const CRect& r, int row, int top) {
  return CRect(r.left + 235, r.top + top + kRowStep * row, r.left + 255, r.top + top + 24 + kRowStep * row);
}
CRect FieldRect(const CRect& r, int row, int top) {
  return CRect(r.left + 260, r.top + top + kRowStep * row, r.left + 320, r.top + top + 24 + kRowStep * row);
}
CRect PresetRect(const CRect& r, int i) {
  return CRect(r.left + kPresetStep * i, r.top + 5, r.left + 20 + kPresetStep * i, r.top + 25);
}
CRect PaletteRect(const CRect& r) { return CRect(r.left, r.top + 27, r.left + 233, r.bottom - 4); }

// One "%x" pair of the hex text; a pair that does not read is 0.
BYTE HexPair(const wchar_t* text) {
  const wchar_t pair[3] = {text[0], text[1], L'\0'};
  unsigned value = 0;
  if (swscanf(pair, L"%x", &value) != 1) return 0;
  return static_cast<BYTE>(value);
}

}  // namespace

CColorPalette::CColorPalette(MObject* owner, UINT id, CRect rect, int visible)
    : SwatchPanel(owner, id, rect, visible),
      m_pPalette(nullptr),
      m_pSelected(nullptr),
      m_pPresets{},
      m_pFields{},
      m_pHex(nullptr),
      m_pLabels{} {}

void CColorPalette::InitControl(PaintManager* manager) {
  MPanel::InitControl(manager);
  const CRect r = m_rect;
  for (int i = 0; i < kPresets; ++i) {
    m_pPresets[i] = AddSwatch(kFirstPresetId + i, PresetRect(r, i), kPresetColours[i], kPresetGroup);
  }
  const CRect paletteRect = PaletteRect(r);
  m_pPalette = dynamic_cast<MPalette*>(CreateControl(L"MPalette", kPaletteId, paletteRect, L"", 1, 1));
  if (m_pPalette) {
    m_pPalette->SetPalletHeight(paletteRect.Height() - 2);
    m_pPalette->SetThumbImage(L"img_palette_thumb.png");
  }
  m_pSelected = AddSwatch(kSelectedId, CRect(r.left + 235, r.top + 27, r.left + 285, r.top + 102), kSelectedStart,
                          kSelectedGroup);
  if (m_pSelected) m_pSelected->SetCheck(1);
  for (int i = 0; i < kLabels; ++i) {
    m_pLabels[i] = dynamic_cast<MText*>(CreateArea(L"MText", kFirstLabelId + i, LabelRect(r, i, 52), kLabelTitles[i], 1, 1));
    if (!m_pLabels[i]) continue;
    m_pLabels[i]->SetTextColor(Gdiplus::Color(kLabelColour));
    m_pLabels[i]->SetAlignment(DT_RIGHT);
  }
  for (int i = 0; i < kFields; ++i) {
    m_pFields[i] = dynamic_cast<MSpinButton*>(CreateControl(L"MSpinButton", kFirstFieldId + i, FieldRect(r, i, 52), L"", 1, 1));
    if (!m_pFields[i]) continue;
    m_pFields[i]->SetCurValue(255);
    m_pFields[i]->SetRange(0, 255);
  }
  m_pHex = dynamic_cast<MEdit*>(CreateControl(L"MEdit", kHexId, FieldRect(r, 3, 52), L"", 1, 1));
  if (m_pHex) {
    m_pHex->SetFontWidth(12);
    m_pHex->SetEditBKColor(kHexBackground);
    m_pHex->SetLimitText(6);
    if (m_pPalette) ShowHex(m_pPalette->GetSelectColor());
  }
}

// Another layout than InitControl's: the selected swatch higher and larger, the rows lower.
void CColorPalette::SetControlRect(CRect r) {
  m_rect = r;
  for (int i = 0; i < kPresets; ++i) PlaceChild(m_pPresets[i], PresetRect(r, i));
  if (m_pPalette) {
    const CRect paletteRect = PaletteRect(r);
    m_pPalette->SetPalletHeight(paletteRect.Height() - 2);
    PlaceChild(m_pPalette, paletteRect);
  }
  PlaceChild(m_pSelected, CRect(r.left + 235, r.top + 5, r.left + 320, r.top + 57));
  for (int i = 0; i < kLabels; ++i) PlaceChild(m_pLabels[i], LabelRect(r, i, 62));
  for (int i = 0; i < kFields; ++i) PlaceChild(m_pFields[i], FieldRect(r, i, 62));
  PlaceChild(m_pHex, FieldRect(r, 3, 62));
  RepaintPanel();
}

void CColorPalette::SetControlEnabled(int enabled) {
  m_bEnabled = enabled;
  std::vector<MControl*> order = {m_pPalette, m_pFields[0], m_pFields[1], m_pFields[2], m_pHex, m_pSelected};
  order.insert(order.end(), m_pPresets, m_pPresets + kPresets);
  EnableEach(order, enabled);
}

void CColorPalette::SetTextColor(Gdiplus::Color color) {
  for (MText* label : m_pLabels) {
    if (label) label->SetTextColor(color);
  }
  for (MSpinButton* field : m_pFields) {
    if (field) field->SetTextColor(color);
  }
  if (m_pHex) m_pHex->SetTextColor(color);
}

int CColorPalette::SetImage(const wchar_t* file, int frames) {
  for (MSpinButton* field : m_pFields) {
    if (field) field->SetImage(file, frames);
  }
  if (m_pHex) m_pHex->SetImage(file, frames);
  return 1;
}

COLORREF CColorPalette::GetSelectColor() { return m_pPalette ? m_pPalette->GetSelectColor() : 0; }

void CColorPalette::SetSelectColor(COLORREF colour) {
  if (m_pPalette) m_pPalette->SetSelectColor(colour);
}

int CColorPalette::SetThumbImage(const wchar_t* file) { return m_pPalette ? m_pPalette->SetThumbImage(file) : 0; }

void CColorPalette::UpdateControlEx(int redraw) {
  UpdateControl(redraw, 0);
  std::vector<MControl*> children(m_pPresets, m_pPresets + kPresets);
  children.insert(children.end(), {m_pPalette, m_pSelected});
  children.insert(children.end(), m_pLabels, m_pLabels + kLabels);
  children.insert(children.end(), m_pFields, m_pFields + kFields);
  children.push_back(m_pHex);
  for (MControl* child : children) {
    if (child) child->UpdateControl(redraw, 0);
  }
}

void CColorPalette::SetFields(COLORREF colour) {
  const int bytes[kFields] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  for (int i = 0; i < kFields; ++i) {
    if (m_pFields[i]) m_pFields[i]->SetCurValue(bytes[i]);
  }
}

void CColorPalette::ShowHex(COLORREF colour) {
  if (!m_pHex) return;
  wchar_t text[8];
  swprintf(text, 8, L"%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  for (wchar_t* p = text; *p; ++p) *p = static_cast<wchar_t>(std::towupper(*p));
  m_pHex->SetTitle(text);
}

void CColorPalette::SetSelItemColor(COLORREF colour) {
  if (m_pSelected && m_pSelected->GetCheck()) m_pSelected->SetColor(colour);
  SendMessageW(NOTIFY_COLORCHANGED, 0, colour);
}

void CColorPalette::TakeColour(COLORREF colour, unsigned views) {
  if (views & kNumberFields) SetFields(colour);
  if ((views & kPaletteView) && m_pPalette) m_pPalette->SetSelectColor(colour);
  if (views & kHexText) ShowHex(colour);
  SetSelItemColor(colour);
}

COLORREF CColorPalette::FieldColour() const {
  BYTE bytes[kFields] = {};
  for (int i = 0; i < kFields; ++i) {
    if (m_pFields[i]) bytes[i] = static_cast<BYTE>(m_pFields[i]->GetCurValue());
  }
  return RGB(bytes[0], bytes[1], bytes[2]);
}

// Six characters, read as three "%x" pairs; the field keeps the text as typed.
LRESULT CColorPalette::OnHexTyped() {
  const CString text = m_pHex ? m_pHex->GetEditText() : CString();
  if (text.GetLength() != 6) return 0;
  const wchar_t* chars = text.GetString();
  const COLORREF colour = RGB(HexPair(chars), HexPair(chars + 2), HexPair(chars + 4));
  TakeColour(colour, kNumberFields | kPaletteView);
  return 1;
}

LRESULT CColorPalette::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (id == kPaletteId && code == NOTIFY_COLORCHANGED) {
    if (m_pPalette) TakeColour(m_pPalette->GetSelectColor(), kNumberFields | kHexText);
    return 1;
  }
  if (id >= kFirstFieldId && id < kFirstFieldId + kFields && code == NOTIFY_VALUECHANGED) {
    TakeColour(FieldColour(), kPaletteView | kHexText);
  } else if (id == kSelectedId && code == NOTIFY_PRESSED) {
    if (m_pSelected) TakeColour(m_pSelected->GetColor(), kNumberFields | kPaletteView | kHexText);
  } else if (id >= kFirstPresetId && id < kFirstPresetId + kPresets && code == NOTIFY_PRESSED) {
    CColorButton* preset = FirstCheckedSwatch(kFirstPresetId, kFirstPresetId + kPresets - 1);
    if (preset && preset->GetColor() != 0) {
      TakeColour(preset->GetColor(), kNumberFields | kPaletteView | kHexText);
    }
  } else if (id == kHexId && code == NOTIFY_TEXTCHANGED) {
    if (!OnHexTyped()) return 0;
  }
  return MPanel::OnMessage(id, code, wParam, lParam);
}

}  // namespace TESK
