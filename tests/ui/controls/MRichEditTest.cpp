// The windowless rich edit over the platform's text engine: the host's answers to the
// engine, typing and the title mirror through the window's messages, the wrappers, the
// context menu, files, the three variants, and (in a second run without the engine) the
// control's neutral behaviour.
#include "ui/controls/MRichEdit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "TempFolder.h"
#include "ui/controls/CLogonEdit.h"
#include "ui/controls/CSpinButton.h"
#include "ui/controls/CTxtWinHost.h"
#include "ui/controls/MEditEx.h"
#include "ui/controls/MScroll.h"
#include "ui/core/MPanel.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"

using testsupport::ControlHost;
using TESK::CTxtWinHost;
using TESK::MRichEdit;

namespace {

constexpr UINT kId = 40;
constexpr IID kIidTextHost = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
constexpr IID kIidTextHost2 = {0x13e670f5, 0x1a5a, 0x11cf, {0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1}};
const std::vector<DWORD> kFaceCells = {0xFFE0E0E0, 0xFFC0D0E0, 0xFFA0C0F0, 0xFFB0B0B0};

// A rich edit of any of the classes that shows its host (virtual calls need no export).
template <class Base>
class Probed : public Base {
public:
  using Base::Base;
  CTxtWinHost* Host() const { return this->m_pHost; }
  // The title as stored (GetTitle reads the engine).
  CString Mirror() const { return this->m_strTitle; }
  // The control's cached drawing (its cells, before the engine draws the text over them).
  HDC Cache() const { return this->m_hCacheDC; }
  const CHARFORMATW& CharFormat() const {
    const CHARFORMATW* format = nullptr;
    Host()->TxGetCharFormat(&format);
    return *format;
  }
  const PARAFORMAT& ParaFormat() const {
    const PARAFORMAT* format = nullptr;
    Host()->TxGetParaFormat(&format);
    return *format;
  }
  RECT Client() const {
    RECT rect = {};
    Host()->TxGetClientRect(&rect);
    return rect;
  }
  // Records every message on its way to the engine.
  HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const override {
    sent.push_back({msg, wParam});
    return Base::TxSendMessage(msg, wParam, lParam, result);
  }
  bool Sent(UINT msg, WPARAM wParam) const {
    for (const auto& m : sent) {
      if (m.first == msg && m.second == wParam) return true;
    }
    return false;
  }
  mutable std::vector<std::pair<UINT, WPARAM>> sent;
  DWORD Bits(DWORD mask) const {
    DWORD bits = 0;
    Host()->TxGetPropertyBits(mask, &bits);
    return bits;
  }
};
using ProbedEdit = Probed<MRichEdit>;

std::wstring W(const CString& text) { return text.GetString(); }

const wchar_t* InstalledFamily() {
  for (const wchar_t* name : {L"Tahoma", L"DejaVu Sans", L"Liberation Sans", L"Noto Sans"}) {
    if (Gdiplus::FontFamily(name).IsAvailable()) return name;
  }
  return L"Tahoma";
}

class RichEditTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::WriteStrip(m_face, 12, 40, kFaceCells));
    host.Activate();
  }

  // A control of class T made by the test and adopted by the host's engine (which creates
  // the text host), in an installed face and with the face strip.
  template <class T = ProbedEdit, class... Args>
  T* Make(Args&&... args) {
    auto* control = new T(&host, std::forward<Args>(args)...);
    control->SetFont(InstalledFamily(), 12, Gdiplus::FontStyleRegular);
    host.Adopt(control);
    control->SetImage(m_face, 4);
    return control;
  }
  ProbedEdit* MakeEdit(CRect rect = CRect(20, 20, 220, 120), const wchar_t* tip = L"Type here") {
    return Make<ProbedEdit>(kId, rect, tip, 1, 1);
  }
  // Characters typed the way the window receives them.
  void Type(const wchar_t* text) {
    for (; *text; ++text) SendMessageW(host.GetSafeHwnd(), WM_CHAR, *text, 1);
  }

  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  ControlHost host;
  // The face strip's file; each ctest run of the suite writes its own.
  const wchar_t* m_face = L"richedittest_face.png";
};

// ---- The host ----

