#include "ui/controls/CTxtWinHost.h"

#include <cstring>
#include <cwchar>
#include <type_traits>

#include "ui/controls/MRichEdit.h"
#include "ui/controls/MScroll.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

// The published identities; the engine's own exports are preferred where the library has them.
constexpr IID kIidTextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
constexpr IID kIidTextHost = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

constexpr LONG kDefaultMaxLength = 0x7FFF;
constexpr int kHimetricPerInch = 2540;
constexpr int kTwipsPerInch = 1440;
constexpr int kDefaultPixelsPerInch = 96;
constexpr DWORD kScrollBarStyles = WS_VSCROLL | WS_HSCROLL | ES_DISABLENOSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
constexpr DWORD kCharFormatMask = CFM_SIZE | CFM_COLOR | CFM_FACE | CFM_OFFSET | CFM_CHARSET | CFM_BOLD | CFM_ITALIC |
                                  CFM_UNDERLINE;
constexpr LONG kDefaultTab = 720;  // half an inch in twips
// Black itself would read as "automatic colour" to the engine on a layered window, whose
// pixels of alpha 0 show through: a black that is not quite black stays visible.
constexpr COLORREF kNearBlack = 0x000001;

COLORREF NotPureBlack(COLORREF colour) { return (colour & 0x00FFFFFF) == 0 ? kNearBlack : colour; }

using CreateTextServicesProc = HRESULT(WINAPI*)(IUnknown* outer, ITextHost* host, IUnknown** object);

// The identity the library exports under name, or fallback.
IID ExportedIid(HMODULE library, const char* name, const IID& fallback) {
  const auto* exported = reinterpret_cast<const IID*>(::GetProcAddress(library, name));
  return exported ? *exported : fallback;
}

// Size, effects, character set, pitch and face of a font into a character format; effect bits
// are added to those already there.
void ApplyLogFont(CHARFORMAT2W& format, const LOGFONTW& font, int pixelsPerInch) {
  format.yHeight = font.lfHeight * -kTwipsPerInch / pixelsPerInch;
  format.yOffset = 0;
  if (font.lfWeight >= FW_BOLD) format.dwEffects |= CFE_BOLD;
  if (font.lfItalic) format.dwEffects |= CFE_ITALIC;
  if (font.lfUnderline) format.dwEffects |= CFE_UNDERLINE;
  format.bCharSet = font.lfCharSet;
  format.bPitchAndFamily = font.lfPitchAndFamily;
  std::wcsncpy(format.szFaceName, font.lfFaceName, LF_FACESIZE - 1);
  format.szFaceName[LF_FACESIZE - 1] = 0;
}

// The bar the engine's code names, or null: SB_HORZ the horizontal one, SB_VERT the vertical one.
MScroll* Bar(MRichEdit* owner, INT bar) {
  MControl* control = bar == SB_VERT ? owner->GetScrollVertical() : bar == SB_HORZ ? owner->GetScrollHorizontal()
                                                                                    : nullptr;
  return static_cast<MScroll*>(control);
}

// Shows or hides bar, redrawn by its parent, when its visibility differs.
void ShowBar(MScroll* bar, bool show) {
  if (!bar || (bar->IsVisible() != 0) == show) return;
  bar->SetControlVisible(show ? 1 : 0);
  if (MObject* parent = bar->GetParantObject()) parent->OnControlUpdate(bar->GetRect(), 1, bar);
}

