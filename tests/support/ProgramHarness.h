// Runs the real program, as a process of its own, for tests of what only the whole program
// shows: its start-up, its single instance, its files, its window on the screen, its exit.
//
// The harness copies the staged program folder with the simulated keyboard (program-sim, next
// to the test executables' folder) into a scratch folder whose name is not ASCII, and writes a
// config.xml there that names a device of the test's own. The program's mutex, its window
// property and title, its registry key and its data folder all follow that name, so they are
// the test's alone. A test may spoil the copy before the start (no config.xml, one that is not
// XML, a folder removed); without a readable config.xml the program runs under the library's
// fallback name, which the harness then follows.
//
// Processes started are numbered from 0; the harness finds their main window (class "MWindow",
// title = the device name) with a bounded wait, posts messages and clicks to it, reads screen
// pixels over it, and returns their exit codes. When it goes it kills whatever still runs and
// removes the scratch folder, the registry key, the Run value and the data folder (under the
// fallback name only what did not exist before the start).
//
// Keyboards: the models plugged into the simulated bus come from the environment the program
// starts with (SetKeyboards). To plug and unplug keyboards and bootloaders in the running
// program, start it with a SimChannel's variables (AddEnvironment) and talk over the channel.
//
// Used on the test's thread only. Waits pump the test thread's messages, so the test's own
// windows (a backdrop) keep painting meanwhile.
#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "EnvironmentBlock.h"
#include "TempFolder.h"

namespace testsupport {

// A key of a staged layout file as it lies on a key picture of the main window.
struct PictureKey {
  int code, index;
  RECT rect;  // in the window's client area
  int row = -1, col = -1;  // its place in the key matrix; -1 without one
};
// The centre of the key of that code; (-1, -1) when there is none.
POINT KeyCentre(const std::vector<PictureKey>& keys, int code);

// What the scratch copy holds as config.xml when the program starts.
enum class ConfigFile { Own, Missing, NotXml };

class ProgramHarness {
 public:
  // The library's device name when config.xml names none.
  static constexpr const wchar_t* kFallbackName = L"Device Driver";

  ProgramHarness();
  ~ProgramHarness();
  ProgramHarness(const ProgramHarness&) = delete;
  ProgramHarness& operator=(const ProgramHarness&) = delete;

  // ---- The copy, before a start ----
  // The scratch program folder, ending in a backslash.
  const std::wstring& ProgramFolder() const { return m_folder.Path(); }
  // The name the program runs under: the test's own, or the fallback without a config.xml.
  const std::wstring& DeviceName() const { return m_deviceName; }
  void SetConfigFile(ConfigFile kind);
  // Removes a file or folder of the copy, named relative to it (e.g. L"language").
  void RemoveFromProgram(const std::wstring& relative);
  // The keys of the copy's layout file of that name ("Lynt 65"), on a picture whose top-left
  // corner is pictureOrigin in the window's client area (the layouts are as large as the
  // pictures); empty when the file cannot be read.
  std::vector<PictureKey> PictureKeys(const std::wstring& layout, POINT pictureOrigin) const;
  // The simulated keyboards plugged at the next start: model ids separated by commas.
  void SetKeyboards(const std::string& models) { m_keyboards = models; }
  // More variables for the program's environment at the next start, e.g. a SimChannel's.
  void AddEnvironment(const EnvironmentVariables& variables) {
    m_environment.insert(m_environment.end(), variables.begin(), variables.end());
  }

  // ---- The device name's registry key, Run value and data folder ----
  // The REG_SZ value of HKEY_CURRENT_USER "SOFTWARE\<name>"; nullopt when it is missing.
  std::optional<std::wstring> ReadValue(const wchar_t* value) const;
  void WriteValue(const wchar_t* value, const wchar_t* text) const;
  void DeleteValue(const wchar_t* value) const;
  // Adds or deletes the value named after the device in the user's Run key.
  void SetRunValue(bool present);
  // The program's per-user data folder, ending in a backslash.
  std::wstring DataFolder() const;
  // Writes an empty file into the data folder (path relative to it), making its folders.
  bool PlantDataFile(const std::wstring& relative) const;
  // The settings databases in the data folder's "db", full paths.
  std::vector<std::wstring> DatabaseFiles() const;

  // ---- Processes ----
  // Starts the program of the copy with these arguments; the instance's number, or -1.
  int Start(const std::wstring& arguments = L"");
  bool IsRunning(int instance = 0) const;
  // Waits for the instance to end; its exit code, or nullopt when it still runs.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs, int instance = 0);
  // Ends the instance at once (exit code 0xDEAD) and waits for it to be gone.
  void Kill(int instance = 0);

  // ---- The main window ----
  // Waits for the instance's top-level window of class "MWindow" titled with the device name,
  // shown or hidden, and then for the program to wait for input in its loop (its start done);
  // the window becomes Window(). Null when none came within the time.
  HWND WaitForWindow(DWORD timeoutMs, int instance = 0);
  HWND Window() const { return m_window; }
  // The instance's first top-level window of this class, shown or hidden, with any title (a
  // popup menu, "#32768"); null when there is none.
  HWND FindWindowOfClass(const wchar_t* className, int instance = 0) const;
  // The same with this title (e.g. the program's "MessageBox" of class "MWindow").
  HWND FindWindowTitled(const wchar_t* className, const wchar_t* title, int instance = 0) const;
  // A shown top-level window of that class and title of the process that owns Window() (the
  // instance last waited for): a dialog the program hid after use does not count.
  HWND FindShownWindowTitled(const wchar_t* className, const wchar_t* title) const;
  // The shown child windows of Window(), at any depth, with this title (docked panels).
  std::vector<HWND> FindShownChildrenTitled(const wchar_t* title) const;
  // Waits for the program's shown message box and closes it with the answer (1 OK, 2 Cancel);
  // false when none came or it stayed.
  bool AnswerMessageBox(WPARAM answer, DWORD timeoutMs = 5000) const;
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Moves the pointer over the client point and posts a move, a press and a release there.
  // Posted, not sent: a click that opens a modal box in the program does not hold the test.
  void Click(POINT client) const;
  // The screen's colour (0x00BBGGRR as GetPixel gives it) at a point of the window's client
  // area or of the window's rectangle; CLR_INVALID when it cannot be read.
  COLORREF ClientPixel(POINT client) const;
  COLORREF WindowPixel(POINT window) const;
  // The screen's colours over a rectangle of the client area, row by row, in one copy; empty
  // when they cannot be read.
  std::vector<COLORREF> ClientPixels(const RECT& client) const;
  // Moves the pointer off the window and tells the window that it left, so that nothing
  // stays drawn as hovered.
  void ParkPointer() const;

 private:
  struct Instance {
    HANDLE process = nullptr;
    DWORD id = 0;
  };

  std::wstring KeyPath() const;
  // Notes a name the program is about to run under, for the clean-up.
  void Remember(const std::wstring& name);

  TempFolder m_folder;
  std::wstring m_ownName;
  std::wstring m_deviceName;
  std::string m_keyboards = "102";
  EnvironmentVariables m_environment;
  std::vector<Instance> m_instances;
  HWND m_window = nullptr;
  // Names the program ran under, with whether their key and data folder existed before: what
  // existed is left in place (the fallback name is shared with other tests).
  struct Trace {
    std::wstring name;
    bool keyExisted, folderExisted;
  };
  std::vector<Trace> m_traces;
  // Run values written, deleted at the end.
  std::set<std::wstring> m_runValues;
};

}  // namespace testsupport