TEST_F(RichEditTest, TheHostAnswersOnlyItsTwoInterfacesAndCountsReferences) {
  ProbedEdit* edit = MakeEdit();
  CTxtWinHost* textHost = edit->Host();
  ASSERT_NE(nullptr, textHost) << "the engine is there under Wine: InitControl made a host";
  for (const IID& iid : {IID_IUnknown, kIidTextHost}) {
    void* out = nullptr;
    EXPECT_EQ(S_OK, textHost->QueryInterface(iid, &out));
    EXPECT_EQ(static_cast<void*>(static_cast<ITextHost*>(textHost)), out);
    static_cast<IUnknown*>(out)->Release();
  }
  for (const IID& iid : {kIidTextHost2, IID_IDropTarget}) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, textHost->QueryInterface(iid, &out));
    EXPECT_EQ(nullptr, out);
  }
  EXPECT_EQ(2u, textHost->AddRef());
  EXPECT_EQ(1u, textHost->Release());
}

TEST_F(RichEditTest, TheHostAnswersFromTheStyleAndTheControl) {
  ProbedEdit* multi = MakeEdit();
  ASSERT_NE(nullptr, multi->Host());
  DWORD bars = 0;
  multi->Host()->TxGetScrollBars(&bars);
  EXPECT_EQ(static_cast<DWORD>(WS_VSCROLL | ES_AUTOVSCROLL), bars) << "the style AND 0x3020C0";
  EXPECT_EQ(static_cast<DWORD>(TXTBIT_WORDWRAP | TXTBIT_MULTILINE | TXTBIT_RICHTEXT | TXTBIT_HIDESELECTION),
            multi->Bits(0xFFFFFFFF));
  EXPECT_EQ(0x000001u, multi->Host()->TxGetSysColor(COLOR_WINDOWTEXT)) << "the system's black";
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(12 * 1440 / dpi, multi->CharFormat().yHeight) << "lfHeight x -1440 / LOGPIXELSY";
  EXPECT_EQ(0x141414u, multi->CharFormat().crTextColor);
  EXPECT_STREQ(InstalledFamily(), multi->CharFormat().szFaceName);

  struct StyleCase {
    const char* what;
    long style;
    DWORD scrollBars;
    DWORD bitsSet;
    DWORD bitsClear;
    WORD alignment;
  };
  const StyleCase cases[] = {
      {"auto horizontal scrolling turns word wrap off", ES_AUTOHSCROLL, ES_AUTOHSCROLL, 0, TXTBIT_WORDWRAP, PFA_LEFT},
      {"centre wins over right", ES_CENTER | ES_RIGHT, 0, TXTBIT_WORDWRAP, 0, PFA_CENTER},
      {"right", ES_RIGHT, 0, TXTBIT_WORDWRAP, 0, PFA_RIGHT},
      {"the selection stays shown", ES_NOHIDESEL | ES_MULTILINE, 0, TXTBIT_MULTILINE, TXTBIT_HIDESELECTION, PFA_LEFT},
      {"read-only and password", ES_READONLY | ES_PASSWORD, 0, TXTBIT_READONLY | TXTBIT_USEPASSWORD,
       TXTBIT_MULTILINE, PFA_LEFT},
  };
  UINT id = 50;
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto* edit = new ProbedEdit(&host, id++, CRect(20, 130, 220, 160), L"", 1, 1);
    edit->SetWinStyle(c.style);
    host.Adopt(edit);
    ASSERT_NE(nullptr, edit->Host());
    edit->Host()->TxGetScrollBars(&bars);
    EXPECT_EQ(c.scrollBars, bars);
    EXPECT_EQ(c.bitsSet, edit->Bits(c.bitsSet));
    EXPECT_EQ(0u, edit->Bits(c.bitsClear));
    EXPECT_EQ(c.alignment, edit->ParaFormat().wAlignment);
  }
}

