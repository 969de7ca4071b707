// KeyPage: the key assignment page's operations. The user gives a key a function on the
// current layer (a picker click, a list click, or a drop onto the key picture), resets a key
// or the whole layer, applies a layout preset, switches the layer or the profile. Each change
// is stored at once (KeyAssignment holds the rules) and followed by TASK_WRITE_KEYMAP; the
// captions of the key pictures and the advanced-key list follow the store.
//
// The main window owns one and forwards its handlers to it; it works on the window's control
// pointers (KeyboardDef, null ones skipped) and the device link's selection and task queue.
// UI thread only: the window hands a worker's RefreshKeyCaptions to its own thread.
#pragma once

#include <atomic>
#include <utility>
#include <vector>

#include "ui/core/CString.h"

class DeviceLink;
struct KeyboardDef;
struct KEY_MACRO_DATA;
namespace TESK {
class KeyboardCtrl;
class MComboBox;
class MControl;
}  // namespace TESK

class KeyPage {
 public:
  // curProfile is the window's selected database profile, which a profile change sets.
  KeyPage(DeviceLink& link, KeyboardDef& controls, std::atomic<int>& curProfile);
  KeyPage(const KeyPage&) = delete;
  KeyPage& operator=(const KeyPage&) = delete;

  // The key rows of a new profile from the key picture's keys, when the profile has none.
  void CreateDefaultKeyMacros(int profile);
  // The current layer into the key pictures' captions and the advanced-key list. Returns 1.
  int RefreshKeyCaptions();

  // Assigning a function to the selected key (a click) or the key under the cursor (a drop);
  // 0 when there is no such key, else 1 (also when nothing changed).
  int ApplyKeyValueToKey();
  int ApplyKeyFuncToKey();
  int OnKeyFunctionDropped();

  void ResetKeyToDefault(int keyCode);
  void ResetLayerToDefault();
  // Asks first (the question's language texts), then resets; 0 when the user cancels.
  int ConfirmResetLayer(int messageText, int titleText);
  // A layout preset (LayoutPresetId) on every key of the current layer.
  void ApplyLayoutPreset(int presetId);

  // The layer picked on the window's layer tabs (layerId), mirrored on the advanced-key page's
  // tabs; the advanced-key page's own tabs mirror theirs on the key page's. Return 1.
  int OnKeyLayerChanged(int layerId);
  int OnAdvKeyLayerChanged(int layerId);
  // The profile picked in a page's profile list (the key page's or the advanced-key page's):
  // made active, shown in the other lists and applied to the keyboard behind the wait dialog.
  // 0 without a profile.
  int OnProfileListChanged(TESK::MComboBox* chosen);

  // The popup menus under buttons 83 and 85; both return 1 when closed.
  int ShowKeyPageProfileMenu();
  int ShowKeyPresetMenu();
  // A preset menu item (the profile items belong to the profile operations). Returns 1.
  int OnKeyPageMenuCommand(int itemId);

  // Shows the picker or the list for a function group and fills the list. Returns 1.
  int FillKeyValueList(int group);

 private:
  enum class Source { ListClick, PickerClick, Drop };
  int AssignFunction(Source source);
  // The pictures that show the current layer's captions: keys, advanced keys, performance (and
  // the lighting page's when it is built).
  std::vector<TESK::KeyboardCtrl*> LayerPictures() const;
  // The pages' profile lists.
  std::vector<TESK::MComboBox*> ProfileCombos() const;
  void StoreLayerRows(const std::vector<KEY_MACRO_DATA>& rows);
  void WriteKeyMap();

  DeviceLink& m_link;
  KeyboardDef& m_controls;
  std::atomic<int>& m_curProfile;
};

// MakeUniqueName over the combo's items (UniqueName.h).
CString MakeUniqueComboName(const CString& prefix, TESK::MComboBox* combo);