// The 32-bit build checks the conventions the engine and the host agree on: the engine calls
// the host's operations (and the host the engine's) __thiscall, IUnknown's three __stdcall.
#if defined(__i386__)
#define TESK_THISCALL_OP(Iface, R, Name, ...) \
  static_assert(std::is_same<decltype(&Iface::Name), R (__thiscall Iface::*)(__VA_ARGS__)>::value, #Name);
#define TESK_HOST_OP(R, Name, ...)                                                              \
  TESK_THISCALL_OP(ITextHost, R, Name, __VA_ARGS__)                                             \
  static_assert(std::is_same<decltype(&CTxtWinHost::Name), R (__thiscall CTxtWinHost::*)(__VA_ARGS__)>::value, \
                #Name);
TESK_HOST_OP(HDC, TxGetDC)
TESK_HOST_OP(INT, TxReleaseDC, HDC)
TESK_HOST_OP(WINBOOL, TxShowScrollBar, INT, WINBOOL)
TESK_HOST_OP(WINBOOL, TxEnableScrollBar, INT, INT)
TESK_HOST_OP(WINBOOL, TxSetScrollRange, INT, LONG, INT, WINBOOL)
TESK_HOST_OP(WINBOOL, TxSetScrollPos, INT, INT, WINBOOL)
TESK_HOST_OP(void, TxInvalidateRect, LPCRECT, WINBOOL)
TESK_HOST_OP(void, TxViewChange, WINBOOL)
TESK_HOST_OP(WINBOOL, TxCreateCaret, HBITMAP, INT, INT)
TESK_HOST_OP(WINBOOL, TxShowCaret, WINBOOL)
TESK_HOST_OP(WINBOOL, TxSetCaretPos, INT, INT)
TESK_HOST_OP(WINBOOL, TxSetTimer, UINT, UINT)
TESK_HOST_OP(void, TxKillTimer, UINT)
TESK_HOST_OP(void, TxScrollWindowEx, INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
TESK_HOST_OP(void, TxSetCapture, WINBOOL)
TESK_HOST_OP(void, TxSetFocus)
TESK_HOST_OP(void, TxSetCursor, HCURSOR, WINBOOL)
TESK_HOST_OP(WINBOOL, TxScreenToClient, LPPOINT)
TESK_HOST_OP(WINBOOL, TxClientToScreen, LPPOINT)
TESK_HOST_OP(HRESULT, TxActivate, LONG*)
TESK_HOST_OP(HRESULT, TxDeactivate, LONG)
TESK_HOST_OP(HRESULT, TxGetClientRect, LPRECT)
TESK_HOST_OP(HRESULT, TxGetViewInset, LPRECT)
TESK_HOST_OP(HRESULT, TxGetCharFormat, const CHARFORMATW**)
TESK_HOST_OP(HRESULT, TxGetParaFormat, const PARAFORMAT**)
TESK_HOST_OP(COLORREF, TxGetSysColor, int)
TESK_HOST_OP(HRESULT, TxGetBackStyle, TXTBACKSTYLE*)
TESK_HOST_OP(HRESULT, TxGetMaxLength, DWORD*)
TESK_HOST_OP(HRESULT, TxGetScrollBars, DWORD*)
TESK_HOST_OP(HRESULT, TxGetPasswordChar, TCHAR*)
TESK_HOST_OP(HRESULT, TxGetAcceleratorPos, LONG*)
TESK_HOST_OP(HRESULT, TxGetExtent, LPSIZEL)
TESK_HOST_OP(HRESULT, OnTxCharFormatChange, const CHARFORMATW*)
TESK_HOST_OP(HRESULT, OnTxParaFormatChange, const PARAFORMAT*)
TESK_HOST_OP(HRESULT, TxGetPropertyBits, DWORD, DWORD*)
TESK_HOST_OP(HRESULT, TxNotify, DWORD, void*)
TESK_HOST_OP(HIMC, TxImmGetContext)
TESK_HOST_OP(void, TxImmReleaseContext, HIMC)
TESK_HOST_OP(HRESULT, TxGetSelectionBarWidth, LONG*)
static_assert(std::is_same<decltype(&CTxtWinHost::QueryInterface),
                           HRESULT (__stdcall CTxtWinHost::*)(REFIID, void**)>::value, "QueryInterface");
static_assert(std::is_same<decltype(&CTxtWinHost::AddRef), ULONG (__stdcall CTxtWinHost::*)()>::value, "AddRef");
static_assert(std::is_same<decltype(&CTxtWinHost::Release), ULONG (__stdcall CTxtWinHost::*)()>::value, "Release");
// The engine's operations the library calls.
TESK_THISCALL_OP(ITextServices, HRESULT, TxSendMessage, UINT, WPARAM, LPARAM, LRESULT*)
TESK_THISCALL_OP(ITextServices, HRESULT, TxDraw, DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC, LPCRECTL, LPCRECTL,
                 LPRECT, WINBOOL(CALLBACK*)(DWORD), DWORD, LONG)
TESK_THISCALL_OP(ITextServices, HRESULT, OnTxInPlaceActivate, LPCRECT)
TESK_THISCALL_OP(ITextServices, HRESULT, OnTxInPlaceDeactivate)
TESK_THISCALL_OP(ITextServices, HRESULT, TxSetText, LPCWSTR)
TESK_THISCALL_OP(ITextServices, HRESULT, TxGetDropTarget, IDropTarget**)
TESK_THISCALL_OP(ITextServices, HRESULT, OnTxPropertyBitsChange, DWORD, DWORD)
#undef TESK_HOST_OP
#undef TESK_THISCALL_OP
#endif

}  // namespace

// ---- Creation and lifetime ----

CTxtWinHost::CTxtWinHost(MRichEdit* owner)
    : m_pOwner(owner),
      m_cRefs(1),
      m_pTextServices(nullptr),
      m_dwStyle(0),
      m_bAutoWordSel(0),
      m_bWordWrap(0),
      m_bAllowBeep(0),
      m_bRich(0),
      m_bSaveSelection(0),
      m_bInPlaceActive(0),
      m_bTransparent(0),
      m_bTimer(0),
      m_bCaptured(0),
      m_bShowCaret(0),
      m_nCaretWidth(0),
      m_nCaretHeight(0),
      m_nSelBarWidth(0),
      m_nMaxLength(kDefaultMaxLength),
      m_rcClient{0, 0, 0, 0},
      m_sizelExtent{0, 0},
      m_charFormat{},
      m_paraFormat{},
      m_nAccelPos(-1),
      m_chPasswordChar(0) {}

CTxtWinHost::~CTxtWinHost() {
  if (m_pTextServices) {
    m_pTextServices->OnTxInPlaceDeactivate();
    m_pTextServices->Release();
  }
}

bool CreateTextHost(const CREATESTRUCTW& info, MRichEdit* control, CTxtWinHost** host) {
  *host = nullptr;
  auto* created = new CTxtWinHost(control);
  if (!created->AttachTextServices(control, info)) {
    created->Release();
    return false;
  }
  *host = created;
  return true;
}

bool CTxtWinHost::AttachTextServices(MRichEdit* control, const CREATESTRUCTW& info) {
  m_pOwner = control;
  if (!BuildDefaultCharFormat()) return false;
  BuildDefaultParaFormat();
  m_dwStyle = ES_MULTILINE;
  m_bRich = control->IsRich() ? 1 : 0;
  m_nMaxLength = control->GetLimitText();
  m_dwStyle = static_cast<DWORD>(info.style);
  if (!(m_dwStyle & (ES_AUTOHSCROLL | WS_HSCROLL))) m_bWordWrap = 1;
  if (m_dwStyle & ES_CENTER) {
    m_paraFormat.wAlignment = PFA_CENTER;
  } else if (m_dwStyle & ES_RIGHT) {
    m_paraFormat.wAlignment = PFA_RIGHT;
  }
  m_bInPlaceActive = 1;

  // Loaded by name: the library has no import library here, and a machine without it leaves
  // the control without an engine. It stays loaded for the process.
  HMODULE library = ::LoadLibraryW(L"Msftedit.dll");
  if (!library) return false;
  auto create = reinterpret_cast<CreateTextServicesProc>(
      reinterpret_cast<void*>(::GetProcAddress(library, "CreateTextServices")));
  if (!create) return false;
  IUnknown* object = nullptr;
  if (FAILED(create(nullptr, this, &object)) || !object) return false;
  const IID iid = ExportedIid(library, "IID_ITextServices", kIidTextServices);
  const HRESULT queried = object->QueryInterface(iid, reinterpret_cast<void**>(&m_pTextServices));
  object->Release();
  if (FAILED(queried) || !m_pTextServices) {
    m_pTextServices = nullptr;
    return false;
  }
  if (info.lpszName && *info.lpszName && FAILED(m_pTextServices->TxSetText(info.lpszName))) return false;
  return true;
}

bool CTxtWinHost::BuildDefaultCharFormat() {
  std::memset(&m_charFormat, 0, sizeof(m_charFormat));
  m_charFormat.cbSize = sizeof(CHARFORMAT2W);
  HFONT font = m_pOwner->GetDefaultFont();
  if (!font) return false;
  LOGFONTW logFont = {};
  const int read = ::GetObjectW(font, sizeof(logFont), &logFont);
  ::DeleteObject(font);
  if (!read) return false;
  const COLORREF colour = m_pOwner->GetTextColor();
  m_charFormat.crTextColor = IsLayered() ? NotPureBlack(colour) : colour;
  m_charFormat.dwMask = kCharFormatMask;
  m_charFormat.dwEffects = 0;
  ApplyLogFont(m_charFormat, logFont, PixelsPerInch(LOGPIXELSY));
  return true;
}

void CTxtWinHost::BuildDefaultParaFormat() {
  std::memset(&m_paraFormat, 0, sizeof(m_paraFormat));
  m_paraFormat.cbSize = sizeof(PARAFORMAT2);
  m_paraFormat.dwMask = PFM_ALL;
  m_paraFormat.wAlignment = PFA_LEFT;
  m_paraFormat.cTabCount = 1;
  m_paraFormat.rgxTabs[0] = kDefaultTab;
}

// ---- IUnknown ----

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidTextHost)) {
    AddRef();
    *out = static_cast<ITextHost*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef() { return ++m_cRefs; }

ULONG STDMETHODCALLTYPE CTxtWinHost::Release() {
  const ULONG count = --m_cRefs;
  if (count == 0) delete this;
  return count;
}

// ---- Helpers ----

HWND CTxtWinHost::LiveWindow() const {
  PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
  HWND window = manager ? manager->GetPaintWnd() : nullptr;
  return window && ::IsWindow(window) ? window : nullptr;
}

bool CTxtWinHost::IsLayered() const {
  PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
  return manager && manager->IsLayered();
}

int CTxtWinHost::PixelsPerInch(int index) const {
  PaintManager* manager = m_pOwner ? m_pOwner->GetManager() : nullptr;
  HDC dc = manager ? manager->GetPaintDC() : nullptr;
  const int value = dc ? ::GetDeviceCaps(dc, index) : 0;
  // Without a paint DC (no window yet) the conversion would divide by zero.
  return value > 0 ? value : kDefaultPixelsPerInch;
}

void CTxtWinHost::AnnounceProperty(DWORD mask, bool on) {
  if (m_pTextServices) m_pTextServices->OnTxPropertyBitsChange(mask, on ? mask : 0);
}

// ---- ITextHost ----

HDC CTxtWinHost::TxGetDC() {
  PaintManager* manager = m_pOwner->GetManager();
  return manager ? manager->GetPaintDC() : nullptr;
}

// The paint DC belongs to the window engine.
INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

WINBOOL CTxtWinHost::TxShowScrollBar(INT bar, WINBOOL show) {
  const bool on = show != FALSE;
  if (bar == SB_VERT) {
    ShowBar(Bar(m_pOwner, SB_VERT), on);
    // The text area depends on the vertical bar: lay it out again.
    m_pOwner->SetRect(m_pOwner->GetRect());
  } else if (bar == SB_HORZ) {
    ShowBar(Bar(m_pOwner, SB_HORZ), on);
  } else if (bar == SB_BOTH) {
    ShowBar(Bar(m_pOwner, SB_VERT), on);
    ShowBar(Bar(m_pOwner, SB_HORZ), on);
  }
  return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT bars, INT arrows) {
  const bool show = arrows != ESB_DISABLE_BOTH;
  if (bars == SB_VERT || bars == SB_HORZ) {
    ShowBar(Bar(m_pOwner, bars), show);
  } else if (bars == SB_BOTH) {
    MScroll* vertical = Bar(m_pOwner, SB_VERT);
    MScroll* horizontal = Bar(m_pOwner, SB_HORZ);
    if (vertical && horizontal) {
      vertical->SetVisible(show ? 1 : 0);
      horizontal->SetVisible(show ? 1 : 0);
    }
  }
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL) {
  MScroll* scroll = Bar(m_pOwner, bar);
  if (!scroll) return TRUE;
  const long long range = static_cast<long long>(maxPos) - minPos;
  const long long visible =
      bar == SB_VERT ? m_rcClient.bottom - m_rcClient.top : m_rcClient.right - m_rcClient.left;
  if (range > visible) {
    scroll->SetScrollMaxRange(static_cast<int>(range));
    ShowBar(scroll, true);
  } else {
    ShowBar(scroll, false);
  }
  return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL) {
  MScroll* scroll = Bar(m_pOwner, bar);
  // While the user drags the thumb, the bar leads and the engine follows.
  if (!scroll || scroll->IsChangeing()) return TRUE;
  if (bar == SB_VERT) {
    scroll->SetScrollCurrentPosEx(pos);
    ShowBar(scroll, true);
  } else {
    scroll->SetScrollCurrentPos(pos);
  }
  if (scroll->IsVisible()) scroll->GetParantObject()->OnControlUpdate(scroll->GetRect(), 1, scroll);
  return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rect, WINBOOL) {
  HWND window = LiveWindow();
  if (!window) return;
  // A layered window is composed as a whole.
  if (IsLayered()) {
    ::InvalidateRect(window, nullptr, TRUE);
  } else {
    ::InvalidateRect(window, rect ? rect : &m_rcClient, FALSE);
  }
}

void CTxtWinHost::TxViewChange(WINBOOL update) {
  if (m_pOwner->OnTxViewChanged(update)) TxInvalidateRect(nullptr, FALSE);
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height) {
  m_nCaretWidth = width;
  m_nCaretHeight = height;
  if (IsLayered()) {
    m_pOwner->GetManager()->CreateCaret(bitmap, width, height);
    return TRUE;
  }
  HWND window = LiveWindow();
  return window ? ::CreateCaret(window, bitmap, width, height) : FALSE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show) {
  m_bShowCaret = show ? 1 : 0;
  if (!IsLayered()) {
    HWND window = LiveWindow();
    if (!window) return FALSE;
    return show ? ::ShowCaret(window) : ::HideCaret(window);
  }
  PaintManager* manager = m_pOwner->GetManager();
  if (manager->GetCurrentCaretObject() == m_pOwner &&
      (m_pOwner->IsReadOnly() || !m_pOwner->IsVisible() || !m_pOwner->IsEnabled())) {
    manager->ShowCaret(FALSE);
    return TRUE;
  }
  return manager->ShowCaret(show == 1 ? 1 : 0);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
  if (IsLayered()) {
    m_pOwner->GetManager()->SetCaretPos(m_pOwner, x, y);
    return TRUE;
  }
  return ::SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout) {
  m_bTimer = 1;
  PaintManager* manager = m_pOwner->GetManager();
  return manager && manager->SetTimer(m_pOwner, id, timeout) == 1 ? TRUE : FALSE;
}

void CTxtWinHost::TxKillTimer(UINT id) {
  if (PaintManager* manager = m_pOwner->GetManager()) manager->KillTimer(m_pOwner, id);
  m_bTimer = 0;
}

// The control draws the text itself at the next paint; nothing is scrolled on the window.
void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture) {
  if (HWND window = LiveWindow()) {
    if (capture) {
      ::SetCapture(window);
    } else {
      ::ReleaseCapture();
    }
  }
  m_bCaptured = capture & 1;
}

