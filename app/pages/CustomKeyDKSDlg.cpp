#include "app/pages/CustomKeyDKSDlg.h"

#include <iterator>

#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/UIMessageBox.h"
#include "app/pages/AdvancedKeyValues.h"
#include "app/pages/KeyCodeMap.h"
#include "app/pages/KeyFunctionCatalogue.h"
#include "app/pages/KeyValueListFill.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/CRadioButton.h"
#include "ui/controls/CSwitchButton.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MSlider.h"
#include "ui/controls/MText.h"
#include "ui/core/CIDropTarget.h"
#include "ui/keyboard/KeyDKSCtrl.h"
#include "ui/keyboard/KeyFuncControl2.h"
#include "ui/keyboard/KeyMTCtrl.h"
#include "ui/keyboard/KeySOCDCtrl.h"
#include "ui/keyboard/KeyTypeTab.h"
#include "ui/keyboard/KeyValueList.h"

using namespace TESK;

namespace {

using Gdiplus::ARGB;

constexpr DWORD kPanelStyle = 0x56000000;  // child, visible, clipping siblings and children
constexpr int kCornerDiameter = 20;
constexpr COLORREF kPanelBackground = 0x2A2524;
constexpr ARGB kWhite = 0xFFFFFFFF;
constexpr ARGB kTabText = 0xFF3F4440;
constexpr ARGB kNoteColour = 0xFF595F68;
const wchar_t* const kBold = L"SourceHanSansCN-Bold";
const wchar_t* const kRegular = L"SourceHanSansCN-Regular";
const wchar_t* const kSection = L"KB.DIALOG";
const wchar_t* const kButtonStrip = L"btn_apply.png";

// The DKS grid's cells: the key slots and the trigger-depth labels, and the first cell of
// each row of actions.
constexpr int kDksSlots = 4;
constexpr int kDksFirstDepthCell = 8;
constexpr int kDksFirstRowCell = 16;
// Hold time of MT keys: the slider position in steps of 10 ms.
constexpr int kHoldStep = 10;
// The Fn functions the editor offers end with FN7.
constexpr int kLastFnLayer = 7;

CString Text(int id) { return LoadLanString(kSection, id); }

CString KeyName(int usage) {
  CString name;
  return KeyCodeMap::Instance().UsageToKeyName(name, usage);
}

// A rectangle of the panel; an x below 0 counts back from the panel's right edge.
struct Place {
  int left, top, right, bottom;
  CRect In(const CRect& client) const {
    const auto x = [&](int v) { return v < 0 ? client.right + v : v; };
    return CRect(x(left), top, x(right), bottom);
  }
};

enum TextLook : unsigned { PLAIN = 0, MULTI_LINE = 1, LEFT = 2, CENTRED = 4, HEADING = 8, SMALL = 16, NOTE = 32 };

// A text of a page: its id and place, the language text it shows (0: the literal), and
// its look. Texts are white in the bold face, headings 18 px, small ones 12 px, the rest
// 14 px; notes are grey.
struct TextRow {
  UINT id;
  Place place;
  int textId;
  const wchar_t* literal;
  unsigned look;
};

// A depth or hold-time slider with its caption: range, start position, and whether every
// notification or only clicks and drags (codes 2 and 8) update the caption.
struct SliderRow {
  UINT id;
  Place place;
  int minimum, maximum, position;
  UINT captionId;
  bool anyCode;
};

struct RadioRow {
  UINT id;
  Place place;
  int textId;
  int start;  // the group's start value while this radio is checked
};

struct PairPage {
  int mode;
  const TextRow* texts;
  size_t textCount;
  const SliderRow* sliders;
  size_t sliderCount;
  UINT switchId;
  Place switchPlace;
  const wchar_t* group;  // the radio group, or null
  int radioSize;
  const RadioRow* radios;
  size_t radioCount;
};

// Introduction titles and descriptions, and the editing page titles, by mode 1 to 6.
constexpr int kIntroTitles[] = {2000, 2001, 2002, 2003, 2004, 2005};
constexpr int kIntroTexts[] = {2050, 2051, 2052, 2053, 2054, 2055};
constexpr int kKeyPageTitles[] = {701, 702, 710};
constexpr int kKindTabTexts[] = {120, 121, 122, 123, 124, 125};

// The kind of a function taken from the value list, by kind tab.
int KindOfTab(int tab) {
  switch (tab) {
    case 1:
      return MACRO_TYPE_MEDIA;
    case 2:
      return MACRO_TYPE_KEY;
    case 3:
    case 4:
      return MACRO_TYPE_FUNCTION;
    case 5:
      return MACRO_TYPE_MACRO;
    default:
      return 0;
  }
}

const TextRow kMtTexts[] = {
    {42, {780, 50, -10, 100}, 703, nullptr, MULTI_LINE},  {43, {780, 110, 840, 130}, 705, nullptr, LEFT},
    {44, {780, 170, 840, 190}, 704, nullptr, LEFT},       {47, {780, 210, 880, 230}, 706, nullptr, MULTI_LINE},
    {51, {780, 250, -10, 290}, 709, nullptr, MULTI_LINE}, {49, {-75, 205, -15, 230}, 0, L"200ms", PLAIN},
};
const SliderRow kHoldSlider = {CustomKeyDKSDlg::kHoldSliderId, {880, 210, -80, 240}, 1, 100, 20,
                               CustomKeyDKSDlg::kHoldCaptionId, true};
constexpr ARGB kHoldTrack = 0xFF687289, kHoldFill = 0xFF596EFF;
constexpr ARGB kDepthTrack = 0xFFF0EDFF, kDepthFill = 0xFF713FEF;
const TextRow kTglTexts[] = {{42, {780, 50, -10, 120}, 711, nullptr, MULTI_LINE}};

const TextRow kRsTexts[] = {
    {86, {30, 20, 160, 50}, 736, nullptr, HEADING},     {87, {30, 50, 380, 110}, 739, nullptr, MULTI_LINE},
    {88, {30, 100, 330, 200}, 737, nullptr, PLAIN},     {89, {30, 210, 330, 310}, 738, nullptr, PLAIN},
    {92, {400, 20, 600, 50}, 740, nullptr, HEADING},    {93, {400, 50, 1000, 110}, 741, nullptr, MULTI_LINE},
    {95, {400, 120, 550, 150}, 742, nullptr, HEADING},  {96, {400, 150, -50, 180}, 743, nullptr, PLAIN},
    {100, {690, 210, 770, 240}, 0, L"1.50mm", PLAIN},   {101, {400, 250, -10, 280}, 744, nullptr, NOTE},
};
const SliderRow kRsSliders[] = {{99, {400, 210, 660, 260}, 5, 165, 75, 100, false}};

const TextRow kSocdTexts[] = {
    {56, {30, 25, 230, 45}, 760, nullptr, HEADING},
    {57, {30, 45, 330, 65}, 761, nullptr, SMALL | MULTI_LINE},
    {58, {30, 65, 330, 115}, 762, nullptr, SMALL | MULTI_LINE},
    {61, {389, 25, 589, 45}, 764, nullptr, HEADING},
    {62, {389, 55, 989, 95}, 766, nullptr, MULTI_LINE},
    {66, {380, 120, 530, 150}, 767, nullptr, HEADING},
    {67, {380, 150, -50, 170}, 768, nullptr, PLAIN},
    {78, {840, 210, 920, 230}, 0, L"1.50mm", LEFT},
    {68, {380, 250, -10, 270}, 778, nullptr, NOTE | LEFT},
};
const SliderRow kSocdSliders[] = {{79, {380, 210, 640, 230}, 5, 165, 75, 78, true}};
const RadioRow kSocdRadios[] = {
    {69, {30, 125, 230, 145}, 770, 0x00},
    {70, {30, 155, 230, 175}, 771, 0x10},
    {71, {30, 185, 230, 205}, 772, 0x20},
    {72, {30, 215, 230, 235}, 773, 0x30},
};

const TextRow kOksTexts[] = {
    {102, {30, 25, 90, 45}, 760, nullptr, HEADING},
    {103, {30, 55, 330, 95}, 761, nullptr, SMALL | MULTI_LINE},
    {104, {50, 120, 110, 140}, 762, nullptr, PLAIN},
    {105, {140, 120, 200, 140}, 763, nullptr, PLAIN},
    {107, {380, 25, 580, 45}, 764, nullptr, HEADING},
    {108, {380, 55, 980, 95}, 766, nullptr, MULTI_LINE},
    {120, {640, 120, 720, 140}, 0, L"0.40mm", PLAIN},
    {112, {380, 240, 480, 260}, 767, nullptr, HEADING},
    {121, {640, 270, 720, 290}, 0, L"1.50mm", PLAIN},
    {109, {730, 25, 830, 45}, 765, nullptr, HEADING},
    {110, {730, 55, 980, 75}, 769, nullptr, SMALL | MULTI_LINE},
};
const SliderRow kOksSliders[] = {
    {119, {380, 120, 640, 140}, 1, 110, 20, 120, true},
    {122, {380, 270, 640, 290}, 5, 165, 75, 121, true},
};
const RadioRow kOksRadios[] = {
    {113, {750, 90, 950, 110}, 782, 0x10},
    {114, {750, 120, 950, 140}, 783, 0x20},
    {115, {750, 150, 950, 170}, 784, 0x30},
};

const PairPage kPairPages[] = {
    {ADVKEY_MODE_RS, kRsTexts, std::size(kRsTexts), kRsSliders, std::size(kRsSliders), CustomKeyDKSDlg::kRsSwitchId,
     {600, 20, 670, 50}, nullptr, 0, nullptr, 0},
    {ADVKEY_MODE_SOCD, kSocdTexts, std::size(kSocdTexts), kSocdSliders, std::size(kSocdSliders),
     CustomKeyDKSDlg::kSocdSwitchId, {580, 25, 640, 55}, L"SOCD_START", 14, kSocdRadios, std::size(kSocdRadios)},
    {ADVKEY_MODE_OKS, kOksTexts, std::size(kOksTexts), kOksSliders, std::size(kOksSliders),
     CustomKeyDKSDlg::kOksSwitchId, {530, 25, 590, 45}, L"OKS_START", 16, kOksRadios, std::size(kOksRadios)},
};

const PairPage* PairPageOf(int mode) {
  for (const PairPage& page : kPairPages) {
    if (page.mode == mode) return &page;
  }
  return nullptr;
}

// The slider row of an id on any page (the hold-time slider included), or null.
const SliderRow* SliderRowOf(UINT id) {
  if (id == kHoldSlider.id) return &kHoldSlider;
  for (const PairPage& page : kPairPages) {
    for (size_t i = 0; i < page.sliderCount; ++i) {
      if (page.sliders[i].id == id) return &page.sliders[i];
    }
  }
  return nullptr;
}

void SetFace(MControlFont* control, const wchar_t* face, int size, bool bold, ARGB colour) {
  if (!control) return;
  control->SetFont(face, size, bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular);
  control->SetTextColor(Gdiplus::Color(colour));
}

// Creates a page's texts from its table.
void CreateTexts(MDialog& dialog, const TextRow* rows, size_t count, const CRect& client) {
  for (size_t i = 0; i < count; ++i) {
    const TextRow& row = rows[i];
    auto* text = static_cast<MText*>(dialog.CreateControl(L"MText", row.id, row.place.In(client),
                                                          row.textId ? Text(row.textId) : CString(row.literal), 1, 1));
    const int size = (row.look & HEADING) ? 18 : (row.look & SMALL) ? 12 : 14;
    SetFace(text, kBold, size, true, (row.look & NOTE) ? kNoteColour : kWhite);
    if (text && (row.look & MULTI_LINE)) text->EnableMultiLine(1);
    if (text && (row.look & LEFT)) text->SetAlignment(DT_LEFT);
  }
}

}  // namespace