TEST_F(RichEditTest, LimitsColoursAndFontsReachTheHost) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  DWORD length = 0;
  edit->Host()->TxGetMaxLength(&length);
  EXPECT_EQ(256u, length) << "the control's limit, taken as it is";
  for (int limit : {0, -5}) {
    edit->SetLimitText(limit);
    edit->Host()->TxGetMaxLength(&length);
    EXPECT_EQ(32767u, length) << limit;
  }
  edit->SetLimitText(12);
  edit->Host()->TxGetMaxLength(&length);
  EXPECT_EQ(12u, length);

  edit->SetTextColor(Gdiplus::Color(255, 0, 0, 0));
  EXPECT_EQ(0x000001u, edit->CharFormat().crTextColor) << "black after SetTextColor is never pure";
  EXPECT_EQ(0u, edit->GetTextColor());
  edit->SetTextColor(Gdiplus::Color(255, 0x12, 0x34, 0x56));
  EXPECT_EQ(0x563412u, edit->CharFormat().crTextColor);

  edit->SetEnabled(0);
  EXPECT_EQ(0x808080u, edit->CharFormat().crTextColor) << "disabled: the engine's default colour";
  edit->SetEnabled(1);
  EXPECT_EQ(0x563412u, edit->CharFormat().crTextColor);

  edit->SetFont(InstalledFamily(), 20, 1, 0, 1);
  EXPECT_EQ(static_cast<DWORD>(CFE_BOLD | CFE_ITALIC), edit->CharFormat().dwEffects);
  edit->SetFont(InstalledFamily(), 20, 0, 1, 0);
  EXPECT_EQ(static_cast<DWORD>(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE), edit->CharFormat().dwEffects)
      << "a font's effects are only added";
}

TEST_F(RichEditTest, BlackBuiltAtCreationIsNearBlackOnlyOnALayeredWindow) {
  for (int layered : {0, 1}) {
    SCOPED_TRACE(layered);
    host.GetPaintManager()->SetLayeredWindow(layered);
    auto* edit = new ProbedEdit(&host, kId + layered, CRect(20, 20, 220, 60), L"", 1, 1);
    edit->SetTextColor(Gdiplus::Color(255, 0, 0, 0));
    host.Adopt(edit);
    ASSERT_NE(nullptr, edit->Host());
    EXPECT_EQ(layered ? 0x000001u : 0u, edit->CharFormat().crTextColor);
  }
  host.GetPaintManager()->SetLayeredWindow(0);
}

TEST_F(RichEditTest, ScrollRangesShowTheBarOnlyBeyondTheTextArea) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  auto* bar = static_cast<TESK::MScroll*>(edit->GetScrollVertical());
  const RECT client = edit->Client();
  const int height = client.bottom - client.top;
  edit->Host()->TxSetScrollRange(SB_VERT, 0, height, TRUE);
  EXPECT_EQ(0, bar->IsVisible()) << "a range of exactly the client height";
  edit->Host()->TxSetScrollRange(SB_VERT, 0, height + 1, TRUE);
  EXPECT_EQ(1, bar->IsVisible());
  EXPECT_EQ(height + 1, bar->GetScrollMaxRange());

  // The user drags the thumb: while the bar reports the drag (and the engine follows it),
  // the engine's own positions leave the bar alone.
  edit->Host()->TxSetScrollRange(SB_VERT, 0, 4 * height, TRUE);
  edit->Host()->TxSetScrollPos(SB_VERT, 0, TRUE);
  int reported = -1, afterEcho = -1;
  host.onNotify = [&](const testsupport::HostEvent& e) -> LONG {
    if (e.id == 1 && e.code == TESK::NOTIFY_CHANGING && bar->IsChangeing()) {
      reported = static_cast<int>(e.wParam);
      edit->Host()->TxSetScrollPos(SB_VERT, 0, TRUE);
      afterEcho = bar->GetScrollCurrentPos();
    }
    return 0;
  };
  const CRect thumb = bar->GetThumbRect();
  ASSERT_FALSE(thumb.IsRectEmpty());
  const CPoint onThumb((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
  bar->OnLButtonDown(MK_LBUTTON, onThumb);
  bar->OnMouseMove(MK_LBUTTON, CPoint(onThumb.x, onThumb.y + 20));
  bar->OnLButtonUp(MK_LBUTTON, CPoint(onThumb.x, onThumb.y + 20));
  host.onNotify = nullptr;
  ASSERT_LT(0, reported) << "the drag moved the thumb";
  EXPECT_EQ(reported, afterEcho) << "left to the drag";
  edit->Host()->TxSetScrollPos(SB_VERT, 0, TRUE);
  EXPECT_EQ(0, bar->GetScrollCurrentPos()) << "the engine leads again";
}

// ---- Typing and the title ----

TEST_F(RichEditTest, TypingReachesTheEngineOnlyAfterTheFocusAndMirrorsTheTitle) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  Type(L"zz");
  EXPECT_TRUE(edit->GetTitle().IsEmpty()) << "keys before the focus reach nothing";

  const CPoint inside(60, 50);
  host.MoveTo(inside);
  host.Click(inside);
  EXPECT_EQ(1, edit->IsFocused());
  host.ClearJournal();
  Type(L"abc");
  EXPECT_EQ(std::wstring(L"abc"), W(edit->GetTitle()));
  EXPECT_EQ(std::wstring(L"abc"), W(edit->Mirror()));
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kId)) << "one repaint, as the tip hides";

  host.ClearJournal();
  edit->SetSelAll();
  SendMessageW(host.GetSafeHwnd(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_TRUE(edit->Mirror().IsEmpty());
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kId)) << "the tip shows again";

  edit->SetControlTitle(L"hello world");
  EXPECT_EQ(std::wstring(L"hello world"), W(edit->GetTitle()));
  edit->SetSel(0, 5);
  EXPECT_EQ(std::wstring(L"hello"), W(edit->GetSelText()));
  edit->Clear();
  EXPECT_TRUE(edit->GetTitle().IsEmpty()) << "Clear removes the whole text";

  edit->SetReadOnly(1);
  Type(L"q");
  EXPECT_TRUE(edit->GetTitle().IsEmpty()) << "read-only ignores typing";
}

