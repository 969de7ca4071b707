// Benchmark (not a test): the macro page of the real main window (the page fixture) with the
// simulated Lynt 80 connected.
//  - SaveMacroEvents of a 200-event macro that 60 keys run, 20 in each of three profiles whose
//    key rows are all stored: the events into the store, the macro's settings, the macro area
//    written behind the wait dialog until it closes, and the captions of the 60 keys (one
//    batch); the caption update alone is timed too.
//  - OnHookedInputEvent for one recorded key event (as the hook dispatches it) with 400 rows
//    already listed.
// Prints milliseconds per call. Run by hand from build/<arch>/bin; not a test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "MessagePump.h"
#include "RawDb.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/ConfigDatabase.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MListBox.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/keyboard/CRecordList.h"

using namespace TESK;

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

constexpr int kEvents = 200;
constexpr int kKeysPerProfile = 20;
constexpr int kProfiles = 3;
constexpr int kListedRows = 400;
constexpr int kRuns = 10;
constexpr int kHookEvents = 400;

// One key event as the system hands it to the hook, dispatched by the window's hook object.
void HookKey(KeyboardDlg& dlg, int vk, bool released) {
  KBDLLHOOKSTRUCT record = {};
  record.vkCode = static_cast<DWORD>(vk);
  record.scanCode = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
  record.flags = released ? LLKHF_UP : 0;
  if (dlg.m_inputHook) dlg.m_inputHook->Dispatch(released ? WM_KEYUP : WM_KEYDOWN, reinterpret_cast<LPARAM>(&record));
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

class MacroSaveBench : public testsupport::MainWindowFixture {
 public:
  void TestBody() override {}

  void Run() {
    SetUp();
    Connected();
    KeyboardDlg& dlg = *m_dlg;
    testsupport::PumpUntil([&] { return dlg.m_macroList->GetItemCount() > 0; }, 10000);
    dlg.m_tabMain->SetSelectItem(3);
    dlg.m_macroList->SetCurSel(0);
    dlg.m_macroList->SendMessageW(NOTIFY_CLICKED, 0, 0);
    const int macroId = dlg.SelectedMacroId();
    for (int profile = 2; profile <= kProfiles; ++profile) dlg.CreateDefaultKeyMacros(profile);
    Settle();
    {
      RawDb db{std::wstring(DbFile().GetString())};
      for (int profile = 1; profile <= kProfiles; ++profile) {
        db.Exec("UPDATE t_key_macro_data SET macro_type = 3, macro_value = " + std::to_string(macroId) +
                " WHERE profile = " + std::to_string(profile) + " AND fn_layer = 0 AND key_code IN (SELECT key_code "
                "FROM t_key_macro_data WHERE profile = " + std::to_string(profile) + " AND fn_layer = 0 "
                "ORDER BY key_code LIMIT " + std::to_string(kKeysPerProfile) + ")");
      }
      std::printf("key rows: %d in %d profiles, %d of them run macro %d\n",
                  db.Number("SELECT COUNT(*) FROM t_key_macro_data"), kProfiles,
                  db.Number("SELECT COUNT(*) FROM t_key_macro_data WHERE macro_type = 3 AND macro_value = " +
                            std::to_string(macroId)),
                  macroId);
    }

    std::vector<double> save, captions;
    for (int run = 0; run < kRuns; ++run) {
      dlg.m_recordList->DeleteAllItems();
      for (int i = 0; i < kEvents; ++i) {
        const int code = 'A' + (i / 2 + run) % 26;
        dlg.m_recordList->AddString(CString(std::wstring(1, static_cast<wchar_t>(code)).c_str()), 2 + i % 2, code,
                                    i % 2 ? 0 : 30);
      }
      const Clock::time_point start = Clock::now();
      dlg.SaveMacroEvents();
      save.push_back(Ms(start));
      Settle();
      const Clock::time_point refresh = Clock::now();
      dlg.RefreshMacroKeyCaptions();
      captions.push_back(Ms(refresh));
    }
    std::printf("SaveMacroEvents, %d events, until the wait dialog closed: %.2f ms (median of %d)\n", kEvents,
                Median(save), kRuns);
    std::printf("  of which the %d keys' captions (one batch) and the pictures: %.2f ms\n",
                kProfiles * kKeysPerProfile, Median(captions));
    std::printf("stored events of the macro: %d\n", ConfigDatabase::Instance().CountMacroRecords(macroId));

    // Recording with 400 rows listed (the stored events deleted first, so the budget takes
    // them); each event's row is taken away again after its timing, so every timed call finds
    // the same list.
    dlg.m_recordList->DeleteAllItems();
    dlg.SaveMacroEvents();
    Settle();
    dlg.m_btnRecordStart->SendMessageW(NOTIFY_CLICKED, 0, 0);
    std::printf("recording: %s, budget %d rows\n", dlg.m_recordState == 1 ? "yes" : "no", dlg.m_macroRecorder.Budget());
    for (int i = 0; i < kListedRows; ++i) dlg.m_recordList->AddString(L"A", 2 + i % 2, 'A', 10);
    std::vector<double> perEvent;
    int appended = 0;
    for (int i = 0; i < kHookEvents; ++i) {
      const int vk = 'A' + (i / 2) % 26;
      const Clock::time_point start = Clock::now();
      HookKey(dlg, vk, i % 2 == 1);
      perEvent.push_back(Ms(start));
      const int rows = dlg.m_recordList->GetItemCount();
      if (rows > kListedRows) {
        ++appended;
        dlg.m_recordList->DeleteItem(rows - 1);
      }
    }
    std::printf("OnHookedInputEvent with %d rows listed: %.3f ms median, %.3f ms slowest of %d events (%d rows added)\n",
                kListedRows, Median(perEvent), *std::max_element(perEvent.begin(), perEvent.end()), kHookEvents,
                appended);
    dlg.EndMacroInputWithoutSaving();
    Settle();
    TearDown();
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  MacroSaveBench bench;
  bench.Run();
  return 0;
}