CustomKeyDKSDlg::CustomKeyDKSDlg()
    : m_mode(ADVKEY_MODE_DKS),
      m_advKeyId(0),
      m_profile(0),
      m_keyValue(0),
      m_introWanted(0),
      m_introBuilt(0),
      m_owner(nullptr) {}

// The window's messages reach this object: a window still open goes first.
CustomKeyDKSDlg::~CustomKeyDKSDlg() { DestroyWindow(); }

// ---- Opening ----

void CustomKeyDKSDlg::SetKeyTarget(int mode, int, unsigned int keyValue, int advKeyId, int intro) {
  m_mode = mode;
  m_keyValue = keyValue;
  m_advKeyId = advKeyId;
  m_introWanted = intro;
  m_profile = 1;
}

HWND CustomKeyDKSDlg::Create(HWND parent, CRect rect) {
  m_owner = parent;
  if (!MWindow::Create(parent, L"CustomKeyDKSDlg", kPanelStyle, 0, rect)) return nullptr;
  // The window owns the region from here on.
  HRGN region = CreateRoundRectRgn(2, 2, rect.Width(), rect.Height(), kCornerDiameter, kCornerDiameter);
  if (region && !SetWindowRgn(GetSafeHwnd(), region, TRUE)) DeleteObject(region);
  ShowWindow(SW_SHOW);
  return GetSafeHwnd();
}

int CustomKeyDKSDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  EnableWndDrag(0);
  GetPaintManager()->SetBackColor(kPanelBackground, kPanelBackground);
  return 1;
}

int CustomKeyDKSDlg::OnNcActivate(int active) { return MDialog::OnNcActivate(active); }

void CustomKeyDKSDlg::UISize(CRect) {}

void CustomKeyDKSDlg::SetSocdKeys(unsigned int keyValue) {
  m_keyValue = keyValue;
  auto* chooser = m_introBuilt ? Control<KeySOCDCtrl>(kChooserId) : nullptr;
  if (!chooser) return;
  const int first = keyValue & 0xFFFF, second = keyValue >> 16;
  chooser->SetItemValue(0, KeyName(first), first, 0);
  chooser->SetItemValue(1, KeyName(second), second, 0);
}

// ---- Pages ----

void CustomKeyDKSDlg::InitUI(CRect client) {
  const Place cancel = {-130, 10, -70, 40};
  if (!m_introBuilt) {
    auto* button = static_cast<MButton*>(CreateControl(L"MButton", kCancelId, cancel.In(client), Text(21), 1, 1));
    if (button) button->SetImage(kButtonStrip, 4);
    SetFace(button, kBold, 12, true, kWhite);
  }
  if (m_introWanted) {
    BuildIntroduction(client);
    m_introBuilt = 1;
    return;
  }
  if (m_introBuilt) {
    for (UINT id : {kNextId, kIntroTitleId, kIntroTextId, kIntroKey1Id, kIntroKey2Id, kChooserId}) {
      if (MControl* control = GetControl(id)) control->SetVisible(0);
    }
  }
  if (MControl* button = GetControl(kCancelId)) button->SetRect(cancel.In(client));
  auto* save = static_cast<MButton*>(CreateControl(L"MButton", kSaveId, Place{-62, 10, -2, 40}.In(client), Text(39), 1, 1));
  if (save) save->SetImage(kButtonStrip, 4);
  SetFace(save, kBold, 12, true, kWhite);
  if (IsPairMode(m_mode)) {
    BuildPairPage(client);
    SetPairCaptions();
  } else {
    BuildKeyPage(client);
  }
  LoadSettings();
  ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CustomKeyDKSDlg::BuildIntroduction(const CRect& client) {
  const bool pair = IsPairMode(m_mode);
  const int mode = (m_mode >= 1 && m_mode <= 6) ? m_mode : ADVKEY_MODE_DKS;
  auto* next = static_cast<MButton*>(CreateControl(L"MButton", kNextId, Place{-62, 10, -2, 40}.In(client), Text(42), 1, 1));
  if (next) next->SetImage(kButtonStrip, 4);
  SetFace(next, kBold, 12, true, kWhite);
  auto* title = static_cast<MText*>(CreateControl(L"MText", kIntroTitleId, CRect(200, 5, 460, 35),
                                                  Text(kIntroTitles[mode - 1]), 1, 1));
  SetFace(title, kRegular, 18, false, kWhite);
  auto* text = static_cast<MText*>(CreateControl(L"MText", kIntroTextId, CRect(200, 40, 980, 120),
                                                 Text(kIntroTexts[mode - 1]), 1, 1));
  SetFace(text, kRegular, 16, false, kWhite);
  if (text) {
    text->SetAlignment(DT_LEFT);
    text->EnableMultiLine(1);
  }
  const int shift = pair ? -40 : 0;
  const struct {
    UINT id;
    int left;
    int textId;
    bool shown;
  } keys[] = {{kIntroKey1Id, 610 + shift, 745, true}, {kIntroKey2Id, 680 + shift, 746, pair}};
  for (const auto& key : keys) {
    auto* caption = static_cast<MText*>(CreateControl(L"MText", key.id, CRect(key.left, 140, key.left + 60, 170),
                                                      Text(key.textId), key.shown ? 1 : 0, 1));
    SetFace(caption, kBold, 14, true, kWhite);
    if (caption) caption->SetAlignment(DT_CENTER);
  }
  auto* chooser = static_cast<KeySOCDCtrl*>(
      CreateControl(L"KeySOCDCtrl", kChooserId, CRect(600 + shift, 170, 800 + shift, 280), L"", 1, 1));
  if (!chooser) return;
  chooser->SetCtrlType(8);
  SetFace(chooser, kBold, 12, true, kWhite);
  chooser->AddItem(L"", 1);
  if (pair) chooser->AddItem(L"", 2);
  chooser->SetSelectItem(0);
}

void CustomKeyDKSDlg::BuildKeyPage(const CRect& client) {
  auto* tabs = static_cast<KeyTypeTab*>(CreateControl(L"KeyTypeTab", kKindTabsId, CRect(30, 0, 730, 30), L"", 1, 1));
  if (tabs) {
    tabs->SetKeyTypeTabType(KEY_TYPE_TAB_HORIZONTAL);
    tabs->SetFontWidth(14);
    tabs->SetItemWidthAndHeight(90, 30);
    SetFace(tabs, kBold, 16, true, kTabText);
    for (int i = 0; i < static_cast<int>(std::size(kKindTabTexts)); ++i) tabs->AddKeyType(Text(kKindTabTexts[i]), i);
  }
  auto* picker =
      static_cast<KeyFuncControl2*>(CreateControl(L"KeyFuncControl2", kPickerId, CRect(10, 60, 760, 300), L"", 1, 1));
  SetFace(picker, kRegular, 10, false, kWhite);
  if (picker) picker->InitItemInfo();
  auto* list = static_cast<KeyValueList*>(CreateControl(L"KeyValueList", kValueListId, CRect(10, 60, 760, 300), L"", 0, 1));
  SetFace(list, kRegular, 12, false, kWhite);
  const int page = (m_mode >= ADVKEY_MODE_DKS && m_mode <= ADVKEY_MODE_TGL) ? m_mode : ADVKEY_MODE_DKS;
  auto* title = static_cast<MText*>(
      CreateControl(L"MText", kPageTitleId, CRect(780, 0, 1040, 30), Text(kKeyPageTitles[page - 1]), 1, 1));
  SetFace(title, kBold, 18, true, kWhite);

  if (m_mode == ADVKEY_MODE_DKS) {
    auto* grid = static_cast<KeyDKSCtrl*>(CreateControl(L"KeyDKSCtrl", kGridId, CRect(760, 50, 1160, 340), L"", 1, 1));
    if (!grid) return;
    grid->InitItem();
    SetFace(grid, kBold, 12, true, kWhite);
    return;
  }
  const bool mt = m_mode == ADVKEY_MODE_MT;
  const TextRow* texts = mt ? kMtTexts : kTglTexts;
  const size_t count = mt ? std::size(kMtTexts) : std::size(kTglTexts);
  CreateTexts(*this, texts, count, client);
  auto* slots = static_cast<KeyMTCtrl*>(CreateControl(L"KeyMTCtrl", kKeySlotsId,
                                                      mt ? CRect(830, 95, 920, 205) : CRect(950, 160, 1030, 230), L"", 1, 1));
  if (slots) {
    slots->SetCtrlType(mt ? 2 : 4);
    SetFace(slots, kBold, 12, true, kWhite);
    slots->AddItem(L"", 1);
    if (mt) slots->AddItem(L"", 2);
  }
  if (!mt) return;
  auto* hold = static_cast<MSlider*>(CreateControl(L"MSlider", kHoldSlider.id, kHoldSlider.place.In(client), L"", 1, 1));
  if (!hold) return;
  hold->SetTextColor(Gdiplus::Color(kHoldTrack));
  hold->SetSelectColor(Gdiplus::Color(kHoldFill));
  hold->SetShowText(0);
  hold->SetMinProgress(kHoldSlider.minimum);
  hold->SetMaxProgress(kHoldSlider.maximum);
  hold->SetProgress(kHoldSlider.position);
}

void CustomKeyDKSDlg::BuildPairPage(const CRect& client) {
  const PairPage* page = PairPageOf(m_mode);
  if (!page) return;
  CreateTexts(*this, page->texts, page->textCount, client);
  auto* toggle = static_cast<CSwitchButton*>(
      CreateControl(L"CSwitchButton", page->switchId, page->switchPlace.In(client), L"", 1, 1));
  if (toggle) toggle->SetImage(L"img_switch_on.png", L"img_switch_off.png", 4);
  for (size_t i = 0; i < page->radioCount; ++i) {
    const RadioRow& row = page->radios[i];
    auto* radio = static_cast<CRadioButton*>(
        CreateControl(L"CRadioButton", row.id, row.place.In(client), Text(row.textId), 1, 1));
    if (!radio) continue;
    radio->SetImage(L"btn_radiobox.png", 8);
    SetFace(radio, kRegular, page->radioSize, false, kWhite);
    radio->SetGroupName(page->group);
    if (i == 0) radio->SetCheck(1);
  }
  for (size_t i = 0; i < page->sliderCount; ++i) {
    const SliderRow& row = page->sliders[i];
    auto* slider = static_cast<MSlider*>(CreateControl(L"MSlider", row.id, row.place.In(client), L"", 1, 1));
    if (!slider) continue;
    slider->SetTextColor(Gdiplus::Color(kDepthTrack));
    slider->SetSelectColor(Gdiplus::Color(kDepthFill));
    slider->SetShowText(0);
    slider->SetMinProgress(row.minimum);
    slider->SetMaxProgress(row.maximum);
    slider->SetProgress(row.position);
  }
  if (m_mode == ADVKEY_MODE_OKS) {
    auto* pair = static_cast<KeySOCDCtrl*>(CreateControl(L"KeySOCDCtrl", kOksPairId, CRect(40, 145, 240, 215), L"", 1, 1));
    if (!pair) return;
    pair->SetCtrlType(10);
    SetFace(pair, kBold, 12, false, kWhite);
    pair->AddItem(L"", 1);
    pair->AddItem(L"", 2);
  }
}

void CustomKeyDKSDlg::SetPairCaptions() {
  const int first = m_keyValue & 0xFFFF, second = m_keyValue >> 16;
  const CString firstName = KeyName(first), secondName = KeyName(second);
  CString caption;
  if (m_mode == ADVKEY_MODE_SOCD) {
    const CString before = Text(776), after = Text(777);
    const struct {
      UINT id;
      const CString& name;
    } radios[] = {{70, firstName}, {71, secondName}};
    for (const auto& radio : radios) {
      caption.Format(L"%s(%s%s)", before.GetString(), radio.name.GetString(), after.GetString());
      if (auto* button = Control<CRadioButton>(radio.id)) button->SetTitle(caption);
    }
  } else if (m_mode == ADVKEY_MODE_OKS) {
    if (auto* pair = Control<KeySOCDCtrl>(kOksPairId)) {
      pair->SetItemValue(0, firstName, first, 0);
      pair->SetItemValue(1, secondName, second, 0);
    }
    const struct {
      UINT id;
      const CString& name;
    } radios[] = {{114, firstName}, {115, secondName}};
    for (const auto& radio : radios) {
      caption.Format(L"%s（%s键）", L"单向绑定", radio.name.GetString());
      if (auto* button = Control<CRadioButton>(radio.id)) button->SetTitle(caption);
    }
  }
}

// ---- Commands ----

LONG CustomKeyDKSDlg::OnMessage(UINT controlId, UINT code, UINT wParam, LONG) {
  if (const SliderRow* slider = SliderRowOf(controlId)) {
    if (!slider->anyCode && code != NOTIFY_CLICKED && code != NOTIFY_CHANGING) return 0;
    return controlId == kHoldSliderId ? ShowHoldTime() : ShowDepth(controlId);
  }
  if (code != NOTIFY_CLICKED) return 0;
  switch (controlId) {
    case kNextId:
      return OnNext();
    case kCancelId:
      return OnCancel();
    case kSaveId:
      return ApplySettings();
    case kKindTabsId:
      return OnKeyTypeChanged(static_cast<int>(wParam));
    case kPickerId:
      return OnKeyPicked();
    case kValueListId:
      return OnKeyValuePicked();
    default:
      return 0;
  }
}

int CustomKeyDKSDlg::OnNext() {
  const unsigned int first = m_keyValue & 0xFFFF, second = m_keyValue >> 16;
  const bool oneKey = m_mode >= ADVKEY_MODE_DKS && m_mode <= ADVKEY_MODE_TGL;
  if (!((m_keyValue > 0 && oneKey) || (first != 0 && second != 0))) {
    ShowMessageBox(m_owner, Text(2100), Text(2101), 0);
    return 1;
  }
  m_introWanted = 0;
  CRect client;
  GetClientRect(client);
  InitUI(client);
  ::PostMessageW(m_owner, WM_UI_DRAGOVER, 0, 0);
  return 1;
}

int CustomKeyDKSDlg::OnCancel() {
  ::PostMessageW(m_owner, WM_KB_ADVKEY_CANCELLED, 0, 0);
  DoCancel();
  return 1;
}

int CustomKeyDKSDlg::OnKeyTypeChanged(int tab) {
  if (IsPairMode(m_mode)) return 0;
  return FillKeyValueList(Control<KeyFuncControl>(kPickerId), Control<KeyValueList>(kValueListId), tab,
                          FnLayerFunctionCode(kLastFnLayer));
}

void CustomKeyDKSDlg::PutKey(const CString& caption, int value, int kind) {
  if (m_mode == ADVKEY_MODE_DKS) {
    if (auto* grid = Control<KeyDKSCtrl>(kGridId)) grid->SetCurValue(caption, value, kind);
  } else if (m_mode == ADVKEY_MODE_MT || m_mode == ADVKEY_MODE_TGL) {
    if (auto* slots = Control<KeyMTCtrl>(kKeySlotsId)) slots->SetCurValue(caption, value, kind);
  }
}

int CustomKeyDKSDlg::OnKeyPicked() {
  auto* picker = Control<KeyFuncControl>(kPickerId);
  if (IsPairMode(m_mode) || !picker) return 0;
  int reserved = 0, code = 0, data = 0, extra = 0;
  CString label;
  if (!picker->GetCurItemData(reserved, code, data, extra, label)) return 0;
  // The grid keeps a picked key's kind; the MT and TGL slots take none from the picker.
  PutKey(label, code, m_mode == ADVKEY_MODE_DKS ? MACRO_TYPE_KEY : 0);
  return 1;
}

int CustomKeyDKSDlg::OnKeyValuePicked() {
  auto* list = Control<KeyValueList>(kValueListId);
  auto* tabs = Control<KeyTypeTab>(kKindTabsId);
  if (IsPairMode(m_mode) || !list || !tabs) return 0;
  CString caption;
  const unsigned long value = list->GetSelectKeyValue(caption);
  // A drop while no tile is selected brings nothing.
  if (value == 0xFFFFFFFFul) return 0;
  const int kind = KindOfTab(tabs->GetSelectItem());
  PutKey(caption, kind ? static_cast<int>(value) : 0, kind);
  return 1;
}

int CustomKeyDKSDlg::OnDragOver() {
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  const CPoint pt(cursor.x, cursor.y);
  if (m_mode == ADVKEY_MODE_DKS) {
    if (auto* grid = Control<KeyDKSCtrl>(kGridId)) grid->DragMove(pt);
  } else if (m_mode == ADVKEY_MODE_MT || m_mode == ADVKEY_MODE_TGL) {
    if (auto* slots = Control<KeyMTCtrl>(kKeySlotsId)) slots->DragMove(pt);
  }
  return 1;
}

int CustomKeyDKSDlg::OnDrop() {
  auto* tabs = Control<KeyTypeTab>(kKindTabsId);
  if (!tabs) return 1;
  if (tabs->GetSelectItem() == 0) {
    OnKeyPicked();
  } else {
    OnKeyValuePicked();
  }
  return 1;
}

LRESULT CustomKeyDKSDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_UI_DRAGOVER) return OnDragOver();
  if (message == WM_UI_DROP) return OnDrop();
  return MDialog::OnWindowMessage(message, wParam, lParam);
}

