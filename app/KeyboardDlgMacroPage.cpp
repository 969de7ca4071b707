// The main window's macro page: the macro list, the macro's settings (play count and delay
// mode), the record and stop buttons, the event list with its buttons and the event editor.
// BuildMacroPage creates the controls in their order on page panel 72 with their looks and
// start states; LayoutMacroPage gives them their rectangles from the client size. Controls
// without a layout row stay empty: the page never shows them.
#include "app/KeyboardDlg.h"

#include <initializer_list>
#include <utility>

#include "app/MainWindowBuild.h"
#include "ui/controls/CImageButton.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MComboBox.h"
#include "ui/controls/MEdit.h"
#include "ui/controls/MImageButton.h"
#include "ui/controls/MListBox.h"
#include "ui/controls/MTabLayout.h"
#include "ui/controls/MText.h"
#include "ui/keyboard/CRecordList.h"

using namespace TESK;
using namespace mainwindow;

namespace {

constexpr Gdiplus::ARGB kPageFill = 0xFF24252A;
constexpr Gdiplus::ARGB kBoxFill = 0xFF383A4F;
constexpr Gdiplus::ARGB kGreyText = 0xFF808788;
constexpr COLORREF kEditBackground = 0x897368;
constexpr int kCentre = 1;

// The rectangles, in the order LayoutMacroPage sets them: the list's rows, the settings frame,
// the settings' and event list's rows, the editor's frame, the editor's rows. The two frames
// share id 210 and are placed through their members.
const PlaceRow kMacroListPlaces[] = {
    {202, [](int W, int H, MControl*) { return CRect(180, 70, W - 10, H - 10); }},
    {212, [](int, int, MControl*) { return CRect(190, 100, 370, 130); }},
    {209, [](int, int, MControl*) { return CRect(190, 140, 470, 360); }},
    {213, [](int, int, MControl*) { return CRect(195, 145, 460, 355); }},
    {256, [](int, int, MControl*) { return CRect(190, 390, 390, 420); }},
};
const PlaceRow kMacroSettingsPlaces[] = {
    {236, [](int, int, MControl*) { return CRect(230, 450, 330, 480); }},
    {235, [](int, int, MControl*) { return CRect(330, 450, 410, 480); }},
    {237, [](int, int, MControl*) { return CRect(200, 490, 450, 520); }},
    {238, [](int, int, MControl*) { return CRect(200, 530, 450, 560); }},
    {239, [](int, int, MControl*) { return CRect(200, 570, 330, 600); }},
    {240, [](int, int, MControl*) { return CRect(355, 570, 420, 600); }},
    {241, [](int, int, MControl*) { return CRect(420, 570, 510, 600); }},
    {242, [](int, int H, MControl*) { return CRect(190, H - 130, 470, H - 70); }},
    {243, [](int, int H, MControl*) { return CRect(190, H - 130, 470, H - 70); }},
    {245, [](int, int, MControl*) { return CRect(490, 100, 650, 130); }},
    {244, [](int, int H, MControl*) { return CRect(490, 140, 860, H - 70); }},
    {250, [](int, int, MControl*) { return CRect(490, 140, 860, 740); }},
    {253, [](int, int, MControl*) { return CRect(490, 140, 610, 170); }},
    {252, [](int, int, MControl*) { return CRect(610, 140, 730, 170); }},
    {251, [](int, int, MControl*) { return CRect(730, 140, 850, 170); }},
    {254, [](int, int, MControl*) { return CRect(490, 170, 860, 740); }},
    {214, [](int, int, MControl*) { return CRect(880, 100, 1140, 130); }},
};
const PlaceRow kMacroEditorPlaces[] = {
    {215, [](int, int, MControl*) { return CRect(910, 160, 980, 190); }},
    {219, [](int, int, MControl*) { return CRect(930, 220, 1180, 250); }},
    {220, [](int, int, MControl*) { return CRect(930, 270, 1180, 300); }},
    {216, [](int, int, MControl*) { return CRect(910, 350, 980, 380); }},
    {221, [](int, int, MControl*) { return CRect(930, 410, 1180, 440); }},
    {222, [](int, int, MControl*) { return CRect(930, 460, 1180, 490); }},
    {217, [](int, int, MControl*) { return CRect(910, 540, 980, 570); }},
    // The key field, the delay field and the mouse combo share one place; one shows at a time.
    {224, [](int, int, MControl*) { return CRect(915, 580, 1205, 620); }},
    {225, [](int, int, MControl*) { return CRect(915, 580, 1205, 620); }},
    {226, [](int, int, MControl*) { return CRect(915, 580, 1205, 620); }},
    {227, [](int, int, MControl*) { return CRect(1030, 640, 1110, 670); }},
    {255, [](int W, int H, MControl*) { return CRect(W - 130, H - 110, W - 30, H - 80); }},
    {247, [](int, int, MControl*) { return CRect(840, 110, 870, 140); }},
    {246, [](int, int, MControl*) { return CRect(810, 110, 840, 140); }},
    {248, [](int, int, MControl*) { return CRect(780, 110, 810, 140); }},
    {249, [](int, int, MControl*) { return CRect(750, 110, 780, 140); }},
};

struct TextLook {
  Gdiplus::ARGB colour;
  const wchar_t* family;  // null: the library's family at this size and style
  int size;
  int style;
};
constexpr TextLook kTitleLook = {kWhite, kBold, 16, kBoldStyle};
constexpr TextLook kRegularLook = {kWhite, kRegular, 16, 0};
constexpr TextLook kHeaderLook = {kWhite, kMedium, 16, 0};

MText* PageText(MTabLayout* page, UINT id, int textId, const TextLook& look) {
  MText* text = NewArea<MText>(page, L"MText", id, Text(textId));
  SetTextLook(text, look.colour, look.family, look.size, look.style);
  return text;
}

CRoundArea* Box(MTabLayout* page, UINT id, bool framed) {
  auto* area = NewArea<CRoundArea>(page, L"CRoundArea", id);
  if (!area) return nullptr;
  area->SetColor(Gdiplus::Color(kBoxFill));
  area->SetRound(1);
  if (framed) area->SetFrame(1, Gdiplus::Color(kBoxFill), 0);
  return area;
}

template <class T>
T* WithImage(T* control, const wchar_t* image, int frames, int tooltipText = 0) {
  if (!control) return nullptr;
  control->SetImage(image, frames);
  if (tooltipText) control->SetTooltip(Text(tooltipText));
  return control;
}

MButton* TextButton(MTabLayout* page, UINT id, int titleText, const wchar_t* image, bool boldTitle) {
  auto* button = WithImage(NewControl<MButton>(page, L"MButton", id, Text(titleText)), image, 4);
  if (!button) return nullptr;
  if (boldTitle) {
    SetTextLook(button, kWhite, kBold, 16, kBoldStyle);
  } else {
    button->SetTextColor(Gdiplus::Color(kWhite));
  }
  return button;
}

// A combo of "img_combobox.png" in the colour, its items' language texts with their data,
// the first item selected.
MComboBox* Combo(MTabLayout* page, UINT id, Gdiplus::ARGB colour, std::initializer_list<std::pair<int, long>> items) {
  auto* combo = WithImage(NewControl<MComboBox>(page, L"MComboBox", id), L"img_combobox.png", 4);
  if (!combo) return nullptr;
  combo->SetTextColor(Gdiplus::Color(colour));
  for (const auto& item : items) combo->AddItem(Text(item.first), item.second, nullptr, Gdiplus::Color(colour));
  combo->SetCurSel(0);
  return combo;
}

CRadioButton* Radio(MTabLayout* page, UINT id, int titleText, const wchar_t* group, bool checked,
                    bool regularFont = true) {
  auto* radio =
      WithImage(NewControl<CRadioButton>(page, L"CRadioButton", id, Text(titleText)), L"btn_radiobox.png", 8);
  if (!radio) return nullptr;
  if (regularFont) {
    SetTextLook(radio, kWhite, kRegular, 16, 0);
  } else {
    radio->SetTextColor(Gdiplus::Color(kWhite));
  }
  radio->SetGroupName(group);
  if (checked) radio->SetCheck(1);
  return radio;
}

// An edit field of "img_edit.png" with white text on the page's edit background, created
// with an empty title and then given its start text.
MEdit* Field(MTabLayout* page, UINT id, const wchar_t* start, bool digitsOnly, int limit) {
  auto* edit = WithImage(NewControl<MEdit>(page, L"MEdit", id, L""), L"img_edit.png", 4);
  if (!edit) return nullptr;
  edit->SetTextColor(Gdiplus::Color(kWhite));
  edit->SetEditBKColor(kEditBackground);
  if (digitsOnly) edit->SetNumberOnly(1);
  if (limit > 0) edit->SetLimitText(limit);
  if (start && *start) edit->SetControlTitle(start);
  return edit;
}

template <class T>
T* Hidden(T* control) {
  if (control) control->SetVisible(0);
  return control;
}

}  // namespace

