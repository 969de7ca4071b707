// Times the on-screen keyboard's painting: Lynt 80 from its staged layout file, with the
// installation's skins and fonts, at the program's rectangle, in modes 101 and 105:
//  - a full redraw: the control marked stale and the window composed;
//  - a single-key redraw: one live-travel sample sent from a worker thread, as the device
//    worker sends it, then the paint its queued request causes on the window's thread (the
//    control renders every key again, its 1 ms pause included);
//  - the cached copy: the window composed from the control's cached picture.
// Prints milliseconds per call. Run by hand from build/<arch>/bin; not a test.
#include <windows.h>

#include <cstdio>
#include <thread>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "Stopwatch.h"
#include "layouts/KeyboardFill.h"
#include "layouts/LayoutFile.h"
#include "ui/core/Manager.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyboardCtrl.h"

using TESK::KeyboardCtrl;
using testsupport::MicrosecondsPerCall;

namespace {

// The staged program folder seen from the skin folder of this program (build/<arch>/bin).
const wchar_t kStagedSkins[] = L"..\\..\\..\\program\\skins\\theme1\\";

CString StagedFile(const wchar_t* relative) { return TESK::GetProgramFolder() + L"..\\program\\" + relative; }

}  // namespace

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  testsupport::ControlHost host(1400, 860);
  TESK::PaintManager* engine = host.GetPaintManager();
  for (const wchar_t* weight : {L"Regular", L"Light"}) {
    const CString family = CString(L"SourceHanSansCN-") + weight;
    if (!engine->AddTempFont(family, StagedFile(L"fonts\\") + family + L".otf")) {
      std::printf("font %ls not found in the staged program folder\n", family.GetString());
    }
  }
  const testsupport::Layout layout = testsupport::ReadLayout(
      testsupport::Env("TAVIR_PROGRAM_DIR").empty() ? "../program/layouts/Lynt 80.xml" : testsupport::LayoutPath("Lynt 80"));
  if (layout.keys.empty()) {
    std::printf("no layout: run from build/<arch>/bin or set TAVIR_PROGRAM_DIR\n");
    return 1;
  }
  auto* keyboard = host.Add<KeyboardCtrl>(L"KeyboardCtrl", 80, CRect(280, 100, 1280, 480));
  keyboard->SetKeyState2Image(CString(kStagedSkins) + L"img_key_hover.png");
  keyboard->SetKeyState3Image(CString(kStagedSkins) + L"icon\\img_key3.png");
  keyboard->SetKeyState1Image(CString(kStagedSkins) + L"img_key_dks.png");
  keyboard->SetKeyboardImage(CString(kStagedSkins) + L"keyboard\\kb_bkg.png");
  keyboard->SetFont(L"SourceHanSansCN-Regular", 12, Gdiplus::FontStyleRegular);
  testsupport::FillKeyboard(*keyboard, layout);
  for (TESK::KEY_INFO* key : keyboard->GetKeyItems()) {
    key->key_mode = key->index % 2;  // half the keys show rapid-trigger values
    key->type = key->index % 9 == 0 ? 14 + key->index % 6 : 2;
  }

  testsupport::DibSurface surface(1400, 860);
  const CRect client(0, 0, 1400, 860);
  std::printf("Lynt 80, %zu keys, control (280, 100, 1280, 480) in a 1400 x 860 window\n", layout.keys.size());
  // Mode 99 draws no keys: the picture and the window's composition alone.
  for (int mode : {99, int{TESK::KBMODE_CUSTOM}, int{TESK::KBMODE_PERF}}) {
    keyboard->SetKeyboardCtrlMode(mode);
    const double full = MicrosecondsPerCall(30, [&](int) {
      keyboard->SetUpdate(0, 0);
      engine->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    });
    const int code = layout.keys[40].code;
    const double single = MicrosecondsPerCall(30, [&](int i) {
      std::thread worker([&] { keyboard->SetKeyActuation(code, i % 41); });
      worker.join();
      UpdateWindow(host.GetSafeHwnd());
    });
    const double cached = MicrosecondsPerCall(30, [&](int) {
      engine->ComposeWindow(surface.dc(), surface.bitmap(), client, client);
    });
    std::printf("mode %d: full redraw %8.2f ms, single-key redraw %8.2f ms, cached copy %8.2f ms\n", mode,
                full / 1000, single / 1000, cached / 1000);
  }
  return 0;
}