void CTxtWinHost::TxSetFocus() { m_pOwner->SetControlFocus(1); }

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT pt) {
  HWND window = LiveWindow();
  return window ? ::ScreenToClient(window, pt) : FALSE;
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT pt) {
  HWND window = LiveWindow();
  return window ? ::ClientToScreen(window, pt) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }

HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rect) {
  *rect = m_rcClient;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rect) {
  *rect = RECT{0, 0, 0, 0};
  return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format) {
  *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format) {
  *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
  return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index) { return NotPureBlack(::GetSysColor(index)); }

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  *style = m_bTransparent ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length) {
  *length = static_cast<DWORD>(m_nMaxLength);
  return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* bars) {
  *bars = m_dwStyle & kScrollBarStyles;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch) {
  *ch = m_chPasswordChar;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos) {
  *pos = m_nAccelPos;
  return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent) {
  *extent = m_sizelExtent;
  return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  DWORD all = 0;
  if (m_bRich) all |= TXTBIT_RICHTEXT;
  if (m_dwStyle & ES_MULTILINE) all |= TXTBIT_MULTILINE;
  if (m_dwStyle & ES_READONLY) all |= TXTBIT_READONLY;
  if (m_dwStyle & ES_PASSWORD) all |= TXTBIT_USEPASSWORD;
  if (!(m_dwStyle & ES_NOHIDESEL)) all |= TXTBIT_HIDESELECTION;
  if (m_bAutoWordSel) all |= TXTBIT_AUTOWORDSEL;
  if (m_bWordWrap) all |= TXTBIT_WORDWRAP;
  if (m_bAllowBeep) all |= TXTBIT_ALLOWBEEP;
  if (m_bSaveSelection) all |= TXTBIT_SAVESELECTION;
  *bits = all & mask;
  return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data) {
  if (code == EN_REQUESTRESIZE && data) {
    const RECT& wanted = static_cast<const REQRESIZE*>(data)->rc;
    SetClientRect(RECT{m_rcClient.left, m_rcClient.top, m_rcClient.left + wanted.right,
                       m_rcClient.top + wanted.bottom});
  }
  m_pOwner->OnTxNotify(code, data);
  return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return nullptr; }

