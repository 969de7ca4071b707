#include "ui/core/MDialog.h"
#include "ui/core/MAirBladder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProgramInstance.h"

using namespace TESK;

namespace {

// Overrides every one of the 40 virtual operations and records each call, in order, before
// running the library's own; so a handler reached through the wrong slot or never reached
// shows in the log.
class RecordingDialog : public MDialog {
public:
  explicit RecordingDialog(bool* deleted = nullptr) : m_deleted(deleted) {}
  ~RecordingDialog() override {
    if (m_deleted) *m_deleted = true;
  }
  const wchar_t* GetWindowClassName() const override {
    Note("GetWindowClassName");
    return MDialog::GetWindowClassName();
  }
  const wchar_t* GetSuperClassName() const override {
    Note("GetSuperClassName");
    return MDialog::GetSuperClassName();
  }
  int ShowWindow(int show) override {
    Note("ShowWindow");
    return MDialog::ShowWindow(show);
  }
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    Note("OnWindowMessage");
    return MDialog::OnWindowMessage(message, wParam, lParam);
  }
  int PreTranslateMessage(MSG* msg) override {
    Note("PreTranslateMessage");
    return MDialog::PreTranslateMessage(msg);
  }
  int OnInitDialog() override {
    Note("OnInitDialog");
    return MDialog::OnInitDialog();
  }
  void OnDestroyMessage(HWND hwnd) override {
    Note("OnDestroyMessage");
    MDialog::OnDestroyMessage(hwnd);
  }
  POINT GetAirBladderPoint(MControl* control, UINT type) override {
    Note("GetAirBladderPoint");
    return MDialog::GetAirBladderPoint(control, type);
  }
  void OnMinimize() override {
    Note("OnMinimize");
    MDialog::OnMinimize();
  }
  void OnMaximize() override {
    Note("OnMaximize");
    MDialog::OnMaximize();
  }
  void InitUI(CRect client) override {
    Note("InitUI");
    initClient = client;
  }
  void UISize(CRect client) override {
    Note("UISize");
    sizeClient = client;
  }
  LONG OnMessage(UINT id, UINT code, UINT, LONG) override {
    Note("OnMessage " + std::to_string(id) + " " + std::to_string(code));
    return 7;
  }
  LONG OnUserCloseWindow(UINT w, LONG l) override {
    Note("OnUserCloseWindow");
    return MDialog::OnUserCloseWindow(w, l);
  }
  int OnCreate(CREATESTRUCTW* c) override {
    Note("OnCreate");
    return MDialog::OnCreate(c);
  }
  int OnSize(UINT t, int cx, int cy) override {
    Note("OnSize");
    return MDialog::OnSize(t, cx, cy);
  }
  int OnMouseMove(UINT keys, CPoint pt) override { return NoteAt("OnMouseMove", pt, MDialog::OnMouseMove(keys, pt)); }
  int OnMouseLeave(UINT w, LONG l) override {
    Note("OnMouseLeave");
    return MDialog::OnMouseLeave(w, l);
  }
  int OnMouseHover(UINT w, LONG l) override {
    Note("OnMouseHover");
    return MDialog::OnMouseHover(w, l);
  }
  int OnMouseWheel(UINT keys, short delta, CPoint pt) override {
    Note("OnMouseWheel");
    return MDialog::OnMouseWheel(keys, delta, pt);
  }
  int OnLButtonDown(UINT keys, CPoint pt) override {
    return NoteAt("OnLButtonDown", pt, MDialog::OnLButtonDown(keys, pt));
  }
  int OnLButtonUp(UINT keys, CPoint pt) override { return NoteAt("OnLButtonUp", pt, MDialog::OnLButtonUp(keys, pt)); }
  int OnLButtonDblClk(UINT keys, CPoint pt) override {
    return NoteAt("OnLButtonDblClk", pt, MDialog::OnLButtonDblClk(keys, pt));
  }
  int OnRButtonDown(UINT keys, CPoint pt) override {
    return NoteAt("OnRButtonDown", pt, MDialog::OnRButtonDown(keys, pt));
  }
  int OnRButtonUp(UINT keys, CPoint pt) override { return NoteAt("OnRButtonUp", pt, MDialog::OnRButtonUp(keys, pt)); }
  int OnRButtonDblClk(UINT keys, CPoint pt) override {
    return NoteAt("OnRButtonDblClk", pt, MDialog::OnRButtonDblClk(keys, pt));
  }
  int OnKeyDown(UINT key, UINT count, UINT flags) override {
    Note("OnKeyDown");
    return MDialog::OnKeyDown(key, count, flags);
  }
  int OnNcHitTest(CPoint pt) override {
    Note("OnNcHitTest");
    return MDialog::OnNcHitTest(pt);
  }
  int OnGetMinMaxInfo(MINMAXINFO* info) override {
    Note("OnGetMinMaxInfo");
    return MDialog::OnGetMinMaxInfo(info);
  }
  int OnNcCalcSize(int calc, NCCALCSIZE_PARAMS* params) override {
    Note("OnNcCalcSize");
    return MDialog::OnNcCalcSize(calc, params);
  }
  int OnNcActivate(int active) override {
    Note("OnNcActivate " + std::to_string(active));
    return MDialog::OnNcActivate(active);
  }
  int OnWindowPosChanging(WINDOWPOS* p) override {
    Note("OnWindowPosChanging");
    return MDialog::OnWindowPosChanging(p);
  }
  int OnWindowPosChanged(WINDOWPOS* p) override {
    Note("OnWindowPosChanged");
    return MDialog::OnWindowPosChanged(p);
  }
  int OnPaint() override {
    Note("OnPaint");
    return MDialog::OnPaint();
  }
  void OnTimer(UINT id) override { Note("OnTimer " + std::to_string(id)); }
  int OnNcPaint() override {
    Note("OnNcPaint");
    return MDialog::OnNcPaint();
  }
  int OnClose() override {
    Note("OnClose");
    return MDialog::OnClose();
  }
  int OnDestroy() override {
    Note("OnDestroy");
    return MDialog::OnDestroy();
  }
  int PostNcDestroy() override {
    Note("PostNcDestroy");
    return MDialog::PostNcDestroy();
  }