TEST_F(RichEditTest, ZoomWheelAndRightReleaseAreRoutedAsTheControlDecides) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  edit->sent.clear();
  EXPECT_FALSE(edit->SetZoom(65, 1));
  EXPECT_FALSE(edit->SetZoom(1, -1)) << "parts are taken unsigned";
  EXPECT_TRUE(edit->sent.empty()) << "nothing is sent for a zoom beyond 64";
  edit->SetZoom(64, 1);
  EXPECT_TRUE(edit->Sent(EM_SETZOOM, 64));

  const LPARAM inside = MAKELPARAM(60, 50), outside = MAKELPARAM(300, 250);
  EXPECT_EQ(1, edit->OnWindowMessage(WM_RBUTTONUP, 0, inside)) << "a right release inside is taken";
  EXPECT_EQ(0, edit->OnWindowMessage(WM_RBUTTONUP, 0, outside));

  edit->sent.clear();
  const CPoint screen = host.ToScreen(CPoint(60, 50));
  EXPECT_EQ(0, edit->OnWindowMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)),
                                     MAKELPARAM(screen.x, screen.y)));
  EXPECT_TRUE(edit->sent.empty()) << "the wheel without Ctrl is not the engine's";
  auto* bar = edit->GetScrollVertical();
  edit->Host()->TxShowScrollBar(SB_VERT, FALSE);
  ASSERT_EQ(0, bar->IsVisible());
  EXPECT_EQ(0, edit->OnControlScroll(1, 1, CPoint(60, 50)));
  EXPECT_FALSE(edit->Sent(WM_VSCROLL, SB_LINEDOWN));
  for (int line = 0; line < 20; ++line) edit->AppendText(L"line\r");
  ASSERT_EQ(1, bar->IsVisible()) << "twenty lines overflow the text area";
  EXPECT_EQ(1, edit->OnControlScroll(1, 1, CPoint(60, 50)));
  EXPECT_TRUE(edit->Sent(WM_VSCROLL, SB_LINEDOWN));
}

// The items of the menu being shown, read by a thread timer while the menu's loop runs.
std::vector<std::pair<UINT, bool>>* g_menuItems = nullptr;
int g_menuTicks = 0;

void CALLBACK ReadShownMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  // Bounded: a menu that never shows ends the loop after two seconds with nothing read.
  if (!menuWindow && ++g_menuTicks < 40) return;
  HMENU menu = menuWindow ? reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0)) : nullptr;
  for (int i = 0; menu && g_menuItems && i < GetMenuItemCount(menu); ++i) {
    const UINT item = GetMenuItemID(menu, i);
    if (item != 0 && item != static_cast<UINT>(-1)) {
      g_menuItems->push_back({item, (GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0});
    }
  }
  KillTimer(nullptr, id);
  EndMenu();
}

// Opens the control's context menu at a client point and reads the states of its items
// (true: greyed) while it is shown, then dismisses it.
std::vector<std::pair<UINT, bool>> ReadContextMenu(ControlHost& host, MRichEdit& edit, CPoint at) {
  std::vector<std::pair<UINT, bool>> read;
  g_menuItems = &read;
  g_menuTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadShownMenu);
  const CPoint screen = host.ToScreen(at);
  edit.OnWindowMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(host.GetSafeHwnd()), MAKELPARAM(screen.x, screen.y));
  KillTimer(nullptr, timer);
  g_menuItems = nullptr;
  return read;
}