void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width) {
  *width = m_nSelBarWidth;
  return S_OK;
}

// ---- Properties ----

void CTxtWinHost::SetReadOnly(int readOnly) {
  m_dwStyle = readOnly ? (m_dwStyle | ES_READONLY) : (m_dwStyle & ~static_cast<DWORD>(ES_READONLY));
  AnnounceProperty(TXTBIT_READONLY, readOnly != 0);
}

void CTxtWinHost::SetPassword(int password) {
  m_dwStyle = password ? (m_dwStyle | ES_PASSWORD) : (m_dwStyle & ~static_cast<DWORD>(ES_PASSWORD));
  AnnounceProperty(TXTBIT_USEPASSWORD, password != 0);
}

void CTxtWinHost::SetWordWrap(int wrap) { AnnounceProperty(TXTBIT_WORDWRAP, wrap != 0); }

void CTxtWinHost::SetRich(int rich) {
  m_bRich = rich ? 1 : 0;
  AnnounceProperty(TXTBIT_RICHTEXT, rich != 0);
}

void CTxtWinHost::SetLimitText(int limit) {
  m_nMaxLength = limit <= 0 ? kDefaultMaxLength : limit;
  AnnounceProperty(TXTBIT_MAXLENGTHCHANGE, true);
}

void CTxtWinHost::SetFont(HFONT font) {
  if (!font) return;
  LOGFONTW logFont = {};
  if (!::GetObjectW(font, sizeof(logFont), &logFont)) return;
  ApplyLogFont(m_charFormat, logFont, PixelsPerInch(LOGPIXELSY));
  AnnounceProperty(TXTBIT_CHARFORMATCHANGE, true);
}