void KeyboardDlg::BuildMacroPage() {
  MTabLayout* page = m_pageMacro;
  if (!page) return;
  m_areaMacro = NewArea<CRoundArea>(page, L"CRoundArea", 202);
  if (m_areaMacro) m_areaMacro->SetColor(Gdiplus::Color(kPageFill));
  m_textMacroProfile = PageText(page, 204, 100, {kGreyText, kMedium, 14, 0});
  m_comboProfileMacro = Combo(page, 205, kGreyText, {});
  if (m_comboProfileMacro) {
    SetTextLook(m_comboProfileMacro, kGreyText, kRegular, 14, 0);
    m_comboProfileMacro->SetShowEdit(1);
  }
  m_btnMacroProfileMenu =
      WithImage(NewControl<MImageButton>(page, L"MImageButton", 206), L"icon_btn_moreprofile.png", 1, 38);
  m_btnMacroProfileExport =
      WithImage(NewControl<MImageButton>(page, L"MImageButton", 208), L"icon_btn_export.png", 1, 106);
  m_btnMacroProfileImport =
      WithImage(NewControl<MImageButton>(page, L"MImageButton", 207), L"icon_btn_import.png", 1, 107);

  m_areaMacroList = Box(page, 209, true);
  m_textMacroListTitle = PageText(page, 212, 300, kTitleLook);
  m_macroList = WithImage(NewControl<MListBox>(page, L"MListBox", 213), L"img_edit.png", 4);
  if (m_macroList) {
    SetTextLook(m_macroList, kWhite, kMedium, 16, 0);
    m_macroList->EnableShowEdit(0);
  }
  m_areaMacroSettings = Box(page, 210, false);
  m_areaEventEditor = Box(page, 210, false);
  m_textEventEditorTitle = PageText(page, 214, 301, kTitleLook);
  m_textInsertPos = PageText(page, 215, 298, kTitleLook);
  m_textEventType = PageText(page, 216, 297, kTitleLook);
  m_textEventValue = PageText(page, 217, 296, kTitleLook);
  m_comboInsertPos = Combo(page, 218, kWhite, {{302, 0}, {303, 0}});
  m_radioInsertAtCursor = Radio(page, 219, 302, L"CURSOR", true);
  m_radioInsertAtEnd = Radio(page, 220, 303, L"CURSOR", false);
  m_radioEventKey = Radio(page, 221, 304, L"MACRO_EVENT", true);
  m_radioEventMouse = Radio(page, 222, 305, L"MACRO_EVENT", false);
  m_radioEventDelay = Radio(page, 223, 306, L"MACRO_EVENT", false, false);
  m_editEventKey = Field(page, 224, nullptr, false, 60);
  if (m_editEventKey) {
    m_editEventKey->SetFontWidth(20);
    m_editEventKey->EnableCharMessage(0);
  }
  m_comboEventMouse = Combo(page, 226, kWhite, {{307, 1}, {308, 2}, {309, 3}});
  m_editEventDelay = Field(page, 225, nullptr, true, 4);
  if (m_editEventDelay) m_editEventDelay->SetFontWidth(20);
  m_btnInsertEvent = TextButton(page, 227, 310, L"button.png", true);
  m_btnNewMacro = TextButton(page, 228, 311, L"btn_apply.png", false);
  m_btnDeleteMacro = TextButton(page, 229, 312, L"btn_apply.png", false);
  m_btnRenameMacro = TextButton(page, 230, 31, L"btn_apply.png", false);
  m_btnExportMacro = WithImage(NewControl<MImageButton>(page, L"MImageButton", 232), L"icon_btn_export.png", 1, 27);
  m_btnImportMacro = WithImage(NewControl<MImageButton>(page, L"MImageButton", 231), L"icon_btn_import.png", 1, 26);
  m_btnEditMacroName = TextButton(page, 233, 33, L"btn_apply.png", false);
  m_textMacroHint = PageText(page, 234, 342, {kWhite, nullptr, 14, 0});
  if (m_textMacroHint) m_textMacroHint->EnableMultiLine(1);

  m_textMacroSettingsTitle = PageText(page, 256, 299, kTitleLook);
  m_textPlayTimes = PageText(page, 236, 316, kRegularLook);
  m_editPlayTimes = Field(page, 235, L"1", true, 2);
  m_radioDelayRecorded = Radio(page, 237, 317, L"DELAY_TIME", true);
  m_radioDelayNone = Radio(page, 238, 318, L"DELAY_TIME", false);
  m_radioDelayFixed = Radio(page, 239, 319, L"DELAY_TIME", false);
  m_editFixedDelay = Field(page, 240, L"10", true, 0);
  SetTextLook(m_editFixedDelay, kWhite, kRegular, 16, 0);
  m_textDelayUnit = PageText(page, 241, 320, kRegularLook);
  m_btnRecordStart = TextButton(page, 242, 321, L"button.png", true);
  m_btnRecordStop = Hidden(TextButton(page, 243, 322, L"button.png", true));

  m_textEventListTitle = PageText(page, 245, 323, kTitleLook);
  m_btnEventUp = WithImage(NewControl<CImageButton>(page, L"CImageButton", 246), L"btn_record_up.png", 4, 326);
  m_btnEventDown = WithImage(NewControl<CImageButton>(page, L"CImageButton", 247), L"btn_record_down.png", 4, 327);
  m_btnEventDelete = WithImage(NewControl<CImageButton>(page, L"CImageButton", 248), L"btn_record_del.png", 4, 312);
  m_btnEventClear = WithImage(NewControl<CImageButton>(page, L"CImageButton", 249), L"btn_record_clear.png", 4, 324);
  m_areaEventList = Box(page, 244, true);
  m_areaEventListInner = Box(page, 250, false);
  m_textEventHeader3 = PageText(page, 251, 335, kHeaderLook);
  m_textEventHeader2 = PageText(page, 252, 336, kHeaderLook);
  m_textEventHeader1 = PageText(page, 253, 337, kHeaderLook);
  for (MText* header : {m_textEventHeader3, m_textEventHeader2, m_textEventHeader1}) {
    if (header) header->SetAlignment(kCentre);
  }
  m_recordList = NewControl<CRecordList>(page, L"CRecordList", 254);
  SetTextLook(m_recordList, kWhite, kMedium, 16, 0);
  m_btnSaveMacro = TextButton(page, 255, 329, L"button.png", true);
}

void KeyboardDlg::LayoutMacroPage(CRect client) {
  const int W = client.right, H = client.bottom;
  PlaceControls(*this, kMacroListPlaces, W, H);
  if (m_areaMacroSettings) m_areaMacroSettings->SetRect(CRect(190, 430, 470, 650));
  PlaceControls(*this, kMacroSettingsPlaces, W, H);
  if (m_areaEventEditor) m_areaEventEditor->SetRect(CRect(880, 140, W - 20, H - 70));
  PlaceControls(*this, kMacroEditorPlaces, W, H);
}