  // The names in log that are in wanted, in order.
  std::vector<std::string> Only(std::initializer_list<const char*> wanted) const {
    std::vector<std::string> out;
    for (const std::string& entry : log) {
      if (std::any_of(wanted.begin(), wanted.end(), [&](const char* w) { return entry == w; })) out.push_back(entry);
    }
    return out;
  }
  bool Called(const std::string& name) const { return std::find(log.begin(), log.end(), name) != log.end(); }

  mutable std::vector<std::string> log;
  CRect initClient, sizeClient;

private:
  void Note(const std::string& name) const { log.push_back(name); }
  int NoteAt(const char* name, CPoint pt, int result) {
    Note(std::string(name) + " " + std::to_string(pt.x) + "," + std::to_string(pt.y));
    return result;
  }
  bool* m_deleted;
};

// A program-side dialog that appends a virtual operation of its own.
class ProgramDialog : public MDialog {
public:
  virtual int Extra() { return 42; }
};

// A control that records the raw window messages the engine offers it.
class RawMessageControl : public MControl {
public:
  explicit RawMessageControl(MObject* owner) : MControl(owner, 50, CRect(0, 0, 10, 10), 1, 1, 1) {}
  void DrawControl(HDC&, CRect) override {}
  LRESULT OnWindowMessage(UINT msg, WPARAM, LPARAM) override {
    messages.push_back(msg);
    return 0;
  }
  std::vector<UINT> messages;
};

class MDialogTest : public ::testing::Test {
protected:
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
};

void CALLBACK EndStuckLoop(HWND hwnd, UINT, UINT_PTR, DWORD) { PostMessageW(hwnd, WM_CLOSE, 99, 0); }

// Runs the dialog modally; a fallback timer ends a loop that would otherwise hang (result 99).
UINT RunModal(MDialog& dialog) {
  SetTimer(dialog.GetSafeHwnd(), 4321, 3000, EndStuckLoop);
  return dialog.ShowModal(SW_SHOWNOACTIVATE);
}

