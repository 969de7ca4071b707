// CustomKeyDKSDlg: the advanced-key editor, a panel docked in the main window (a child
// window, not modal) in which the user composes one DKS, MT, TGL, RS, SOCD or OKS key. It
// shows an introduction page first when the main window asks for one (the user then picks
// the key or the two keys on the main window's keyboard picture, which the main window hands
// over with SetSocdKeys), and then the editing page of its mode. Save writes the advanced key
// into the settings store (t_magnetic_key_data, and four t_key_item_data rows for DKS) and
// posts WM_KB_ADVKEY_APPLIED with its id to the owner window; Cancel posts
// WM_KB_ADVKEY_CANCELLED. Either closes the panel's window; the main window then destroys
// the object.
//
// The main window calls, in this order: the constructor, SetKeyTarget, Create; later
// SetSocdKeys while keys are picked. The panel's controls belong to its window's engine; the
// panel finds them by id. UI thread only.
#pragma once

#include <windows.h>

#include "storage/ConfigRecords.h"
#include "ui/core/CString.h"
#include "ui/core/MDialog.h"

class CustomKeyDKSDlg : public TESK::MDialog {
public:
  // Control ids of the introduction page, the buttons, the key pages and the pair pages.
  enum : UINT {
    kIntroTitleId = 30,
    kIntroTextId = 31,
    kIntroKey1Id = 32,
    kIntroKey2Id = 33,
    kChooserId = 34,
    kNextId = 35,
    kCancelId = 36,
    kSaveId = 37,
    kPageTitleId = 38,
    kGridId = 41,
    kKeySlotsId = 45,
    kHoldSliderId = 48,
    kHoldCaptionId = 49,
    kKindTabsId = 53,
    kPickerId = 54,
    kValueListId = 55,
    kRsSwitchId = 94,
    kSocdSwitchId = 65,
    kOksSwitchId = 111,
    kOksPairId = 106,
  };

  CustomKeyDKSDlg();

  // Overrides, in slot order.
  ~CustomKeyDKSDlg() override;
  LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  int OnInitDialog() override;
  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  int OnNcActivate(int active) override;

  // mode 1-6; kind (the caller's macro_type) is not used; keyValue the target key(s), first
  // in bits 0-15; advKeyId the stored row (0: a new key); intro 1 shows the introduction.
  void SetKeyTarget(int mode, int kind, unsigned int keyValue, int advKeyId, int intro);
  // Creates the panel as a visible child of parent at rect, with rounded corners; the parent
  // receives the panel's messages. Null when the window cannot be made.
  HWND Create(HWND parent, CRect rect);
  // The keys picked so far on the main window's picture; shown in the introduction's chooser.
  void SetSocdKeys(unsigned int keyValue);

  int GetMode() const { return m_mode; }
  int GetAdvKeyId() const { return m_advKeyId; }
  unsigned int GetKeyValue() const { return m_keyValue; }

  // Handlers of the editing pages.
  int OnKeyTypeChanged(int tab);
  int OnKeyPicked();
  int OnKeyValuePicked();
  int OnDragOver();
  int OnDrop();
  int ShowHoldTime();
  void SetPairCaptions();
  int ShowDepth(UINT sliderId);

  // Puts the stored advanced key into the page (nothing for a new key).
  void LoadSettings();
  // Save: stores the page as the advanced key, posts WM_KB_ADVKEY_APPLIED and closes. MT and
  // TGL with an empty slot store nothing and stay open (0).
  int ApplySettings();

private:
  int OnNext();
  int OnCancel();
  void BuildIntroduction(const CRect& client);
  void BuildKeyPage(const CRect& client);
  void BuildPairPage(const CRect& client);
  // The page's columns of the advanced key; false when the page refuses to store.
  bool ReadPage(MAGNETIC_KEY_DATA& row);
  void LoadKeyPage(const MAGNETIC_KEY_DATA& row);
  void LoadPairPage(const MAGNETIC_KEY_DATA& row);
  void StoreDksItems();
  // Writes a picked key into the selected slot of the mode's editor control.
  void PutKey(const CString& caption, int value, int kind);
  // The value of the checked radio of the mode's start group; 0 with none checked.
  int StartValue();
  void CheckStartRadio(int radio);
  void SetSliderPosition(UINT sliderId, int position);

  template <class T>
  T* Control(UINT id) {
    return dynamic_cast<T*>(GetControl(id));
  }

  int m_mode;
  int m_advKeyId;
  int m_profile;
  unsigned int m_keyValue;
  int m_introWanted;
  int m_introBuilt;
  HWND m_owner;
};
