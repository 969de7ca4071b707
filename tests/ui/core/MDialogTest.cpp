#include "ui/core/MDialog.h"

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

// Records the handlers that run, in order.
class RecordingDialog : public MDialog {
public:
  int OnInitDialog() override { log.push_back("OnInitDialog");
    return MDialog::OnInitDialog(); }
  void OnDestroyMessage(HWND hwnd) override {
    log.push_back("OnDestroyMessage");
    MDialog::OnDestroyMessage(hwnd);
  }
  void InitUI(CRect client) override {
    log.push_back("InitUI");
    initClient = client;
  }
  void UISize(CRect client) override {
    log.push_back("UISize");
    sizeClient = client;
  }
  LONG OnUserCloseWindow(UINT w, LONG l) override { log.push_back("OnUserCloseWindow");
    return MDialog::OnUserCloseWindow(w, l); }
  int OnCreate(CREATESTRUCTW* c) override { log.push_back("OnCreate");
    return MDialog::OnCreate(c); }
  int OnSize(UINT t, int cx, int cy) override { log.push_back("OnSize");
    return MDialog::OnSize(t, cx, cy); }
  int OnWindowPosChanged(WINDOWPOS* p) override { log.push_back("OnWindowPosChanged");
    return MDialog::OnWindowPosChanged(p); }
  int OnPaint() override { log.push_back("OnPaint");
    return MDialog::OnPaint(); }
  void OnTimer(UINT id) override { log.push_back("OnTimer " + std::to_string(id)); }
  int OnClose() override { log.push_back("OnClose");
    return MDialog::OnClose(); }
  int OnDestroy() override { log.push_back("OnDestroy");
    return MDialog::OnDestroy(); }
  int PostNcDestroy() override { log.push_back("PostNcDestroy");
    return MDialog::PostNcDestroy(); }
  LONG OnMessage(UINT id, UINT code, UINT, LONG) override {
    log.push_back("OnMessage " + std::to_string(id) + " " + std::to_string(code));
    return 7;
  }

  // The names in log that are in wanted, in order.
  std::vector<std::string> Only(std::initializer_list<const char*> wanted) const {
    std::vector<std::string> out;
    for (const std::string& entry : log) {
      if (std::any_of(wanted.begin(), wanted.end(), [&](const char* w) { return entry == w; })) out.push_back(entry);
    }
    return out;
  }

  std::vector<std::string> log;
  CRect initClient, sizeClient;

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
  RecordingDialog dialog;
  ASSERT_NE(nullptr, dialog.Create(nullptr, L"order", WS_POPUP, 0, CRect(0, 0, 100, 80)));
  EXPECT_EQ((std::vector<std::string>{"OnCreate", "OnInitDialog", "InitUI"}),
            dialog.Only({"OnCreate", "OnInitDialog", "InitUI"}));
  EXPECT_EQ(CRect(0, 0, 100, 80), dialog.initClient);
  dialog.log.clear();

  dialog.SetWindowPos(nullptr, 0, 0, 160, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ((std::vector<std::string>{"OnWindowPosChanged", "OnSize", "UISize"}),
            dialog.Only({"OnWindowPosChanged", "OnSize", "UISize"}));
  EXPECT_EQ(CRect(0, 0, 160, 90), dialog.sizeClient);

  dialog.log.clear();
  dialog.ShowWindow(SW_SHOWNOACTIVATE);
  UpdateWindow(dialog.GetSafeHwnd());
  EXPECT_EQ(1u, dialog.Only({"OnPaint"}).size());

  dialog.log.clear();
  dialog.DoOK();
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !IsWindow(dialog.GetSafeHwnd()); }, 2000));
  EXPECT_EQ((std::vector<std::string>{"OnUserCloseWindow", "OnClose", "OnDestroy", "OnDestroyMessage", "PostNcDestroy"}),
            dialog.Only({"OnUserCloseWindow", "OnClose", "OnDestroy", "OnDestroyMessage", "PostNcDestroy"}));
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
