// Benchmark (not a test): profile files with the real main window (the page fixture) and the
// simulated Lynt 80 (87 keys) connected, its store filled as a busy user's: every key row of
// the twelve layers, 87 performance rows, the light modes, 87 colours and ten macros. Times the
// export (store reads and the scrambled write), the import (parse, checks and store writes, up
// to the wait dialog) and the apply task against the simulated keyboard (time and frames), and
// the parse and checks of a file with ten macros of 300 events, which the macro area refuses.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "FileDialogDriver.h"
#include "FileProbe.h"
#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "TempFolder.h"
#include "app/pages/MacroRules.h"
#include "app/pages/ProfileFile.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/core/MObject.h"
#include "ui/keyboard/KeyboardCtrl.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

constexpr int kMacros = 10;

class ProfileFileBench : public testsupport::MainWindowFixture {
 public:
  void TestBody() override {}

  void Fill(int eventsPerMacro) {
    ConfigDatabase& store = ConfigDatabase::Instance();
    std::vector<USERLIGHTRGB_DATA> colours;
    for (TESK::KEY_INFO* key : m_dlg->m_keyboardKeys->GetKeyItems()) {
      USERLIGHTRGB_DATA colour;
      colour.profile = 1, colour.userlight_id = 1, colour.key_code = key->key_code, colour.key_rgb = 0x00FF80;
      colours.push_back(colour);
    }
    store.InsertUserLightRgbs(colours);
    for (int m = 0; m < kMacros; ++m) {
      MACRO_DATA macro;
      macro.name.Format(L"Macro %d", m + 1);
      const int id = store.InsertMacro(macro);
      std::vector<MACRO_RECORD> events;
      for (int e = 0; e < eventsPerMacro; ++e) {
        MACRO_RECORD event;
        event.macro_id = id, event.type = 2 + e % 2, event.record_index = e, event.value = 'A', event.delay_time = 20;
        event.desc = L"A";
        events.push_back(event);
      }
      store.InsertMacroRecords(events);
    }
  }

  void Run() {
    SetUp();
    Connected();
    WaitIdle();
    Fill(49);  // ten macros that fit the keyboard's macro area together
    testsupport::TempFolder folder(L"profile bench");
    const std::wstring path = folder.Path() + L"profile.xml";
    testsupport::FileDialogDriver dialogs({path, path});
    KeyboardDlg& dlg = *m_dlg;

    Clock::time_point start = Clock::now();
    dlg.OnMessage(89, TESK::NOTIFY_CLICKED, 0, 0);
    std::printf("export (dialog included): %.1f ms, %lld bytes\n", Ms(start),
                static_cast<long long>(testsupport::ReadFileBytes(path).size()));

    ProfileFileContent content;
    start = Clock::now();
    ReadProfileFile(path.c_str(), 103, {}, kMacroAreaEvents, content);
    std::printf("read and check alone: %.1f ms (%zu key rows, %zu performance rows, %zu light modes, %zu colours)\n",
                Ms(start), content.keys.size(), content.perfs.size(), content.lights.size(), content.colours.size());

    const size_t mark = simkb::Bus::Get().Mark();
    start = Clock::now();
    dlg.OnMessage(88, TESK::NOTIFY_CLICKED, 0, 0);  // returns when the worker closed the wait dialog
    const double imported = Ms(start);
    std::printf("import with the apply task (dialog included): %.1f ms, %zu frames to the keyboard\n", imported,
                simkb::Bus::Get().FramesSince(mark).size());

    // Ten macros of 300 events: read whole, then refused for the macro area.
    Fill(300);
    const std::wstring big = folder.Path() + L"big.xml";
    dialogs.Script({big});
    dlg.OnMessage(89, TESK::NOTIFY_CLICKED, 0, 0);
    StoredMacroEvents stored;
    MacroList macros;
    ConfigDatabase::Instance().GetMacros(macros);
    for (const auto& macro : macros) {
      MacroRecordList events;
      stored[macro->macro_id] = ConfigDatabase::Instance().GetMacroRecords(macro->macro_id, events);
    }
    start = Clock::now();
    const ProfileFileVerdict verdict = ReadProfileFile(big.c_str(), 103, stored, kMacroAreaEvents, content);
    std::printf("read and check of 3,000 macro events: %.1f ms (%s)\n", Ms(start),
                verdict == ProfileFileVerdict::kAccepted ? "accepted" : "refused");
    TearDown();
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  ProfileFileBench bench;
  bench.Run();
  return 0;
}
