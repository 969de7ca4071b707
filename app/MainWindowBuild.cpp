#include "app/MainWindowBuild.h"

#include "ui/controls/MComboBox2.h"
#include "ui/controls/MTabCtrl.h"
#include "ui/core/MControlFont.h"
#include "ui/core/MDialog.h"

namespace mainwindow {

const wchar_t kRegular[] = L"SourceHanSansCN-Regular";
const wchar_t kMedium[] = L"SourceHanSansCN-Medium";
const wchar_t kBold[] = L"SourceHanSansCN-Bold";
const wchar_t kLight[] = L"SourceHanSansCN-Light";
const wchar_t kExtraLight[] = L"SourceHanSansCN-ExtraLight";

void SetTextLook(TESK::MControlFont* control, Gdiplus::ARGB colour, const wchar_t* family, int size, int style) {
  if (!control) return;
  control->SetTextColor(Gdiplus::Color(colour));
  if (family) {
    control->SetFont(family, size, static_cast<Gdiplus::FontStyle>(style));
  } else {
    control->SetFontWidth(size);
    control->SetFontStyle(static_cast<Gdiplus::FontStyle>(style));
  }
}

TESK::MComboBox2* DeviceSettingList(TESK::MComboBox2* list, const ListItem* items, size_t count) {
  if (!list) return nullptr;
  list->SetImage(L"combobox_device_dropdown2.png", 1);
  SetTextLook(list, kWhite, kRegular, 18, 0);
  list->SetAlignment(2);
  for (size_t i = 0; i < count; ++i) list->AddItem(Text(items[i].textId), items[i].data, nullptr, Gdiplus::Color(0));
  list->SetCurSel(0);
  return list;
}

void FillTabs(TESK::MTabCtrl* tabs, const TabStrip& strip, const TabRow* rows, TESK::MControl* const* pages,
              size_t count) {
  if (!tabs) return;
  tabs->SetTabCtrlWidth(strip.stripWidth);
  tabs->SetTabCtrlHeight(strip.stripHeight);
  tabs->SetLeftRightPading(strip.leftPadding, strip.rightPadding);
  tabs->SetTopBottomPading(strip.topPadding, strip.bottomPadding);
  for (size_t i = 0; i < count; ++i) tabs->InsertItem(rows[i].id, Text(rows[i].textId), rows[i].icon, pages[i], 2, 0);
  tabs->SetItemWidth(strip.itemWidth, strip.itemWidth, 1);
  tabs->SetItemHeight(strip.itemHeight, strip.itemHeight, 1);
  tabs->SetSelectItem(0);
}

void PlaceControls(TESK::MDialog& dialog, const PlaceRow* rows, size_t count, int W, int H) {
  for (size_t i = 0; i < count; ++i) {
    if (TESK::MControl* control = dialog.GetControl(rows[i].id)) control->SetRect(rows[i].place(W, H, control));
  }
}

CRect AtImageSize(TESK::MControl* control, int left, int top) {
  const auto* picture = dynamic_cast<TESK::MControlFont*>(control);
  const CSize size = picture ? picture->GetImageSize() : CSize(0, 0);
  return CRect(left, top, left + size.cx, top + size.cy);
}

}  // namespace mainwindow