void CTxtWinHost::SetTextColor(COLORREF colour) {
  m_charFormat.crTextColor = NotPureBlack(colour);
  AnnounceProperty(TXTBIT_CHARFORMATCHANGE, true);
}

void CTxtWinHost::SetTransparent() {
  m_bTransparent = 1;
  AnnounceProperty(TXTBIT_BACKSTYLECHANGE, false);
}

void CTxtWinHost::SetClientRect(const RECT& rect) {
  m_rcClient = rect;
  m_sizelExtent.cx = ::MulDiv(rect.right - rect.left, kHimetricPerInch, PixelsPerInch(LOGPIXELSX));
  m_sizelExtent.cy = ::MulDiv(rect.bottom - rect.top, kHimetricPerInch, PixelsPerInch(LOGPIXELSY));
  AnnounceProperty(TXTBIT_VIEWINSETCHANGE, true);
}

void CTxtWinHost::ActivateInPlace() {
  m_bInPlaceActive = 1;
  if (!m_pTextServices || FAILED(m_pTextServices->OnTxInPlaceActivate(nullptr))) m_bInPlaceActive = 0;
}

void CTxtWinHost::SetCharFormat(const CHARFORMAT2W& format) { m_charFormat = format; }

void CTxtWinHost::SetParaFormat(const PARAFORMAT2& format) { m_paraFormat = format; }

}  // namespace TESK