TEST_F(RichEditTest, TheContextMenuGreysWhatCannotBeDone) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  edit->SetControlTitle(L"some text");
  edit->SetSel(0, 4);
  using Items = std::vector<std::pair<UINT, bool>>;
  // Undo 101, Redo 107, Cut 102, Copy 103, Paste 104, Clear 105, Select all 106; true: greyed.
  const Items withSelection = ReadContextMenu(host, *edit, CPoint(60, 50));
  ASSERT_EQ(7u, withSelection.size()) << "seven commands and two separators";
  EXPECT_EQ((std::pair<UINT, bool>{102, false}), withSelection[2]);
  EXPECT_EQ((std::pair<UINT, bool>{103, false}), withSelection[3]);
  EXPECT_EQ((std::pair<UINT, bool>{105, false}), withSelection[5]);
  EXPECT_EQ((std::pair<UINT, bool>{106, false}), withSelection[6]);

  edit->SetSelNone();
  const Items empty = ReadContextMenu(host, *edit, CPoint(60, 50));
  ASSERT_EQ(7u, empty.size());
  EXPECT_TRUE(empty[3].second) << "an empty selection greys Copy";
  EXPECT_TRUE(empty[2].second) << "and Cut";

  edit->SetSel(0, 4);
  edit->SetReadOnly(1);
  const Items readOnly = ReadContextMenu(host, *edit, CPoint(60, 50));
  ASSERT_EQ(7u, readOnly.size());
  EXPECT_TRUE(readOnly[2].second) << "Cut";
  EXPECT_FALSE(readOnly[3].second) << "Copy stays";
  EXPECT_TRUE(readOnly[4].second) << "Paste";
  EXPECT_TRUE(readOnly[5].second) << "Clear";

  EXPECT_TRUE(ReadContextMenu(host, *edit, CPoint(300, 250)).empty()) << "outside the control no menu opens";
}

TEST_F(RichEditTest, TextRangesLinesAndRtfFiles) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  edit->SetControlTitle(L"0123456789");
  EXPECT_EQ(std::wstring(L"56789"), W(edit->GetTextRange(5, -1))) << "end -1 reads to the end";
  EXPECT_EQ(std::wstring(L"234"), W(edit->GetTextRange(2, 5)));
  EXPECT_TRUE(edit->GetTextRange(9, 3).IsEmpty()) << "an end before the start reads nothing";
  // Lines are read from a single-line field: Wine's engine keeps the layout width it was
  // created with (none) and breaks a multi-line text after every character.
  auto* line = Make<Probed<TESK::MEditEx>>(kId + 2, CRect(20, 180, 220, 210), L"", 1, 1);
  line->SetControlTitle(L"0123456789");
  EXPECT_TRUE(line->GetLine(0, -1).IsEmpty());
  EXPECT_TRUE(line->GetLine(0, 0).IsEmpty());
  EXPECT_EQ(std::wstring(L"0123"), W(line->GetLine(0, 4)));
  line->SetControlTitle(L"");
  const std::wstring empty = W(line->GetLine(0, 65));
  EXPECT_TRUE(empty.empty() || empty == L"\r") << "an empty line gives at most its end, never the buffer's size 'A'";

  edit->SetControlTitle(L"saved as rich text");
  testsupport::TempFolder folder(L"richedit");
  const std::wstring path = folder.Path() + L"\\text.rtf";
  EXPECT_EQ(S_OK, edit->SaveRtf(path.c_str()));
  EXPECT_TRUE(MoveFileW(path.c_str(), (path + L".moved").c_str())) << "the file is closed after saving";
  auto* other = Make<ProbedEdit>(kId + 1, CRect(20, 130, 220, 170), L"", 1, 1);
  EXPECT_EQ(S_OK, other->LoadRtf((path + L".moved").c_str()));
  EXPECT_EQ(std::wstring(L"saved as rich text"), W(other->GetTitle()));
  EXPECT_EQ(std::wstring(L"saved as rich text"), W(other->Mirror())) << "loading is a change too";
  EXPECT_TRUE(DeleteFileW((path + L".moved").c_str())) << "the file is closed after loading";
  EXPECT_EQ(E_FAIL, other->LoadRtf((folder.Path() + L"\\missing.rtf").c_str()));
  EXPECT_EQ(E_FAIL, edit->SaveRtf((folder.Path() + L"\\no folder\\text.rtf").c_str()));
}

