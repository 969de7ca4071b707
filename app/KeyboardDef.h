// KeyboardDef: the main window's control pointers, one per control, in the order the window's
// builders create them (ids 30 to 384). The window owns the controls; these pointers are only
// references and are never freed here. A pointer stays null until the page that creates its
// control is built, and every user skips a null one. UI thread only.
#pragma once

namespace TESK {
class MControl;
class MControlFont;
class MPicture;
class MTabCtrl;
class MText;
}  // namespace TESK

struct KeyboardDef {
  // Frame and pages.
  TESK::MPicture* m_picBackground = nullptr;   // the window's background picture
  TESK::MTabCtrl* m_tabMain = nullptr;         // id 67, the main page tabs
  TESK::MControl* m_pageHome = nullptr;        // id 75, the home page
  TESK::MText* m_textConnectState = nullptr;   // id 79, the home page's connection text
  TESK::MPicture* m_picConnectState = nullptr; // the home page's keyboard picture
  // Settings page.
  TESK::MControlFont* m_btnCheckSoftware = nullptr;
  TESK::MControlFont* m_btnCheckFirmware = nullptr;
  TESK::MControlFont* m_textSoftwareStatus = nullptr;  // id 327, the software check's result
  TESK::MControlFont* m_textFirmwareStatus = nullptr;  // id 330, the firmware check's result
  // The indication of uncalibrated keys.
  TESK::MControl* m_picCalibWarning = nullptr;        // id 50
  TESK::MControlFont* m_textCalibWarning = nullptr;   // id 51
};