TEST_F(MDialogTest, CloseOperationsBecomeTheModalResult) {
  const struct {
    const char* name;
    void (MDialog::*close)();
    UINT result;
  } cases[] = {
      {"DoOK", &MDialog::DoOK, 1},   {"DoCancel", &MDialog::DoCancel, 2}, {"DoClose", &MDialog::DoClose, 2},
      {"DoYes", &MDialog::DoYes, 6}, {"DoNo", &MDialog::DoNo, 7},
  };
  for (const auto& c : cases) {
    MDialog dialog;
    ASSERT_NE(nullptr, dialog.Create(nullptr, L"modal", WS_POPUP, 0, CRect(0, 0, 100, 80)));
    (dialog.*c.close)();
    EXPECT_EQ(c.result, RunModal(dialog)) << c.name;
    EXPECT_FALSE(IsWindow(dialog.GetSafeHwnd())) << c.name;
  }
  MDialog windowless;
  windowless.DoOK();  // no window: nothing happens
}

TEST_F(MDialogTest, HandlersRunInOrderForCreateSizePaintAndClose) {
  bool deleted = false;
  auto* dialog = new RecordingDialog(&deleted);
  ASSERT_NE(nullptr, dialog->Create(nullptr, L"order", WS_POPUP, 0, CRect(0, 0, 100, 80)));
  EXPECT_EQ((std::vector<std::string>{"GetSuperClassName", "OnCreate", "OnInitDialog", "InitUI"}),
            dialog->Only({"GetSuperClassName", "OnCreate", "OnInitDialog", "InitUI"}));
  EXPECT_TRUE(dialog->Called("GetWindowClassName"));
  EXPECT_EQ(CRect(0, 0, 100, 80), dialog->initClient);
  dialog->log.clear();

  dialog->SetWindowPos(nullptr, 0, 0, 160, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ((std::vector<std::string>{"OnWindowPosChanging", "OnWindowPosChanged", "OnSize", "UISize"}),
            dialog->Only({"OnWindowPosChanging", "OnWindowPosChanged", "OnSize", "UISize"}));
  EXPECT_EQ(CRect(0, 0, 160, 90), dialog->sizeClient);

  dialog->log.clear();
  dialog->ShowWindow(SW_SHOWNOACTIVATE);
  UpdateWindow(dialog->GetSafeHwnd());
  EXPECT_EQ((std::vector<std::string>{"ShowWindow", "OnPaint"}), dialog->Only({"ShowWindow", "OnPaint"}))
      << "one paint after the show";

  dialog->log.clear();
  dialog->DoOK();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(dialog->GetSafeHwnd()); }, 2000));
  EXPECT_EQ((std::vector<std::string>{"OnUserCloseWindow", "OnClose", "OnDestroy", "OnDestroyMessage", "PostNcDestroy"}),
            dialog->Only({"OnUserCloseWindow", "OnClose", "OnDestroy", "OnDestroyMessage", "PostNcDestroy"}));
  EXPECT_TRUE(dialog->Called("OnWindowMessage"));
  delete static_cast<MWindow*>(dialog);
  EXPECT_TRUE(deleted) << "the destructor's slot";
}