int CustomKeyDKSDlg::ShowHoldTime() {
  auto* slider = Control<MSlider>(kHoldSliderId);
  auto* caption = Control<MText>(kHoldCaptionId);
  if (!slider || !caption) return 0;
  caption->SetTitle(HoldTimeCaption(slider->GetProgress() * kHoldStep));
  return 1;
}

int CustomKeyDKSDlg::ShowDepth(UINT sliderId) {
  const SliderRow* row = SliderRowOf(sliderId);
  auto* slider = Control<MSlider>(sliderId);
  auto* caption = row ? Control<MText>(row->captionId) : nullptr;
  if (!slider || !caption) return 0;
  caption->SetTitle(DepthCaption(slider->GetProgress()));
  return 1;
}

void CustomKeyDKSDlg::SetSliderPosition(UINT sliderId, int position) {
  auto* slider = Control<MSlider>(sliderId);
  if (!slider) return;
  // Stored values come from files too. A negative one leaves the slider as it is, one above
  // the range takes the maximum (MSlider::SetProgress does both) and one below it the
  // minimum; the caption shows the slider's value, which is also what Save stores.
  if (position < 0) return;
  slider->SetProgress(position < slider->GetMinProgress() ? slider->GetMinProgress() : position);
  if (sliderId == kHoldSliderId) {
    ShowHoldTime();
  } else {
    ShowDepth(sliderId);
  }
}