TEST_F(RichEditTest, AcceptingDroppedFilesKeepsTheChangeEvents) {
  ProbedEdit* edit = MakeEdit();
  ASSERT_NE(nullptr, edit->Host());
  EXPECT_FALSE(edit->SetDropAcceptFile(TRUE)) << "the mask before was not empty";
  EXPECT_EQ(static_cast<DWORD>(ENM_CHANGE | ENM_DROPFILES | ENM_LINK), edit->GetEventMask());
  edit->SetControlFocus(1);
  Type(L"xy");
  EXPECT_EQ(std::wstring(L"xy"), W(edit->Mirror()));
}

// ---- Variants ----

TEST_F(RichEditTest, EditExCentresItsTextAreaVertically) {
  const struct {
    int height;
    int padding;
  } cases[] = {{40, 12}, {15, -1}};
  UINT id = kId;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    auto* edit = Make<Probed<TESK::MEditEx>>(id++, CRect(20, 20, 220, 20 + c.height), L"tip", 1, 1);
    ASSERT_NE(nullptr, edit->Host());
    const RECT client = edit->Client();
    EXPECT_EQ(20 + c.padding, client.top);
    EXPECT_EQ(20 + c.height - c.padding, client.bottom);
    EXPECT_EQ(25, client.left);
    EXPECT_EQ(215, client.right) << "single line: no vertical bar is taken off";
    EXPECT_EQ(0u, edit->Bits(TXTBIT_MULTILINE | TXTBIT_WORDWRAP));
  }
}

