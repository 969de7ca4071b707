// The windowless rich edit over the platform's text engine: the host's answers to the
// engine, typing and the title mirror through the window's messages, the wrappers, the
// context menu, files, the three variants, and (in a second run without the engine) the
// control's neutral behaviour.
#include "ui/controls/MRichEdit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
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
  DWORD Bits(DWORD mask) const {
    DWORD bits = 0;
    Host()->TxGetPropertyBits(mask, &bits);
    return bits;
  }
};
using ProbedEdit = Probed<MRichEdit>;

const wchar_t* InstalledFamily() {
  for (const wchar_t* name : {L"Tahoma", L"DejaVu Sans", L"Liberation Sans", L"Noto Sans"}) {
    if (Gdiplus::FontFamily(name).IsAvailable()) return name;
  }
  return L"Tahoma";
}

class RichEditTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testsupport::WriteStrip(L"richedittest_face.png", 12, 40, kFaceCells));
    host.Activate();
  }

  // A control of class T made by the test and adopted by the host's engine (which creates
  // the text host); the strip and an installed face given first.
  template <class T = ProbedEdit, class... Args>
  T* Make(Args&&... args) {
    auto* control = new T(&host, std::forward<Args>(args)...);
    control->SetImage(L"richedittest_face.png", 4);
    control->SetFont(InstalledFamily(), 12, Gdiplus::FontStyleRegular);
    host.Adopt(control);
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
  EXPECT_EQ(CString(L"abc"), edit->GetTitle());
  EXPECT_EQ(CString(L"abc"), edit->Mirror());
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kId)) << "one repaint, as the tip hides";

  host.ClearJournal();
  edit->SetSelAll();
  SendMessageW(host.GetSafeHwnd(), WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_TRUE(edit->Mirror().IsEmpty());
  EXPECT_EQ(std::vector<int>{1}, host.Repaints(kId)) << "the tip shows again";

  edit->SetControlTitle(L"hello world");
  EXPECT_EQ(CString(L"hello world"), edit->GetTitle());
  edit->SetSel(0, 5);
  EXPECT_EQ(CString(L"hello"), edit->GetSelText());
  edit->Clear();
  EXPECT_TRUE(edit->GetTitle().IsEmpty()) << "Clear removes the whole text";

  edit->SetReadOnly(1);
  Type(L"q");
  EXPECT_TRUE(edit->GetTitle().IsEmpty()) << "read-only ignores typing";
}

}  // namespace