int CustomKeyDKSDlg::StartValue() {
  const PairPage* page = PairPageOf(m_mode);
  for (size_t i = 0; page && i < page->radioCount; ++i) {
    auto* radio = Control<CRadioButton>(page->radios[i].id);
    if (radio && radio->GetCheck()) return page->radios[i].start;
  }
  return 0;
}

void CustomKeyDKSDlg::CheckStartRadio(int radio) {
  const PairPage* page = PairPageOf(m_mode);
  if (!page) return;
  for (size_t i = 0; i < page->radioCount; ++i) {
    if (StartRadioOf(page->radios[i].start) != radio) continue;
    if (auto* button = Control<CRadioButton>(page->radios[i].id)) button->SetCheck(1);
    return;
  }
}

// ---- Store and load ----

bool CustomKeyDKSDlg::ReadPage(MAGNETIC_KEY_DATA& row) {
  CString names[kDksSlots];
  int values[kDksSlots] = {};
  int extra = 0;
  switch (m_mode) {
    case ADVKEY_MODE_DKS: {
      auto* grid = Control<KeyDKSCtrl>(kGridId);
      if (!grid) return false;
      int depths[4] = {};
      CString label;
      for (int n = 0; n < 4; ++n) grid->GetItemValue(kDksFirstDepthCell + n, label, depths[n], extra);
      for (int n = 0; n < kDksSlots; ++n) grid->GetItemValue(n, names[n], values[n], extra);
      row.key1_value = PackDksDepths(depths[0], depths[1]);
      row.key2_value = PackDksDepths(depths[2], depths[3]);
      row.key1_name = JoinKeyNames(names, kDksSlots);
      row.reserved = static_cast<int>(m_keyValue);
      return true;
    }
    case ADVKEY_MODE_MT:
    case ADVKEY_MODE_TGL: {
      auto* slots = Control<KeyMTCtrl>(kKeySlotsId);
      if (!slots) return false;
      const bool mt = m_mode == ADVKEY_MODE_MT;
      for (int n = 0; n < (mt ? 2 : 1); ++n) {
        slots->GetItemValue(n, names[n], values[n], extra);
        if (names[n].IsEmpty()) return false;
      }
      row.key1_value = values[0];
      row.key1_name = names[0];
      if (mt) {
        auto* hold = Control<MSlider>(kHoldSliderId);
        row.key2_value = values[1];
        row.key2_name = names[1];
        row.reserved = hold ? hold->GetProgress() * kHoldStep : 0;
      }
      return true;
    }
    case ADVKEY_MODE_RS:
    case ADVKEY_MODE_SOCD:
    case ADVKEY_MODE_OKS: {
      const PairPage* page = PairPageOf(m_mode);
      auto* toggle = Control<CSwitchButton>(page->switchId);
      const bool on = toggle && toggle->GetCheck();
      const auto position = [this](UINT id) {
        auto* slider = Control<MSlider>(id);
        return slider ? slider->GetProgress() : 0;
      };
      if (m_mode == ADVKEY_MODE_RS) {
        row.key1_value = on ? 1 : 0;
        row.key2_value = 0x000A000A;
        row.reserved = position(99);
      } else if (m_mode == ADVKEY_MODE_SOCD) {
        row.key1_value = PackSocdStart(StartValue(), on);
        row.key2_value = 0x000A000A;
        row.reserved = position(79);
      } else {
        row.key1_value = PackOksStart(StartValue());
        row.key2_value = PackOksFirstDepth(position(119));
        row.reserved = position(122);
      }
      return true;
    }
    default:
      return false;
  }
}