TEST_F(RichEditTest, SpinFieldStepsWrapsAndClampsTypedText) {
  // The skin's button strips (18 x 12 frames), unless the skin staged beside the tests has them.
  for (const wchar_t* strip : {L"img_spin_up.png", L"img_spin_down.png"}) {
    if (GetFileAttributesW((std::wstring(TESK::GetSkinFolder().GetString()) + L"\\" + strip).c_str()) ==
        INVALID_FILE_ATTRIBUTES) {
      ASSERT_TRUE(testsupport::WriteStrip(strip, 18, 12, kFaceCells));
    }
  }
  auto* spin = host.Add<TESK::CSpinButton>(L"CSpinButton", kId, CRect(20, 20, 120, 50));
  ASSERT_NE(nullptr, spin);
  spin->SetFont(InstalledFamily(), 12, Gdiplus::FontStyleRegular);
  TESK::MControl* up = spin->GetControl(30);
  TESK::MControl* down = spin->GetControl(31);
  ASSERT_NE(nullptr, up);
  ASSERT_NE(nullptr, down);
  EXPECT_EQ(CRect(120 - 18 - 4, 35 - 12 - 1, 116, 34), up->GetRect()) << "the strips are 18 x 12";
  EXPECT_EQ(CRect(98, 36, 116, 48), down->GetRect());

  const auto click = [&](TESK::MControl* button) {
    const CRect r = button->GetRect();
    host.Click(CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  };
  spin->SetCurValue(100);
  host.ClearJournal();
  click(up);
  EXPECT_EQ(0, spin->GetCurValue()) << "up at the maximum wraps to the minimum";
  EXPECT_EQ(std::wstring(L"0"), W(spin->GetTitle()));
  const std::vector<std::string> notes = host.Notifications();
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ("40 notify 28 (0, 0)", notes.back());
  click(down);
  EXPECT_EQ(100, spin->GetCurValue()) << "down at the minimum wraps to the maximum";

  spin->SetControlFocus(1);
  spin->SetSelAll();
  Type(L"250");
  EXPECT_EQ(100, spin->GetCurValue());
  EXPECT_EQ(std::wstring(L"100"), W(spin->GetTitle())) << "typed text beyond the maximum shows the maximum";
  Type(L"4");
  EXPECT_EQ(std::wstring(L"100"), W(spin->GetTitle())) << "a digit more at the maximum still shows the maximum";
  host.ClearJournal();
  spin->SetCurValue(5);
  spin->SetSelAll();
  spin->ReplaceSel(L"123456789012");
  EXPECT_EQ(100, spin->GetCurValue());
  EXPECT_EQ(std::wstring(L"100"), W(spin->GetTitle())) << "twelve digits saturate, then clamp";
  EXPECT_TRUE(host.Notifications().empty()) << "typing notifies nothing";

  spin->SetCurValue(5);
  spin->Clear();
  EXPECT_EQ(0, spin->GetCurValue());
  EXPECT_EQ(std::wstring(L"0"), W(spin->GetTitle())) << "an emptied field counts as 0";
  host.ClearJournal();
  spin->SetCurValue(0);
  EXPECT_TRUE(host.Repaints(kId).empty()) << "the current value asks no repaint";

  spin->SetEnabled(0);
  EXPECT_EQ(0, up->IsEnabled());
  EXPECT_EQ(0, down->IsEnabled());
}

TEST(SpinValueTest, TextParsesWithSaturation) {
  const struct {
    const wchar_t* text;
    int value;
  } cases[] = {{L"", 0},           {L"abc", 0},         {L"42", 42},           {L"  -17x", -17},
               {L"+8", 8},         {L"2147483647", INT_MAX}, {L"123456789012", INT_MAX},
               {L"-99999999999999999999", INT_MIN}};
  for (const auto& c : cases) EXPECT_EQ(c.value, TESK::ParseSpinValue(c.text)) << testing::PrintToString(std::wstring(c.text));
}

TEST_F(RichEditTest, LogonEditMovesItsLabelWhenFilled) {
  auto* logon = Make<Probed<TESK::CLogonEdit>>(kId, CRect(0, 0, 300, 60), L"Account", 1, 1);
  ASSERT_NE(nullptr, logon->Host());
  const RECT client = logon->Client();
  EXPECT_EQ(RECT({50, 14, 295, 55}).top, client.top);
  EXPECT_EQ(50, client.left);
  EXPECT_EQ(55, client.bottom);
  // The label's grey ink over the window's lighter grey, read from the control's own drawing
  // (Wine's engine paints the text area opaque over it).
  const auto labelBox = [&](const RECT& area) {
    host.Compose(*std::make_unique<testsupport::DibSurface>(host.width(), host.height()));
    testsupport::DibSurface cell(300, 60);
    BitBlt(cell.dc(), 0, 0, 300, 60, logon->Cache(), 0, 0, SRCCOPY);
    return cell.InkBox(area, [](DWORD rgb) {
      const int r = GetRValue(rgb);
      return r == GetGValue(rgb) && r == GetBValue(rgb) && r < 0xC0;
    });
  };
  // Large while empty, in the box of 16 pixels centred in the padded area: from
  // (50, (60 - 14 - 5 - 16) / 2 + 14 + 1) = (50, 27).
  const RECT large = labelBox(RECT{0, 0, 300, 58});
  EXPECT_GE(large.left, 50);
  EXPECT_GE(large.top, 27);
  EXPECT_LE(large.bottom, 27 + 16);
  EXPECT_GT(large.bottom - large.top, 7) << "14-pixel letters";

  logon->SetControlTitle(L"x");
  const RECT small = labelBox(RECT{0, 0, 300, 58});
  EXPECT_GE(small.left, 2);
  EXPECT_LE(small.right, 60) << "the small label sits at the top left";
  EXPECT_LE(small.bottom, 16);
  EXPECT_LT(small.bottom - small.top, large.bottom - large.top);
  EXPECT_GT(small.right - small.left, 10);
}

TEST_F(RichEditTest, BothFactoriesMakeTheRichEditsWithTheTitleAsTip) {
  TESK::MPanel panel(&host, 8, CRect(0, 0, 300, 300), 1);
  for (const wchar_t* name : {L"MRichEdit", L"MEditEx"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    MRichEdit* made[] = {host.Add<MRichEdit>(name, 5, CRect(0, 0, 100, 30), L"tip"),
                         dynamic_cast<MRichEdit*>(panel.CreateControl(name, 6, CRect(0, 0, 100, 30), L"tip", 1, 0))};
    for (MRichEdit* edit : made) {
      ASSERT_NE(nullptr, edit);
      EXPECT_EQ(std::wstring(L"tip"), W(edit->GetTipInfo()));
      EXPECT_TRUE(edit->GetTitle().IsEmpty());
      EXPECT_EQ(1, edit->IsTabStop());
      EXPECT_EQ(1, edit->IsEnabled()) << "the second int is not used";
    }
  }
  EXPECT_NE(nullptr, dynamic_cast<TESK::CSpinButton*>(panel.CreateControl(L"CSpinButton", 7, CRect(), L"", 1, 1)));
}

}  // namespace

// ---- Without the engine ----
// Run by the second ctest entry, which disables Msftedit.dll in Wine; skipped elsewhere.

class RichEditNoEngineTest : public RichEditTest {
protected:
  void SetUp() override {
    if (!std::getenv("TAVIR_NO_TEXT_ENGINE")) GTEST_SKIP() << "the text engine is there in this run";
    HMODULE engine = LoadLibraryW(L"Msftedit.dll");
    ASSERT_EQ(nullptr, engine) << "Msftedit.dll must be disabled in this run";
    m_face = L"richedittest_noengine_face.png";
    RichEditTest::SetUp();
  }
};

TEST_F(RichEditNoEngineTest, ControlsWorkWithoutAHostAndTheWrappersStayNeutral) {
  ProbedEdit* edit = MakeEdit(CRect(20, 20, 220, 60));
  EXPECT_EQ(nullptr, edit->Host());
  LRESULT result = 77;
  EXPECT_EQ(S_FALSE, edit->TxSendMessage(EM_GETLINECOUNT, 0, 0, &result));
  EXPECT_EQ(77, result) << "the result is left untouched";
  EXPECT_EQ(0, edit->GetTextLength());
  EXPECT_FALSE(edit->GetModify());
  EXPECT_FALSE(edit->CanUndo());
  EXPECT_FALSE(edit->SetZoom(2, 1));
  EXPECT_FALSE(edit->SetDropAcceptFile(TRUE));
  EXPECT_EQ(nullptr, edit->GetTxDropTarget());
  EXPECT_TRUE(edit->GetSelText().IsEmpty());
  EXPECT_TRUE(edit->GetTextRange(0, -1).IsEmpty());
  EXPECT_TRUE(edit->GetLine(0, 10).IsEmpty());
  EXPECT_EQ(0, edit->GetLineCount());
  CHARFORMAT2W format = {};
  EXPECT_FALSE(edit->SetDefaultCharFormat(format));
  testsupport::TempFolder folder(L"richedit-none");
  const std::wstring path = folder.Path() + L"\\kept.rtf";
  EXPECT_NE(S_OK, edit->SaveRtf(path.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str())) << "no file is made without an engine";
  edit->Clear();
  edit->SetReadOnly(1);
  edit->SetReadOnly(0);
  edit->SetTextColor(Gdiplus::Color(255, 0, 0, 0));
  edit->SetControlTitle(L"kept");
  EXPECT_EQ(std::wstring(L"kept"), W(edit->GetTitle())) << "the title is the text";
  edit->SetControlTitle(L"");

  // The face and its grey tip are drawn; the mouse still changes the state.
  testsupport::DibSurface surface(host.width(), host.height());
  host.Compose(surface);
  EXPECT_GT(surface.Count(180, 40, 218, 58, 0xE0E0E0), 0) << "the normal cell";
  RECT tip = surface.InkBox(RECT{20, 20, 220, 60}, [](DWORD rgb) {
    const int r = GetRValue(rgb);
    return r == GetGValue(rgb) && r == GetBValue(rgb) && r < 0xC0;
  });
  EXPECT_GT(tip.right - tip.left, 10) << "the tip shows while the title is empty";
  host.MoveTo(CPoint(60, 40));
  EXPECT_EQ(0xC0D0E0u, host.PixelAt(200, 50)) << "the hover cell";
  host.Press(CPoint(60, 40));
  EXPECT_EQ(1, edit->IsFocused());
  EXPECT_EQ(0xA0C0F0u, host.PixelAt(200, 50)) << "the focused cell";
  host.Release(CPoint(60, 40));
  Type(L"abc");
  EXPECT_EQ(0, edit->OnWindowMessage(WM_CONTEXTMENU, 0, MAKELPARAM(0, 0)));

  auto* spin = host.Add<TESK::CSpinButton>(L"CSpinButton", kId + 1, CRect(20, 80, 120, 110));
  ASSERT_NE(nullptr, spin);
  ASSERT_NE(nullptr, spin->GetControl(30));
  EXPECT_TRUE(spin->GetControl(30)->GetRect().IsRectEmpty()) << "without a host the buttons are not placed";
  spin->OnMessage(30, TESK::NOTIFY_CLICKED, 0, 0);
  EXPECT_EQ(1, spin->GetCurValue()) << "the value still changes through the buttons";
  auto* logon = Make<Probed<TESK::CLogonEdit>>(kId + 2, CRect(20, 120, 320, 180), L"Account", 1, 1);
  host.Compose(surface);
  EXPECT_EQ(nullptr, logon->Host());
}
