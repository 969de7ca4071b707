// AdvKeyPage: the advanced-key page's operations. A type button starts a new advanced key of
// its kind in the docked editor (CustomKeyDKSDlg), whose keys the user then picks on the
// page's key picture; a key that carries an advanced key, or a tile of the page's list, opens
// the editor on that stored key. When the editor reports a stored key, the key or key pair is
// bound to it (rows, per-key performance for the pairs, the write mask) and the key map is
// queued; a tile's delete icon removes the advanced key and gives its keys their function back
// on every layer that used it. The page's profile menu opens here too.
//
// While a new key is set up (type 14 to 19) a click on the picture feeds the editor's key
// choice; the six type buttons stay disabled while the editor is open. Closing the editor (by
// the page, a page change or a connection change) ends picking, enables the buttons and puts
// the picture back to picking with no type.
//
// The main window owns one and forwards its handlers; the page works on the window's control
// pointers (null ones skipped), its advanced-key type and editor members, and the device
// link's layer, mask and task queue. UI thread only.
#pragma once

#include <windows.h>

#include <memory>

class CustomKeyDKSDlg;
class DeviceLink;
class KeyPage;
class PerfPage;
struct KeyboardDef;

class AdvKeyPage {
 public:
  // type and editor are the window's m_advKeyType and m_advKeyDlg.
  AdvKeyPage(DeviceLink& link, KeyboardDef& controls, KeyPage& keys, PerfPage& perf, int& type,
             std::unique_ptr<CustomKeyDKSDlg>& editor);
  AdvKeyPage(const AdvKeyPage&) = delete;
  AdvKeyPage& operator=(const AdvKeyPage&) = delete;

  // Type buttons 113 to 118: a new key of kind 14 to 19. Refused (0) while a message box is open.
  int OnTypeButton(UINT controlId);
  // The editor for a new key of kind type (its introduction first); a kind outside 14 to 19
  // leaves the editor's own defaults. Returns 1, or 0 when its window could not be made.
  int OpenEditor(int type);
  // Ends setting up, frees the editor and resets the picture.
  void CloseEditor();

  // The picture (code 2 or 5): feeds the editor while a new key is set up, else opens the
  // editor on the clicked key's advanced key. 0 for no key.
  int OnKeyboardNotify(int code);
  // The list: code 2 opens the editor on the selected tile's key, code 18 deletes it.
  int OnListNotify(int code);
  // The editor stored advanced key id (-1 or 0: nothing stored).
  int OnApplied(int id);
  int OnCancelled();
  // The editor left its introduction: picking on the picture ends.
  int OnEditorPageShown();

  // The profile menu under button 98; its items arrive as WM_KB_PROFILE_MENU.
  int ShowProfileMenu();

 private:
  // Frees the editor and its window, if any.
  void FreeEditor();
  // A new editor on the page's rectangle; SetKeyTarget is called when kind is 14 to 19.
  int CreateEditor(int kind, unsigned keyValue, int id, int intro);
  // No check or pick, no type, picking on.
  void ResetPicture();
  // Checks both keys of a packed pair on the picture and redraws it.
  void CheckPair(int pair);
  // Deletes the selected tile's advanced key and frees its keys; false when nothing was deleted.
  bool DeleteSelected();

  DeviceLink& m_link;
  KeyboardDef& m_controls;
  KeyPage& m_keys;
  PerfPage& m_perf;
  int& m_type;
  std::unique_ptr<CustomKeyDKSDlg>& m_editor;
};