// Mouse, hover, activation and timer messages reach their handlers with the sign-extended
// point; wheel, keys and the non-client messages never reach the dialog's handlers.
TEST_F(MDialogTest, MessagesReachOnlyTheHandlersTheyAreTranslatedTo) {
  RecordingDialog dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr, L"routing", WS_POPUP, 0, CRect(0, 0, 100, 80)));
  dialog.EnableWndDrag(0);  // a press on empty space would start a window move
  const LPARAM at = MAKELPARAM(-3, 7);
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* handler;
  } routed[] = {
      {WM_MOUSEMOVE, 0, at, "OnMouseMove -3,7"},
      {WM_LBUTTONDOWN, MK_LBUTTON, at, "OnLButtonDown -3,7"},
      {WM_LBUTTONUP, 0, at, "OnLButtonUp -3,7"},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, at, "OnLButtonDblClk -3,7"},
      {WM_RBUTTONDOWN, MK_RBUTTON, at, "OnRButtonDown -3,7"},
      {WM_RBUTTONUP, 0, at, "OnRButtonUp -3,7"},
      {WM_RBUTTONDBLCLK, MK_RBUTTON, at, "OnRButtonDblClk -3,7"},
      {WM_MOUSEHOVER, 0, at, "OnMouseHover"},
      {WM_MOUSELEAVE, 0, 0, "OnMouseLeave"},
      {WM_NCACTIVATE, 0, 0, "OnNcActivate 0"},
      {WM_TIMER, 5, 0, "OnTimer 5"},
  };
  for (const auto& r : routed) {
    dialog.log.clear();
    SendMessageW(dialog.GetSafeHwnd(), r.message, r.wParam, r.lParam);
    EXPECT_TRUE(dialog.Called(r.handler)) << r.handler;
  }

  MINMAXINFO limits = {};
  RECT frame = {0, 0, 100, 80};
  const struct {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } unrouted[] = {
      {WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(5, 5)},
      {WM_KEYDOWN, 'A', 0},
      {WM_NCHITTEST, 0, MAKELPARAM(5, 5)},
      {WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)},
      {WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&frame)},
      {WM_NCPAINT, 1, 0},
  };
  for (const auto& u : unrouted) SendMessageW(dialog.GetSafeHwnd(), u.message, u.wParam, u.lParam);
  for (const char* never :
       {"OnMouseWheel", "OnKeyDown", "OnNcHitTest", "OnGetMinMaxInfo", "OnNcCalcSize", "OnNcPaint"}) {
    EXPECT_FALSE(dialog.Called(never)) << never;
  }
  dialog.DestroyWindow();
}

TEST_F(MDialogTest, StyleSizeEraseAndNotifications) {
  RecordingDialog dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr, L"style", WS_OVERLAPPEDWINDOW, 0, CRect(0, 0, 200, 150)));
  const DWORD style = static_cast<DWORD>(GetWindowLongW(dialog.GetSafeHwnd(), GWL_STYLE));
  EXPECT_EQ(0u, style & (WS_CAPTION | WS_THICKFRAME)) << "caption and sizing frame removed";
  EXPECT_EQ(static_cast<DWORD>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x8),
            style & (WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x8));

  auto* raw = new RawMessageControl(static_cast<MObject*>(&dialog));
  auto* engine = static_cast<testsupport::OpenPaintManager*>(dialog.GetPaintManager());
  engine->AttachControl(1, raw);
  EXPECT_EQ(1, SendMessageW(dialog.GetSafeHwnd(), WM_ERASEBKGND, 0, 0));
  EXPECT_EQ(0, std::count(raw->messages.begin(), raw->messages.end(), static_cast<UINT>(WM_ERASEBKGND)))
      << "the erase never reaches the engine";

  dialog.ShowWindow(SW_SHOWMINNOACTIVE);
  dialog.log.clear();
  SendMessageW(dialog.GetSafeHwnd(), WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
  CRect client;
  GetClientRect(dialog.GetSafeHwnd(), &client);
  EXPECT_EQ(client.Width() > 1 && client.Height() > 1 ? 1u : 0u, dialog.Only({"UISize"}).size())
      << "UISize only for a client larger than 1 x 1, minimised or not";

  // A control's notification becomes OnMessage with its id and code.
  EXPECT_EQ(7, raw->SendMessageW(2, 0, 0));
  EXPECT_EQ("OnMessage 50 2", dialog.log.back());
  EXPECT_STREQ(L"MDialog", static_cast<MObject&>(dialog).GetClassNameW());
  dialog.DestroyWindow();
}

