#include "ui/core/PaintManager.h"

#include <shlwapi.h>

#include <algorithm>
#include <cassert>

#include "ui/core/ControlFactory.h"
#include "ui/core/HandlerScope.h"
#include "ui/core/MAirBladder.h"
#include "ui/core/MControl.h"
#include "ui/core/MControlFont.h"
#include "ui/core/Manager.h"

namespace TESK {

namespace {

// The private fonts Init loads from the program's fonts folder: file, family name.
constexpr struct {
  const wchar_t* file;
  const wchar_t* family;
} kProgramFonts[] = {
    {L"SourceHanSansCN-Regular.otf", L"SourceHanSansCN-Regular"},
    {L"SourceHanSansCN-Normal.otf", L"SourceHanSansCN-Normal"},
    {L"SourceHanSansCN-Bold.otf", L"SourceHanSansCN-Bold"},
    {L"SourceHanSansCN-ExtraLight.otf", L"SourceHanSansCN-ExtraLight"},
    {L"SourceHanSansCN-Medium.otf", L"SourceHanSansCN-Medium"},
    {L"SourceHanSansCN-Light.otf", L"SourceHanSansCN-Light"},
    {L"SourceHanSansCN-Heavy.otf", L"SourceHanSansCN-Heavy"},
};

// The library's scroll-bar strips (PNG resources of tesk.dll).
constexpr UINT kVerticalScrollImage = 102;
constexpr UINT kHorizontalScrollImage = 101;

}  // namespace

PaintManager::PaintManager()
    : m_pOwnerWnd(nullptr),
      m_bInitialized(0),
      m_hWnd(nullptr),
      m_hDC(nullptr),
      m_backColor(0xCDCDCD),
      m_frameColor(0x120F0A),
      m_maxSize{0, 0},
      m_minSize{0, 0},
      m_bLayered(0),
      m_bWndDrag(1),
      m_scrollVID(0),
      m_scrollHID(0),
      m_disabledTextColor(0x808080),
      m_tooltipCtrlId(0),
      m_dragStart{0, 0},
      m_bDragPending(0),
      m_hDragBitmap(nullptr),
      m_hDropPicture(nullptr),
      m_bTracking(0),
      m_bPressed(0),
      m_bCaptured(0),
      m_pHover(nullptr),
      m_pFocus(nullptr),
      m_hTooltip(nullptr),
      m_pAirBladder(nullptr),
      m_airBladderKey(0),
      m_mTimerId(0),
      m_tickListChanges(0),
      m_timerCounter(4096),
      m_pBkImage(nullptr),
      m_bkImageWidth(0),
      m_bkImageHeight(0),
      m_overlayLevel(MSG_LEVEL_INFO),
      m_overlayAlpha(0),
      m_overlayProgress(0),
      m_overlayTarget(0),
      m_overlayFontName(L"SourceHanSansCN-Regular"),
      m_backMode(BACK_MODE_IMAGE),
      m_backBorder(4),
      m_bCaretOn(0),
      m_bCaretShown(0),
      m_pCaretOwner(nullptr),
      m_bDropRegistered(false),
      m_windowThreadId(0),
      m_bPostOpen(false),
      m_bPostWake(false) {}

PaintManager::~PaintManager() {
  // Stopping waits for a tick in flight; after it no tick reaches the controls below.
  KillTimer();
  if (m_hTooltip && IsWindow(m_hTooltip)) ::DestroyWindow(m_hTooltip);
  m_hTooltip = nullptr;
  // The balloon's window is gone when the engine's window went before; otherwise it goes
  // now, before the object its window procedure calls.
  if (m_pAirBladder) m_pAirBladder->DestroyWindow();
  delete m_pAirBladder;
  m_pAirBladder = nullptr;
  DestroyData();
  // Controls created while the engine was never bound to a window are not reached by
  // DestroyData; the engine owns them all the same.
  DropPosted();
  ClearAllControls();
  // Removed controls still waiting for a handler to return are freed later without the engine.
  HandlerScope::ReleaseOwnedBy(this);
  ClearTimers();
  ClearImgResInfo();
  ClearTempFont();
  delete m_pBkImage;
  if (m_hDragBitmap) DeleteObject(m_hDragBitmap);
  ReleaseDropPicture();
}

bool PaintManager::HasWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

void PaintManager::Init(HWND window, MWindow* owner) {
  if (!window || !::IsWindow(window)) return;
  if (window != m_hWnd) {
    m_hWnd = window;
    m_hDC = ::GetDC(window);
  }
  m_windowThreadId = GetWindowThreadProcessId(window, nullptr);
  {
    CriticalSectionLock lock(m_postedLock);
    m_bPostOpen = true;
  }
  m_pOwnerWnd = owner;
  InitDragDrop();
  SetTargetWnd(window);
  for (const auto& font : kProgramFonts) {
    CString path;
    path.Format(L"%s\\fonts\\%s", GetProgramFolder().GetString(), font.file);
    if (PathFileExistsW(path)) AddTempFont(font.family, path);
  }
  m_bInitialized = 1;
  m_scrollVID = kVerticalScrollImage;
  m_scrollHID = kHorizontalScrollImage;
}

MControl* PaintManager::CreateControl(UINT kind, MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                      const wchar_t* title, int visible, int enabled) {
  MControl* control =
      ConstructControl(EngineControlClasses(), className, ControlCreateArgs{owner, id, rect, title, visible, enabled});
  if (control) AttachControl(kind, control);
  return control;
}

MControl* PaintManager::CreateArea(MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                   const wchar_t* title, int visible, int enabled) {
  return CreateControl(0, owner, className, id, rect, title, visible, enabled);
}

MControl* PaintManager::CreateControl(MObject* owner, const wchar_t* className, UINT id, CRect rect,
                                      const wchar_t* title, int visible, int enabled) {
  return CreateControl(1, owner, className, id, rect, title, visible, enabled);
}

void PaintManager::AttachControl(UINT kind, MControl* control) {
  control->SetManager(this);
  if (kind == 0) {
    CriticalSectionLock lock(m_areaLock);
    m_areas.push_back(control);
  } else if (kind == 1) {
    CriticalSectionLock lock(m_controlLock);
    m_controls.push_back(control);
  }
}

std::vector<MControl*> PaintManager::CopyControls() {
  return CopyUnderLock(m_controls, m_controlLock);
}

MControl* PaintManager::GetControl(UINT id) {
  for (const std::vector<MControl*>* list : {&m_controls, &m_areas}) {
    for (MControl* control : *list) {
      if (!control) continue;
      if (control->GetControlID() == id) return control;
      if (MControl* found = control->GetControl(id)) return found;
    }
  }
  return nullptr;
}

void PaintManager::RemoveControl(MControl* control) {
  if (!control) return;
  const auto listed = [this, control] {
    CriticalSectionLock lock(m_controlLock);
    return std::find(m_controls.begin(), m_controls.end(), control) != m_controls.end();
  };
  if (!listed()) return;
  // The focus is taken from the control before it goes; its handler may repaint, so no
  // lock is held.
  if (m_pFocus == control) {
    control->SetControlFocus(0);
    m_pFocus = nullptr;
  }
  {
    CriticalSectionLock ticks(m_tickLock);
    CriticalSectionLock lock(m_controlLock);
    auto it = std::find(m_controls.begin(), m_controls.end(), control);
    if (it == m_controls.end()) return;  // the focus handler removed it already
    m_controls.erase(it);
    control->Detach();
  }
  HandlerScope::Dispose(control);
}

void PaintManager::ClearList(std::vector<MControl*>& list, CriticalSection& lock) {
  std::vector<MControl*> doomed;
  {
    CriticalSectionLock ticks(m_tickLock);
    CriticalSectionLock guard(lock);
    doomed.swap(list);
    for (MControl* control : doomed) {
      if (control) control->Detach();
    }
  }
  for (MControl* control : doomed) HandlerScope::Dispose(control);
}

void PaintManager::ClearAreaControls() { ClearList(m_areas, m_areaLock); }

void PaintManager::ClearControls() { ClearList(m_controls, m_controlLock); }

void PaintManager::ClearAllControls() {
  ClearAreaControls();
  ClearControls();
}

void PaintManager::ForgetControl(MControl* control) {
  if (!control) return;
  CriticalSectionLock ticks(m_tickLock);
  const auto ticking = std::remove(m_tickControls.begin(), m_tickControls.end(), control);
  if (ticking != m_tickControls.end()) {
    m_tickControls.erase(ticking, m_tickControls.end());
    ++m_tickListChanges;
  }
  if (m_pHover == control) m_pHover = nullptr;
  if (m_pFocus == control) m_pFocus = nullptr;
  // Called from MControl's destructor: the owner's own part is gone, only the address counts.
  if (m_pCaretOwner && static_cast<MControl*>(m_pCaretOwner) == control) m_pCaretOwner = nullptr;
  if (m_tooltipCtrlId != 0 && static_cast<UINT>(m_tooltipCtrlId) == control->GetControlID()) {
    // The tooltip window belongs to the window's thread: a removal on the timer thread
    // must not wait for it, so the tip is cleared there.
    if (IsWindowThread()) {
      ClearTooltip();
    } else {
      m_tooltipCtrlId = 0;
      PostCallable([this] { ClearTooltip(); });
    }
  }
  KillTimer(control);
  CriticalSectionLock pending(m_pendingLock);
  m_pendingUpdates.erase(std::remove_if(m_pendingUpdates.begin(), m_pendingUpdates.end(),
                                        [control](const PendingUpdate& u) { return u.control == control; }),
                         m_pendingUpdates.end());
}

void PaintManager::GetClientRect(CRect& rect) {
  if (HasWindow()) ::GetClientRect(m_hWnd, &rect);
}

void PaintManager::GetWindowRect(CRect& rect) {
  if (HasWindow()) ::GetWindowRect(m_hWnd, &rect);
}

void PaintManager::GetClientSize(int& cx, int& cy) {
  CRect client;
  GetClientRect(client);
  cx = client.Width();
  cy = client.Height();
}

void PaintManager::Invalidate() {
  if (HasWindow()) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void PaintManager::InvalidateRect(CRect rect, int erase) {
  if (!HasWindow()) return;
  // A layered window is composed as a whole, so all of it is redrawn.
  if (m_bLayered) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  } else {
    ::InvalidateRect(m_hWnd, &rect, erase);
  }
}

LRESULT PaintManager::SendMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
  assert(!IsTickThread() && "a tick handler must not wait for the window's thread");
  return HasWindow() ? ::SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

// Like SendMessageW it delivers at once and returns the window procedure's answer.
LRESULT PaintManager::PostMessageW(UINT msg, WPARAM wParam, LPARAM lParam) {
  assert(!IsTickThread() && "a tick handler must not wait for the window's thread");
  return HasWindow() ? ::SendMessageW(m_hWnd, msg, wParam, lParam) : 0;
}

HWND PaintManager::SetCapture() { return HasWindow() ? ::SetCapture(m_hWnd) : nullptr; }

int PaintManager::ReleaseCapture() { return HasWindow() ? ::ReleaseCapture() : 0; }

void PaintManager::SetWindowMaxSize(int cx, int cy) { m_maxSize = {cx, cy}; }

void PaintManager::SetWindowMixSize(int cx, int cy) { m_minSize = {cx, cy}; }

void PaintManager::GetWindowMinSize(int& cx, int& cy) const {
  cx = m_minSize.cx;
  cy = m_minSize.cy;
}

void PaintManager::GetWindowManSize(int& cx, int& cy) const { GetWindowMinSize(cx, cy); }

void PaintManager::SetScrollResID(UINT vertical, UINT horizontal) {
  m_scrollVID = vertical;
  m_scrollHID = horizontal;
}

void PaintManager::SetBackColor(COLORREF inner, COLORREF frame) {
  m_backColor = inner;
  m_frameColor = frame;
}

void PaintManager::DestroyData() {
  if (!m_bInitialized) return;
  delete m_pBkImage;
  m_pBkImage = nullptr;
  if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  m_hDC = nullptr;
  if (m_bDropRegistered) RevokeDragDrop(m_hWnd);
  m_bDropRegistered = false;
  ReleaseDropPicture();
  // Stopping waits for a tick in flight, so no lock its ticks take may be held here.
  KillTimer();
  DropPosted();
  ClearTimers();
  ClearAreaControls();
  ClearControls();
  ClearImgResInfo();
  ClearTempFont();
  // The locks stay: they are released with the engine, which may be bound to a new window.
  m_bInitialized = 0;
}

void PaintManager::OnDestroyMessage(HWND hwnd) {
  if (hwnd == m_hWnd) DestroyData();
}

int PaintManager::PostNcDestroy() {
  DestroyData();
  return 1;
}

}  // namespace TESK
