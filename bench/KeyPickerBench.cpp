// Times the keyboard-shaped key picker at the key page's size (1155 x 290): the re-render
// after a hover change (the picker's drawing with the window's composition of its
// rectangle), with labels only and with 111 key pictures, and InitItemInfo with and without
// the pictures. Prints microseconds per call. Run by hand; not a test.
#include <windows.h>

#include <cstdio>
#include <string>

#include "BitmapProbe.h"
#include "ControlHost.h"
#include "ProgramInstance.h"
#include "Stopwatch.h"
#include "ui/core/Manager.h"
#include "ui/keyboard/KeyFuncControl.h"
#include "ui/keyboard/KeyPickerLayout.h"

using namespace TESK;
using testsupport::MicrosecondsPerCall;

namespace {

std::wstring PictureName(int usage) {
  wchar_t name[64];
  swprintf(name, 64, L"character\\key_0x%x.png", usage);
  return name;
}

// Writes (or, with write false, removes) a two-frame 40 x 40 picture for every plain entry.
void KeyPictures(bool write) {
  const KeyPickerEntry* entries = KeyPickerEntries();
  for (int i = 0; i < kKeyPickerEntryCount; ++i) {
    if (entries[i].data != 0) continue;
    const std::wstring name = PictureName(entries[i].usage);
    if (write) {
      testsupport::WriteStrip(name.c_str(), 40, 40, {0xFF2050A0, 0xFF40A0FF});
    } else {
      DeleteFileW((std::wstring(GetSkinFolder()) + name).c_str());
    }
  }
}

struct Figures {
  double hover, init;
};

Figures Measure(testsupport::ControlHost& host, KeyFuncControl* picker) {
  const CRect client(0, 0, host.width(), host.height());
  testsupport::DibSurface surface(host.width(), host.height());
  const double init = MicrosecondsPerCall(10, [&](int) { picker->InitItemInfo(); });
  CRect f1(KeyPickerFullGeometry().cells[1]), f2(KeyPickerFullGeometry().cells[2]);
  f1.OffsetRect(picker->GetRect().TopLeft());
  f2.OffsetRect(picker->GetRect().TopLeft());
  const double hover = MicrosecondsPerCall(100, [&](int i) {
    host.MoveTo((i % 2 ? f1 : f2).CenterPoint());  // each move changes the hovered cell
    host.GetPaintManager()->ComposeWindow(surface.dc(), surface.bitmap(), client, picker->GetRect());
  });
  return {hover, init};
}

}  // namespace

int wmain() {
  testsupport::GdiplusSession gdiplus;
  testsupport::ProgramInstance instance;
  Figures figures[2] = {};
  for (int pictures = 0; pictures < 2; ++pictures) {
    KeyPictures(pictures == 1);
    testsupport::ControlHost host(1165, 300);
    auto* picker = new KeyFuncControl(&host, 5, CRect(5, 5, 1160, 295), 1);
    host.Adopt(picker);
    picker->SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    picker->SetFont(L"DejaVu Sans", 12, Gdiplus::FontStyleRegular);
    figures[pictures] = Measure(host, picker);
  }
  KeyPictures(false);
  std::printf("key picker 1155 x 290, 131 entries\n");
  std::printf("hover change, labels           %10.1f us\n", figures[0].hover);
  std::printf("hover change, 111 pictures     %10.1f us\n", figures[1].hover);
  std::printf("InitItemInfo, no pictures      %10.1f us\n", figures[0].init);
  std::printf("InitItemInfo, 111 pictures     %10.1f us\n", figures[1].init);
  return 0;
}
