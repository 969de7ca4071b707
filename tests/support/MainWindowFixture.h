// The page fixture: the program's real main window (KeyboardDlg) in the test process, with
// its worker, its store in a scratch data folder and the linked simulated keyboard. Tests
// derive from it, open the window, plug a keyboard and drive the pages as the controls do;
// the ids of the tasks the window appends are recorded while its worker runs them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "BitmapProbe.h"
#include "ProgramInstance.h"
#include "ScopedDeviceName.h"
#include "SyntheticCapture.h"
#include "app/KeyboardDlg.h"
#include "simkeyboard/SimKeyboard.h"

namespace testsupport {

// The control's class as the main window's control tables name it ("?" for a class no page
// table lists): the library's controls do not report their own class names.
std::wstring ControlClassName(TESK::MControl* control);

class MainWindowFixture : public testing::Test {
 protected:
  // Lynt 80 (87 keys), the model the pages' cases are written for.
  static constexpr int kDefaultModel = 103;

  void SetUp() override;
  void TearDown() override;

  // The main window, created as the program creates it, once its start-up task has run. Its
  // visualizer listens to `capture` in place of the system's sound output.
  KeyboardDlg& Open();
  // A keyboard plugged after the window opened; the simulator announces it to the window as
  // the system does, while this thread pumps.
  simkb::Keyboard& Plug(int model = kDefaultModel);
  // The window in the pages state with a keyboard whose store is open and no task pending.
  simkb::Keyboard& Connected(int model = kDefaultModel);
  bool InPagesState();

  // Stops the worker, so that queued tasks stay where a test can read them, and returns them
  // in order (they are taken out of the queue).
  std::vector<int> StopAndDrain();
  // Waits, pumping, until the worker has no task queued and none running.
  bool WaitIdle(DWORD timeoutMs = 15000);
  // Waits, pumping, until no task waits and the keyboard has heard nothing for 250 ms: the
  // task the worker took before the queue emptied has ended too.
  bool Settle(DWORD timeoutMs = 15000);
  // The number of frames of command in the last ended bracket (CMD_BEGIN ... CMD_END) that
  // began after mark and holds any; -1 when there is none. A bracket begun before mark never
  // counts.
  static int LastBracketFrames(size_t mark, int command);

  // Every task id appended since the window was opened or since the last call, in order.
  std::vector<int> TakeAppended();
  // The same with the time of each append (GetTickCount64).
  struct AppendedTask {
    int id;
    ULONGLONG at;
  };
  std::vector<AppendedTask> TakeAppendedTimed();

  // The store file of the connected model.
  CString DbFile();
  // A key's stored function on a layer id of profile 1, as "kind value value2 value3 \"caption\"",
  // or "no row" / "several rows".
  std::string KeyRowOf(int layer, int code);
  // A key's three-byte entry in the keyboard's key map of a layer, as hex.
  std::string KeyMapEntryOf(simkb::Keyboard& keyboard, int layer, int code);
  // A window client point inside the key of that code on a key picture; (0, 0) when none is.
  static CPoint KeyPoint(TESK::KeyboardCtrl* picture, int code);
  // A left click on the key of that code, as the mouse makes it (move, press, release).
  static void ClickKey(TESK::KeyboardCtrl* picture, int code);

  GdiplusSession gdiplus;
  ProgramInstance instance;
  ScopedDeviceName device;
  std::unique_ptr<KeyboardDlg> m_dlg;
  // The window's sound source: one endpoint and no packets (silence) unless a test queues
  // some before Open; the visualizer owns it.
  SyntheticCapture* capture = nullptr;
  std::unique_ptr<SyntheticCapture> m_nextCapture = std::make_unique<SyntheticCapture>();

 private:
  std::mutex m_appendedLock;
  std::vector<AppendedTask> m_appended;
};

}  // namespace testsupport