TEST_F(MDialogTest, DefaultMessageRectangleAndBalloonAnchor) {
  MDialog dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr, L"overlay", WS_POPUP, 0, CRect(100, 50, 700, 450)));
  dialog.SetMessage(L"saved", CRect(), MSG_LEVEL_INFO);
  testsupport::DibSurface surface(600, 400);
  dialog.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), CRect(0, 0, 600, 400),
                                          CRect(0, 0, 600, 400));
  // The overlay's outer frame is 0xB4B4B4 over (49, 330) - (551, 388).
  EXPECT_EQ(0xB4B4B4u, surface.Pixel(49, 330));
  EXPECT_EQ(0xB4B4B4u, surface.Pixel(550, 387));
  EXPECT_NE(0xB4B4B4u, surface.Pixel(48, 330));
  EXPECT_NE(0xB4B4B4u, surface.Pixel(49, 329));
  EXPECT_NE(0xB4B4B4u, surface.Pixel(551, 388));

  MControl* control = dialog.GetPaintManager()->GetControl(1);
  EXPECT_EQ(nullptr, control);
  POINT none = dialog.GetAirBladderPoint(nullptr, 1);
  EXPECT_EQ(0, none.x);
  EXPECT_EQ(0, none.y);
  RawMessageControl anchor(static_cast<MObject*>(&dialog));
  anchor.SetRect(CRect(10, 20, 50, 30));
  const struct {
    UINT type;
    LONG x;
  } types[] = {{0, 10}, {1, 30}, {2, 50}, {7, 10}};
  for (const auto& t : types) {
    const POINT pt = dialog.GetAirBladderPoint(&anchor, t.type);
    EXPECT_EQ(100 + t.x, pt.x) << "type " << t.type;
    EXPECT_EQ(50 + 30, pt.y) << "type " << t.type;
  }
  dialog.DestroyWindow();
}

// A balloon anchor with a zero coordinate means "no control" (GetAirBladderPoint).
TEST_F(MDialogTest, BalloonNeedsAnAnchorOffTheScreenEdgeAndAText) {
  MDialog dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr, L"balloon", WS_POPUP, 0, CRect(100, 50, 400, 250)));
  const auto type = static_cast<AIRBLADDER_TYPE>(1);
  EXPECT_EQ(0, dialog.SetAirBladderMsg(L"Tip", POINT{0, 80}, type));
  EXPECT_EQ(0, dialog.SetAirBladderMsg(L"Tip", POINT{120, 0}, type));
  EXPECT_EQ(nullptr, dialog.GetPaintManager()->GetAirBladder()) << "no balloon made for a zero coordinate";

  EXPECT_EQ(0, dialog.SetAirBladderMsg(nullptr, POINT{120, 80}, type));
  MAirBladder* balloon = dialog.GetPaintManager()->GetAirBladder();
  ASSERT_NE(nullptr, balloon);
  RECT placed = {};
  balloon->GetWindowRect(&placed);
  EXPECT_TRUE(IsRectEmpty(&placed)) << "a null text places nothing";

  EXPECT_EQ(1, dialog.SetAirBladderMsg(L"Tip", POINT{120, 80}, type));
  EXPECT_TRUE(balloon->IsWindowVisible());
  balloon->GetWindowRect(&placed);
  EXPECT_EQ(CPoint(95, 80), CRect(placed).TopLeft()) << "placed below the anchor";
  dialog.DestroyWindow();
}

TEST(MDialogLayoutTest, DialogKeepsFortyOperationsAndProgramDialogsMayAppend) {
  // A pointer to a virtual member holds 1 + the byte offset of its slot (this platform's
  // C++ ABI). The destructor takes two slots, so 40 operations end before slot 41.
  int (ProgramDialog::*extra)() = &ProgramDialog::Extra;
  struct {
    ptrdiff_t ptr;
    ptrdiff_t adj;
  } raw;
  static_assert(sizeof(extra) == sizeof(raw), "member pointers are two words");
  std::memcpy(&raw, &extra, sizeof(raw));
  EXPECT_EQ(41, (raw.ptr - 1) / static_cast<ptrdiff_t>(sizeof(void*)));
  ProgramDialog dialog;
  MDialog& base = dialog;
  EXPECT_EQ(0, base.OnMessage(1, 2, 3, 4));
  EXPECT_EQ(42, dialog.Extra());
}

}  // namespace