void CustomKeyDKSDlg::StoreDksItems() {
  auto* grid = Control<KeyDKSCtrl>(kGridId);
  if (!grid || m_advKeyId <= 0) return;
  ConfigDatabase& store = ConfigDatabase::Instance();
  store.DeleteKeyItems(m_advKeyId);
  for (int n = 0; n < kDksSlots; ++n) {
    KEY_ITEM_DATA item;
    item.macro_id = m_advKeyId;
    int extra = 0;
    grid->GetItemState(kDksFirstRowCell + 4 * n, item.trigger_state1);
    grid->GetItemValue(n, item.key_name, item.key_value, extra);
    // An empty slot binds no key: the grid builds its slots with values of its own (4, 1, 2,
    // 3), and 4 is a key's usage.
    if (item.key_name.IsEmpty()) item.key_value = 0;
    store.InsertKeyItem(item);
  }
}

int CustomKeyDKSDlg::ApplySettings() {
  MAGNETIC_KEY_DATA row;
  row.profile = m_profile;
  row.key_value = static_cast<int>(m_keyValue);
  row.fn_layer = 0;
  row.macro_type = m_mode + kAdvKeyKindOffset;
  if (!ReadPage(row)) return 0;
  ConfigDatabase& store = ConfigDatabase::Instance();
  if (m_advKeyId > 0) {
    store.UpdateMagneticKey(m_advKeyId, row);
  } else {
    m_advKeyId = store.InsertMagneticKey(row);
  }
  if (m_mode == ADVKEY_MODE_DKS) StoreDksItems();
  ::PostMessageW(m_owner, WM_KB_ADVKEY_APPLIED, 0, m_advKeyId);
  DoOK();
  return 1;
}

