// PopupMenuBase: what the two menu popups (MenuWnd, MenuExWnd) share on top of the popup
// skeleton: the owner window and the notify message through which a choice is posted to
// it, the report of a choice ((notify, wParam, chosen control's id) from a control, or the
// arguments as given to SendMessageToParent) with the close for NOTIFY_CLICKED, and the
// empty layout hooks. It adds no virtual operation. UI thread only.
#pragma once

#include <windows.h>

#include "ui/core/MPopupWnd.h"
#include "ui/core/TeskApi.h"

namespace TESK {

class TESK_API PopupMenuBase : public MPopupWnd {
public:
  void InitUI(CRect client) override;
  void UISize(CRect client) override;
  // The chosen control's id travels in lParam.
  LONG OnMessage(UINT controlId, UINT code, UINT wParam, LONG lParam) override;
  // Deletes the object; the library never calls it (the window's last message does not
  // reach the handlers), so a menu stays its creator's to delete.
  int PostNcDestroy() override;

  // Posts (notify, wParam, lParam) to the owner and closes the menu for NOTIFY_CLICKED; 1.
  LONG SendMessageToParent(UINT id, UINT code, UINT wParam, LONG lParam);
  UINT GetNotifyMessage() const { return m_notifyMessage; }
  HWND GetOwnerWindow() const { return m_hOwner; }

protected:
  explicit PopupMenuBase(MObject* parent);
  // Posts the report to the owner, when there is one, and closes for NOTIFY_CLICKED; 1.
  LONG Report(UINT code, UINT wParam, LONG lParam);

  UINT m_notifyMessage;
  HWND m_hOwner;
};

}  // namespace TESK
