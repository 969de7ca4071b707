// LightPage: the lighting page's operations. The user switches the lighting on and off,
// chooses a light mode and its brightness, speed, direction, colour or colourful cycle, paints
// keys in the user mode and loads per-key colour presets. Each change is stored first, under
// the profile of the keyboard's on-board profile (m_deviceProfile + 1), then handed to the
// worker as TASK_WRITE_LIGHT or TASK_WRITE_KEY_COLORS.
//
// The main window owns one and forwards the page's notifications to it; it works on the page's
// control pointers (LightPageDef, null ones skipped), the store and the device link's
// selection state and task queue. UI thread only: the window runs a worker's refresh on its
// own thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "ui/core/CString.h"

class DeviceLink;
class MusicLighting;
struct LIGHT_DATA;
struct LightPageDef;
namespace TESK {
class MEdit;
}

class LightPage {
 public:
  // curProfile is the window's current database profile, which the handlers set.
  LightPage(DeviceLink& link, LightPageDef& controls, std::atomic<int>& curProfile);
  LightPage(const LightPage&) = delete;
  LightPage& operator=(const LightPage&) = delete;

  // The preset file (default: "profile\default_light.xml" in the program folder).
  void SetPresetFile(const CString& path) { m_presetFile = path; }
  // The music lighting that the music light mode switches on and whose settings the mode
  // lists' refresh shows; none leaves both out.
  void SetMusic(MusicLighting* music) { m_music = music; }

  // Rebuilds the mode list and tabs from the profile's rows, selects the stored active mode,
  // sets the switch from "enable_light", shows the mode's controls and the profile's music
  // settings.
  void RefreshLightModeLists();
  // Empties the mode list and tabs and lists the profile's stored modes but "off" in their
  // stored order, named by their language texts; nothing is selected.
  void ListLightModes(int profile);
  // Shows the controls and values of the mode in m_lightMode; nothing without its row.
  void RefreshLightPage();

  // Handlers; each returns 1 (handled).
  int OnLightModeSelected(int code);
  int OnLightEnableSwitch();
  int OnLightBrightnessChanged();
  int OnLightSpeedChanged();
  int OnLightDirectionChanged(int id);
  int OnLightColorfulChanged(int source);
  int OnLightColorPicked();
  int OnLightColorButton(int id);
  int OnLightRedEdit(int code);
  int OnLightGreenEdit(int code);
  int OnLightBlueEdit(int code);
  int SaveUserLightColors(int code);
  // The selection buttons 180 (none), 181 (invert) and 182 (all) on the lighting picture.
  int OnLightSelectButton(int id);
  int ClearUserLightColors();
  // Preset 202..207 from the preset file onto the picture, the store and the keyboard.
  int ApplyLightPreset(int id);

  // The colour c for the current mode: the selected keys in the user mode, else the mode's
  // single colour.
  void ApplyLightColor(COLORREF color);
  // The colour of the three edits, applied.
  void ApplyRgbEdits();

 private:
  int Profile() const;
  // m_curProfile = the page's profile; returns it.
  int TakeProfile();
  // Reads the row of the shown mode; false without one.
  bool ReadShownRow(int profile, LIGHT_DATA& row);
  // One column of the shown mode's row changed, stored and written; nothing without the row.
  void StoreShownRow(void (*change)(LIGHT_DATA& row, int value), int value);
  // The profile's per-key rows replaced by the picture's keys and colours.
  void StoreKeyColors(int profile);
  void ShowEdits(COLORREF color);
  // The colour sources' common end: a checked colourful box is unchecked and stored.
  void DropColorful();
  int OnColorEdit(int code, TESK::MEdit* edit);
  void ShowDirection(uint32_t configFunc, int direction);
  void QueueLightWrite();
  bool SwitchOn() const;

  DeviceLink& m_link;
  LightPageDef& m_controls;
  std::atomic<int>& m_curProfile;
  CString m_presetFile;
  MusicLighting* m_music = nullptr;
};
