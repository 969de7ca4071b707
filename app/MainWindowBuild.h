// What the main window's page builders and layout helpers share: creating a control by class
// name on the dialog or on a page panel (always with an empty rectangle, visible and
// enabled: UISize places it), the fonts and colours of the window, a tab strip filled from a
// table, and layout rows that give one control its rectangle from the client size. UI thread
// only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "app/Language.h"
#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/Geometry.h"

namespace TESK {
class MComboBox2;
class MControl;
class MControlFont;
class MDialog;
class MTabCtrl;
}  // namespace TESK

namespace mainwindow {

constexpr Gdiplus::ARGB kWhite = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kTabText = 0xFFA3ACB9;
constexpr int kBoldStyle = 1;
constexpr int kUnderlineStyle = 4;

// Close-button tooltips: the program hides to the tray, or it ends.
constexpr int kCloseHidesText = 16;
constexpr int kCloseEndsText = 17;

// The library's private font families.
extern const wchar_t kRegular[];
extern const wchar_t kMedium[];
extern const wchar_t kBold[];
extern const wchar_t kLight[];
extern const wchar_t kExtraLight[];

// Language text id of section "KB.DIALOG", and of section "CAPTION".
inline CString Text(int id) { return LoadLanString(L"KB.DIALOG", id); }
inline CString CaptionText(int id) { return LoadLanString(L"CAPTION", id); }

// A decoration (drawn beneath the controls) or a control of owner, the dialog or a panel,
// with an empty rectangle; null when the owner's factory does not know the class.
template <class T, class Owner>
T* NewArea(Owner* owner, const wchar_t* className, UINT id, const wchar_t* title = nullptr) {
  return static_cast<T*>(owner->CreateArea(className, id, CRect(), title, 1, 1));
}
template <class T, class Owner>
T* NewControl(Owner* owner, const wchar_t* className, UINT id, const wchar_t* title = nullptr) {
  return static_cast<T*>(owner->CreateControl(className, id, CRect(), title, 1, 1));
}

// Text colour and font; a null family sets only the size and the style and keeps the
// library's default family.
void SetTextLook(TESK::MControlFont* control, Gdiplus::ARGB colour, const wchar_t* family, int size, int style);

// One tab of a strip: its item id, language text and icon strip of two frames.
struct TabRow {
  UINT id;
  int textId;
  const wchar_t* icon;
};
// The strip's look and sizes, then its tabs in order with pages[i] shown under tab i; item 0
// is selected last, which shows its page and notifies the owner.
struct TabStrip {
  int stripWidth, stripHeight;
  int leftPadding, rightPadding, topPadding, bottomPadding;
  int itemWidth, itemHeight;
};
void FillTabs(TESK::MTabCtrl* tabs, const TabStrip& strip, const TabRow* rows, TESK::MControl* const* pages,
              size_t count);

// An entry of a list: its language text and item data.
struct ListItem {
  int textId;
  long data;
};
// A device-setting list (the frame's and the settings page's): its picture, white Regular 18
// left-aligned text and the items, the first selected. Returns list (null stays null).
TESK::MComboBox2* DeviceSettingList(TESK::MComboBox2* list, const ListItem* items, size_t count);
template <size_t N>
TESK::MComboBox2* DeviceSettingList(TESK::MComboBox2* list, const ListItem (&items)[N]) {
  return DeviceSettingList(list, items, N);
}

// One control's rectangle as a function of the client width and height (and of the control
// itself, for the pictures that take their image's size).
struct PlaceRow {
  UINT id;
  CRect (*place)(int W, int H, TESK::MControl* control);
};

// Gives every row's control of the dialog (found by id at any depth) its rectangle; a row
// whose control is not built is skipped.
void PlaceControls(TESK::MDialog& dialog, const PlaceRow* rows, size_t count, int W, int H);
template <size_t N>
void PlaceControls(TESK::MDialog& dialog, const PlaceRow (&rows)[N], int W, int H) {
  PlaceControls(dialog, rows, N, W, H);
}

// (left, top) with the size of the control's picture.
CRect AtImageSize(TESK::MControl* control, int left, int top);

}  // namespace mainwindow