void CustomKeyDKSDlg::LoadSettings() {
  if (m_advKeyId == 0) return;
  MAGNETIC_KEY_DATA row;
  if (!ConfigDatabase::Instance().GetMagneticKey(m_advKeyId, row)) return;
  if (IsPairMode(m_mode)) {
    LoadPairPage(row);
  } else {
    LoadKeyPage(row);
  }
}

void CustomKeyDKSDlg::LoadKeyPage(const MAGNETIC_KEY_DATA& row) {
  if (m_mode == ADVKEY_MODE_DKS) {
    auto* grid = Control<KeyDKSCtrl>(kGridId);
    if (!grid) return;
    const int columns[] = {row.key1_value, row.key1_value, row.key2_value, row.key2_value};
    for (int n = 0; n < 4; ++n) {
      const int depth = DksDepthOf(columns[n], n);
      grid->SetItemValue(kDksFirstDepthCell + n, DksDepthCaption(depth), depth, 0);
    }
    KeyItemList items;
    ConfigDatabase::Instance().GetKeyItems(m_advKeyId, items);
    // The grid has four rows: rows stored beyond them are left out, and rows and slots
    // without a stored row keep their built state.
    for (int n = 0; n < kDksSlots && n < static_cast<int>(items.size()); ++n) {
      grid->SetItemValue(n, items[n]->key_name, items[n]->key_value, 0);
      grid->SetItemState(kDksFirstRowCell + 4 * n, items[n]->trigger_state1);
    }
    grid->UpdateControl(1, 0);
    return;
  }
  auto* slots = Control<KeyMTCtrl>(kKeySlotsId);
  if (!slots) return;
  slots->SetItemValue(0, row.key1_name, row.key1_value, 0);
  if (m_mode != ADVKEY_MODE_MT) return;
  slots->SetItemValue(1, row.key2_name, row.key2_value, 0);
  SetSliderPosition(kHoldSliderId, row.reserved < 0 ? -1 : row.reserved / kHoldStep);
}

void CustomKeyDKSDlg::LoadPairPage(const MAGNETIC_KEY_DATA& row) {
  const PairPage* page = PairPageOf(m_mode);
  if (!page) return;
  auto* toggle = Control<CSwitchButton>(page->switchId);
  switch (m_mode) {
    case ADVKEY_MODE_RS:
      if (toggle) toggle->SetCheck(row.key1_value != 0 ? 1 : 0);
      SetSliderPosition(99, row.reserved);
      break;
    case ADVKEY_MODE_SOCD:
      CheckStartRadio(StartRadioOf(row.key1_value));
      if (toggle) toggle->SetCheck(SocdSwitchOf(row.key1_value) ? 1 : 0);
      SetSliderPosition(79, row.reserved);
      break;
    case ADVKEY_MODE_OKS: {
      CheckStartRadio(StartRadioOf(row.key1_value));
      int first = 0;
      if (OksFirstDepthOf(row.key2_value, first)) SetSliderPosition(119, first);
      SetSliderPosition(122, row.reserved);
      break;
    }
    default:
      break;
  }
}
