#include "ui/core/PopupMenuBase.h"

namespace TESK {

PopupMenuBase::PopupMenuBase(MObject* parent) : m_notifyMessage(0), m_hOwner(nullptr) { m_pParentObject = parent; }

void PopupMenuBase::InitUI(CRect) {}

void PopupMenuBase::UISize(CRect) {}

LONG PopupMenuBase::OnMessage(UINT controlId, UINT code, UINT wParam, LONG) {
  return Report(code, wParam, static_cast<LONG>(controlId));
}

LONG PopupMenuBase::SendMessageToParent(UINT, UINT code, UINT wParam, LONG lParam) {
  return Report(code, wParam, lParam);
}

int PopupMenuBase::PostNcDestroy() {
  delete this;
  return 1;
}

LONG PopupMenuBase::Report(UINT code, UINT wParam, LONG lParam) {
  if (m_hOwner) ::PostMessageW(m_hOwner, m_notifyMessage, wParam, lParam);
  // The close is posted, so the owner's message is in its queue first.
  if (code == NOTIFY_CLICKED) CloseWindow();
  return 1;
}

}  // namespace TESK
