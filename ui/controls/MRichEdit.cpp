#include "ui/controls/MRichEdit.h"

#include <imm.h>

#include <cstdio>
#include <vector>

#include "ui/controls/CScrollHorizontal.h"
#include "ui/controls/CScrollVertical.h"
#include "ui/controls/CTxtWinHost.h"
#include "ui/core/MRender.h"
#include "ui/core/NativeEdit.h"
#include "ui/core/PaintManager.h"

namespace TESK {

namespace {

enum State { kNormal = 0, kHover = 1, kFocused = 2, kDisabled = 3 };
constexpr int kCells = 4;
constexpr int kFaceBorder = 4;
constexpr COLORREF kDefaultTextColor = 0x141414;
constexpr long kDefaultStyle = WS_VSCROLL | ES_AUTOVSCROLL | ES_MULTILINE;
constexpr DWORD kDefaultEvents = ENM_CHANGE | ENM_DROPFILES | ENM_LINK;
constexpr UINT kUnicodeCodePage = 1200;
constexpr int kMaxZoomPart = 64;
constexpr Gdiplus::ARGB kTipColour = 0xFF808080;
constexpr INT kTipFormatFlags = Gdiplus::StringFormatFlagsNoWrap | Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
constexpr UINT kVerticalBarId = 1;

// The context menu's commands, in the order shown.
enum MenuCommand : UINT {
  kUndo = 101,
  kCut = 102,
  kCopy = 103,
  kPaste = 104,
  kClear = 105,
  kSelectAll = 106,
  kRedo = 107,
};

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_XBUTTONDBLCLK; }

CPoint PointOf(LPARAM lParam) {
  return CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
}

DWORD CALLBACK RtfReadCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  *done = static_cast<LONG>(std::fread(buffer, 1, static_cast<size_t>(size), reinterpret_cast<FILE*>(cookie)));
  return 0;
}

DWORD CALLBACK RtfWriteCallback(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  *done = static_cast<LONG>(std::fwrite(buffer, 1, static_cast<size_t>(size), reinterpret_cast<FILE*>(cookie)));
  return 0;
}

// Owns a C file for one scope.
class ScopedFile {
public:
  ScopedFile(const wchar_t* path, const wchar_t* mode) : m_file(path ? _wfopen(path, mode) : nullptr) {}
  ~ScopedFile() {
    if (m_file) std::fclose(m_file);
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  FILE* get() const { return m_file; }

private:
  FILE* m_file;
};

}  // namespace

MRichEdit::MRichEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int)
    : MPanel(owner, id, rect, visible),
      m_nState(kNormal),
      m_pHost(nullptr),
      m_bWantTab(1),
      m_bWantReturn(1),
      m_bWantCtrlReturn(1),
      m_bRich(1),
      m_bReadOnly(0),
      m_bPassword(0),
      m_bWordWrap(0),
      m_crTextColor(kDefaultTextColor),
      m_nLimitText(256),
      m_lWinStyle(kDefaultStyle),
      m_bInited(0),
      m_bAccumulateDBC(0),
      m_strTip(tip),
      m_rcTextPadding{5, 5, 5, 5},
      m_chPasswordChar(0xA1F1),
      m_pIconImage(nullptr),
      m_nIconFrameWidth(0),
      m_nIconHeight(0),
      m_nIconFrames(1) {
  m_bTabStop = 1;
  m_bDerived = 1;
  m_nAlignment = 1;
}

MRichEdit::~MRichEdit() {
  // The engine calls back into this control while it is deactivated: release it while the
  // control is still whole.
  if (CTxtWinHost* host = m_pHost) {
    m_pHost = nullptr;
    host->Release();
  }
}

void MRichEdit::Repaint(int rebuild) {
  if (m_bVisible && m_pParent) m_pParent->OnControlUpdate(m_rect, rebuild, this);
}

// ---- Creation and layout ----

void MRichEdit::InitControl(PaintManager* manager) {
  if (m_bInited) return;
  MPanel::InitControl(manager);
  CREATESTRUCTW info = {};
  info.style = m_lWinStyle;
  info.lpszName = m_strTitle;
  if (CreateTextHost(info, this, &m_pHost)) {
    m_pHost->SetTransparent();
    Send(EM_SETLANGOPTIONS, 0, 0);
    Send(EM_SETEVENTMASK, 0, kDefaultEvents);
    m_pHost->ActivateInPlace();
    SetControlRect(m_rect);
  }
  m_bInited = 1;
}

void MRichEdit::SetControlRect(CRect rect) {
  m_rect = rect;
  if (!m_pHost) return;
  const RECT& pad = m_rcTextPadding;
  LayoutTextArea(CRect(rect.left + pad.left, rect.top + pad.top, rect.right - pad.right, rect.bottom - pad.bottom),
                 true, m_nScrollThickness + 10);
}

void MRichEdit::LayoutTextArea(CRect text, bool verticalNeedsVisibleBar, int verticalExtra) {
  if (IsMultiLine() && m_pScrollV && (!verticalNeedsVisibleBar || m_pScrollV->IsVisible())) {
    m_pScrollV->SetRect(CRect(text.right - m_nScrollThickness, text.top, text.right, text.bottom));
    text.right -= verticalExtra;
  }
  if ((m_lWinStyle & (WS_HSCROLL | ES_AUTOHSCROLL)) && m_pScrollH) {
    m_pScrollH->SetRect(CRect(text.left, text.bottom - m_nScrollThickness, text.right, text.bottom));
  }
  if (m_pHost) m_pHost->SetClientRect(text);
}

CRect MRichEdit::CentreTextArea(const CRect& rect, int rightExtra) {
  const int padding = rect.Height() / 2 - 8;
  m_rcTextPadding.top = padding;
  m_rcTextPadding.bottom = padding;
  const RECT& pad = m_rcTextPadding;
  return CRect(rect.left + pad.left, rect.top + pad.top, rect.right - pad.right - rightExtra,
               rect.bottom - pad.bottom);
}

// ---- Drawing ----

void MRichEdit::DrawControl(HDC& dc, CRect update) {
  DrawStateCells(dc, m_rect.Width(), TipLayout::Near);
  DrawEngineText(dc, update);
}

void MRichEdit::DrawStateCells(HDC& dc, int cellWidth, TipLayout tip) {
  const int h = m_rect.Height();
  if (!m_pImage || m_pImage->GetLastStatus() != Gdiplus::Ok || cellWidth <= 0 || h <= 0) return;
  if (!m_bCacheValid) {
    UpdateMemDC(dc, kCells * cellWidth, h);
    if (!m_hCacheDC) return;
    Gdiplus::Graphics g(m_hCacheDC);
    for (int cell = 0; cell < kCells; ++cell) {
      ::BitBlt(m_hCacheDC, cell * cellWidth, 0, cellWidth, h, dc, m_rect.left, m_rect.top, SRCCOPY);
      MRender::DrawImageFrame(g, m_pImage, CRect(cell * cellWidth, 0, (cell + 1) * cellWidth, h),
                              m_nFrameWidth * cell, 0, m_nFrameWidth, m_nFrameHeight, kFaceBorder);
    }
    if (tip != TipLayout::None && m_strTitle.IsEmpty() && !m_strTip.IsEmpty()) {
      ::SetBkMode(m_hCacheDC, TRANSPARENT);
      const RECT& pad = m_rcTextPadding;
      const int lower = tip == TipLayout::CentredLower ? 2 : 0;
      const UINT vertical = tip == TipLayout::CentredLower ? DT_VCENTER : DT_TOP;
      for (int cell = 0; cell < kCells; ++cell) {
        const Gdiplus::RectF box(static_cast<Gdiplus::REAL>(cell * cellWidth + pad.left),
                                 static_cast<Gdiplus::REAL>(pad.top + lower),
                                 static_cast<Gdiplus::REAL>(cellWidth - pad.left - pad.right),
                                 static_cast<Gdiplus::REAL>(h - pad.top - pad.bottom));
        DrawTitleText(g, m_strTip, box, kTipFormatFlags, m_textRenderingHint, DT_LEFT, vertical, kTipColour);
      }
    }
  }
  const int cell = m_nState >= 0 && m_nState < kCells ? m_nState : kNormal;
  ::BitBlt(dc, m_rect.left, m_rect.top, cellWidth, h, m_hCacheDC, cell * cellWidth, 0, SRCCOPY);
}

void MRichEdit::DrawEngineText(HDC dc, const CRect& update) {
  if (!m_pHost) return;
  RECT client;
  m_pHost->GetClientRect(client);
  const RECTL bounds = {client.left, client.top, client.right, client.bottom};
  RECT dirty = update;
  m_pHost->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, &dirty,
                                     nullptr, 0, TXTVIEW_ACTIVE);
}

// ---- Focus, state and input ----

void MRichEdit::FocusEngine(int focus) {
  if (m_pHost) {
    m_pHost->ActivateInPlace();
    Send(focus ? WM_SETFOCUS : WM_KILLFOCUS);
  }
  m_bFocused = focus ? 1 : 0;
}

int MRichEdit::SetControlFocus(int focus) {
  const int old = m_nState;
  m_nState = focus ? kFocused : kNormal;
  FocusEngine(focus);
  if (m_nState == old) return 0;
  Repaint(1);
  return 1;
}

int MRichEdit::ChangeState(int state) {
  if (state == m_nState) return 0;
  m_nState = state;
  Repaint(0);
  return 1;
}

int MRichEdit::OnControlMouseMove(UINT, CPoint pt) {
  if (m_bReadOnly || !m_bEnabled || m_nState == kFocused) return 0;
  return ChangeState(m_rect.PtInRect(pt) ? kHover : kNormal);
}

int MRichEdit::OnControlLButtonDown(UINT, CPoint pt) {
  if (m_bReadOnly || !m_bEnabled || !m_rect.PtInRect(pt)) return 0;
  const int old = m_nState;
  m_nState = kFocused;
  FocusEngine(1);
  const int changed = m_nState != old ? 1 : 0;
  if (changed) Repaint(0);
  SendMessageW(NOTIFY_PRESSED, 0, 0);
  return changed;
}

int MRichEdit::OnControlLButtonUp(UINT, CPoint pt) {
  if (m_bReadOnly || !m_bEnabled) return 0;
  const int old = m_nState;
  if (!ChangeState(m_rect.PtInRect(pt) ? kHover : kNormal)) return 0;
  if (old == kFocused && m_nState == kHover) SendMessageW(NOTIFY_CLICKED, 0, 0);
  return 1;
}

int MRichEdit::OnControlScroll(int, UINT direction, CPoint) {
  if (m_pScrollV && m_pScrollV->IsVisible()) {
    Send(WM_VSCROLL, direction == 0 ? SB_LINEUP : SB_LINEDOWN);
    return 1;
  }
  return m_pScrollH && m_pScrollH->IsVisible() ? 1 : 0;
}

int MRichEdit::OnControlKeyDown(UINT key, UINT count, UINT modifiers) {
  return MControl::OnControlKeyDown(key, count, modifiers);
}

void MRichEdit::SetControlEnabled(int enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  m_nState = enabled ? kNormal : kDisabled;
  if (m_pHost) {
    m_pHost->SetTextColor(enabled || !m_pManager ? m_crTextColor : m_pManager->GetDefaultEnabledColor());
  }
  Repaint(0);
}

LRESULT MRichEdit::OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if (id == kVerticalBarId && code == NOTIFY_CHANGING && m_pScrollV) {
    const int pos = m_pScrollV->GetScrollCurrentPos();
    Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos & 0xFFFF)));
  }
  return m_pParent ? m_pParent->OnBaseMessage(id, code, wParam, lParam) : 0;
}

LRESULT MRichEdit::OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_bVisible || !m_bEnabled) return 0;
  if (!m_bResponse && IsMouseMessage(msg)) return 0;
  if (msg == WM_MOUSEWHEEL && !(LOWORD(wParam) & MK_CONTROL)) return 0;
  HWND window = m_pManager ? m_pManager->GetPaintWnd() : nullptr;

  if (msg == WM_IME_COMPOSITION) {
    // The input method draws its composition at the caret; the engine never sees the message.
    if (HIMC context = window ? ::ImmGetContext(window) : nullptr) {
      COMPOSITIONFORM form = {};
      form.dwStyle = CFS_POINT;
      ::GetCaretPos(&form.ptCurrentPos);
      ::ImmSetCompositionWindow(context, &form);
      ::ImmReleaseContext(window, context);
    }
    return 0;
  }

  if (IsMouseMessage(msg) || msg == WM_SETCURSOR) {
    if (!m_pHost || !m_pHost->IsCaptured()) {
      CPoint pt = PointOf(lParam);
      if (msg == WM_MOUSEWHEEL) {
        if (window) ::ScreenToClient(window, &pt);
      } else if (msg == WM_SETCURSOR) {
        // WM_SETCURSOR carries no point: the cursor's own position counts.
        ::GetCursorPos(&pt);
        if (window) ::ScreenToClient(window, &pt);
      }
      switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
          if (!m_rect.PtInRect(pt)) return 0;
          break;
        case WM_RBUTTONUP:
          // Taken inside, so that the release opens no other menu; WM_CONTEXTMENU follows.
          return m_rect.PtInRect(pt) ? 1 : 0;
        default:
          break;
      }
      RECT client = {0, 0, 0, 0};
      if (m_pHost) m_pHost->GetClientRect(client);
      if (!::PtInRect(&client, pt) || (m_pManager && m_pManager->IsCaptured())) return 0;
    }
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) SetControlFocus(1);
    return Send(msg, wParam, lParam);
  }

  if (msg >= WM_KEYDOWN && msg <= WM_UNICHAR) return m_bFocused ? Send(msg, wParam, lParam) : 0;

  switch (msg) {
    case WM_CONTEXTMENU: {
      CPoint pt = PointOf(lParam);
      if (window) ::ScreenToClient(window, &pt);
      if (!m_rect.PtInRect(pt)) return 0;
      ShowContextMenu(lParam);
      return Send(msg, wParam, lParam);
    }
    case WM_COMMAND:
      if (!m_bFocused) return 0;
      switch (LOWORD(wParam)) {
        case kUndo: Undo(); break;
        case kCut: Cut(); break;
        case kCopy: Copy(); break;
        case kPaste: Paste(); break;
        case kClear: Clear(); break;
        case kSelectAll: SetSelAll(); break;
        case kRedo: Redo(); break;
        default: break;
      }
      return Send(msg, wParam, lParam);
    case WM_HELP:
      return Send(msg, wParam, lParam);
    default:
      return 0;
  }
}

void MRichEdit::ShowContextMenu(LPARAM lParam) {
  HMENU menu = ::CreatePopupMenu();
  if (!menu) return;
  const bool noSelection = GetSelectionType() == 0;
  const auto add = [menu](UINT id, const wchar_t* text, bool grey) {
    ::AppendMenuW(menu, MF_STRING | (grey ? MF_GRAYED : 0), id, text);
  };
  add(kUndo, L"Undo(&U)", !CanUndo());
  add(kRedo, L"Redo(&R)", !CanRedo());
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kCut, L"Cut(&X)", m_bReadOnly || noSelection);
  add(kCopy, L"Copy(&C)", noSelection);
  add(kPaste, L"Paste(&V)", m_bReadOnly != 0);
  add(kClear, L"Clear(&L)", m_bReadOnly || noSelection);
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  add(kSelectAll, L"SelectAll(&A)", false);
  const CPoint pt = PointOf(lParam);
  ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_pManager ? m_pManager->GetPaintWnd() : nullptr, nullptr);
  ::DestroyMenu(menu);
}

// ---- Title and the engine's notifications ----

CString MRichEdit::ReadEngineText() const {
  const long length = GetTextLength(GTL_DEFAULT);
  if (length <= 0) return CString();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, 0);
  GETTEXTEX request = {};
  request.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  request.flags = GT_DEFAULT;
  request.codepage = kUnicodeCodePage;
  Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data());
}

CString MRichEdit::GetControlTitle() {
  // Without an engine the title is the text.
  return m_pHost ? ReadEngineText() : m_strTitle;
}

void MRichEdit::RepaintForTip(const CString& before, const CString& after) {
  if (!m_strTip.IsEmpty() && before.IsEmpty() != after.IsEmpty()) Repaint(1);
}

void MRichEdit::SetControlTitle(const wchar_t* text) {
  const CString next(text);
  RepaintForTip(m_strTitle, next);
  m_strTitle = next;
  if (!m_pHost) return;
  CHARRANGE all = {0, -1};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  Send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(next.GetString()));
}

void MRichEdit::OnTxNotify(DWORD code, void*) {
  if (code != EN_CHANGE) return;
  const CString text = GetTitle();
  RepaintForTip(m_strTitle, text);
  m_strTitle = text;
}

BOOL MRichEdit::OnTxViewChanged(BOOL) { return TRUE; }

HRESULT MRichEdit::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
  if (!m_pHost) return S_FALSE;
  return m_pHost->GetTextServices()->TxSendMessage(msg, wParam, lParam, result);
}

LRESULT MRichEdit::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
  LRESULT result = 0;
  TxSendMessage(msg, wParam, lParam, &result);
  return result;
}

// ---- Wrappers ----

long MRichEdit::GetTextLength(DWORD flags) const {
  GETTEXTLENGTHEX request = {flags, kUnicodeCodePage};
  return static_cast<long>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}

BOOL MRichEdit::GetModify() const { return m_pHost && Send(EM_GETMODIFY) == 1; }

void MRichEdit::SetModify(BOOL modified) const { Send(EM_SETMODIFY, static_cast<WPARAM>(modified)); }

void MRichEdit::GetSel(CHARRANGE& range) const { Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range)); }

void MRichEdit::GetSel(long& start, long& end) const {
  CHARRANGE range = {start, end};
  GetSel(range);
  start = range.cpMin;
  end = range.cpMax;
}

int MRichEdit::SetSel(CHARRANGE& range) const {
  return static_cast<int>(Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range)));
}

int MRichEdit::SetSel(long start, long end) const {
  CHARRANGE range = {start, end};
  return SetSel(range);
}

int MRichEdit::SetSelAll() const { return SetSel(0, -1); }

int MRichEdit::SetSelNone() const { return SetSel(-1, 0); }

void MRichEdit::ReplaceSel(const wchar_t* text, BOOL canUndo) const {
  Send(EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
}

void MRichEdit::ReplaceSelW(const wchar_t* text, BOOL canUndo) const { ReplaceSel(text, canUndo); }

CString MRichEdit::GetSelText() const {
  if (!m_pHost) return CString();
  CHARRANGE range = {0, 0};
  GetSel(range);
  if (range.cpMax <= range.cpMin) return CString();
  std::vector<wchar_t> buffer(static_cast<size_t>(range.cpMax - range.cpMin) + 1, 0);
  Send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
  return CString(buffer.data());
}

CString MRichEdit::GetTextRange(long start, long end) const {
  if (!m_pHost) return CString();
  if (end == -1) end = GetTextLength(GTL_DEFAULT);
  // The buffer holds end - start characters and the terminator: nothing to read, no buffer.
  if (end <= start) return CString();
  std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, 0);
  TEXTRANGEW range = {{start, end}, buffer.data()};
  Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
  return CString(buffer.data());
}

CString MRichEdit::GetLine(int line, int maxChars) const {
  if (!m_pHost || maxChars < 1) return CString();
  std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 1, 0);
  // The engine reads the buffer's size from its first character.
  buffer[0] = static_cast<wchar_t>(maxChars > 0xFFFF ? 0xFFFF : maxChars);
  const LRESULT copied = Send(EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer.data()));
  // The copy has no terminator: the count says where the line ends (an empty line leaves the size there).
  if (copied <= 0) return CString();
  return CString(buffer.data(), static_cast<int>(copied < maxChars ? copied : maxChars));
}

BOOL MRichEdit::GetZoom(int& numerator, int& denominator) const {
  return Send(EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator)) == 1;
}

BOOL MRichEdit::SetZoom(int numerator, int denominator) const {
  if (static_cast<unsigned>(numerator) > kMaxZoomPart || static_cast<unsigned>(denominator) > kMaxZoomPart) {
    return FALSE;
  }
  return Send(EM_SETZOOM, static_cast<WPARAM>(numerator), static_cast<LPARAM>(denominator)) == 1;
}

BOOL MRichEdit::SetZoomOff() const { return Send(EM_SETZOOM, 0, 0) == 1; }

WORD MRichEdit::GetSelectionType() const { return static_cast<WORD>(Send(EM_SELECTIONTYPE) & 0xFFFF); }

BOOL MRichEdit::GetAutoURLDetect() const { return Send(EM_GETAUTOURLDETECT) == 1; }

BOOL MRichEdit::SetAutoURLDetect(BOOL detect) const {
  return m_pHost && Send(EM_AUTOURLDETECT, static_cast<WPARAM>(detect)) == 0;
}

DWORD MRichEdit::GetEventMask() const { return static_cast<DWORD>(Send(EM_GETEVENTMASK)); }

DWORD MRichEdit::SetEventMask(DWORD mask) const { return static_cast<DWORD>(Send(EM_SETEVENTMASK, 0, mask)); }

void MRichEdit::HideSelection(BOOL hide, BOOL changeStyle) const {
  Send(EM_HIDESELECTION, static_cast<WPARAM>(hide), static_cast<LPARAM>(changeStyle));
}

void MRichEdit::ScrollCaret() const { Send(EM_SCROLLCARET); }

int MRichEdit::InsertText(long pos, const wchar_t* text, BOOL canUndo) const {
  const int result = SetSel(pos, pos);
  ReplaceSel(text, canUndo);
  return result;
}

int MRichEdit::AppendText(const wchar_t* text, BOOL canUndo) const {
  const int result = SetSel(-1, -1);
  ReplaceSel(text, canUndo);
  return result;
}

DWORD MRichEdit::GetDefaultCharFormat(CHARFORMAT2W& format) const {
  format.cbSize = sizeof(CHARFORMAT2W);
  return static_cast<DWORD>(Send(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)));
}

DWORD MRichEdit::GetSelectionCharFormat(CHARFORMAT2W& format) const {
  format.cbSize = sizeof(CHARFORMAT2W);
  return static_cast<DWORD>(Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)));
}

BOOL MRichEdit::SetDefaultCharFormat(CHARFORMAT2W& format) const {
  if (!m_pHost) return FALSE;
  format.cbSize = sizeof(CHARFORMAT2W);
  if (Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format)) != 1) return FALSE;
  CHARFORMAT2W applied = {};
  applied.cbSize = sizeof(CHARFORMAT2W);
  Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&applied));
  m_pHost->SetCharFormat(applied);
  return TRUE;
}

BOOL MRichEdit::SetSelectionCharFormat(CHARFORMAT2W& format) const {
  if (!m_pHost) return FALSE;
  format.cbSize = sizeof(CHARFORMAT2W);
  return Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format)) == 1;
}

BOOL MRichEdit::SetWordCharFormat(CHARFORMAT2W& format) const {
  if (!m_pHost) return FALSE;
  format.cbSize = sizeof(CHARFORMAT2W);
  return Send(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, reinterpret_cast<LPARAM>(&format)) == 1;
}

DWORD MRichEdit::GetParaFormat(PARAFORMAT2& format) const {
  format.cbSize = sizeof(PARAFORMAT2);
  return static_cast<DWORD>(Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)));
}

BOOL MRichEdit::SetParaFormat(PARAFORMAT2& format) const {
  if (!m_pHost) return FALSE;
  format.cbSize = sizeof(PARAFORMAT2);
  if (Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)) != 1) return FALSE;
  m_pHost->SetParaFormat(format);
  return TRUE;
}

BOOL MRichEdit::CanUndo() const { return m_pHost && Send(EM_CANUNDO) == 1; }

BOOL MRichEdit::CanRedo() const { return m_pHost && Send(EM_CANREDO) == 1; }

BOOL MRichEdit::CanPaste(UINT format) const { return m_pHost && Send(EM_CANPASTE, format) == 1; }

BOOL MRichEdit::Undo() const { return m_pHost && Send(EM_UNDO) == 1; }

BOOL MRichEdit::Redo() const { return m_pHost && Send(EM_REDO) == 1; }

void MRichEdit::Clear() const {
  SetSelAll();
  Send(WM_CLEAR);
}

void MRichEdit::Copy() const { Send(WM_COPY); }

void MRichEdit::Cut() const { Send(WM_CUT); }

void MRichEdit::Paste() const { Send(WM_PASTE); }

int MRichEdit::GetLineCount() const { return m_pHost ? static_cast<int>(Send(EM_GETLINECOUNT)) : 0; }

int MRichEdit::LineIndex(int line) const { return static_cast<int>(Send(EM_LINEINDEX, static_cast<WPARAM>(line))); }

int MRichEdit::LineLength(int charIndex) const {
  return static_cast<int>(Send(EM_LINELENGTH, static_cast<WPARAM>(charIndex)));
}

BOOL MRichEdit::LineScroll(int lines, int chars) const {
  return Send(EM_LINESCROLL, static_cast<WPARAM>(chars), static_cast<LPARAM>(lines)) == 1;
}

long MRichEdit::LineFromChar(long charIndex) const {
  return m_pHost ? static_cast<long>(Send(EM_EXLINEFROMCHAR, 0, static_cast<LPARAM>(charIndex))) : 0;
}

CPoint MRichEdit::PosFromChar(UINT charIndex) const {
  POINTL pt = {0, 0};
  Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), static_cast<LPARAM>(charIndex));
  return CPoint(pt.x, pt.y);
}

int MRichEdit::CharFromPos(CPoint pt) const {
  if (!m_pHost) return 0;
  POINTL where = {pt.x, pt.y};
  return static_cast<int>(Send(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&where)));
}

void MRichEdit::EmptyUndoBuffer() const {
  if (m_pHost) Send(EM_EMPTYUNDOBUFFER);
}

UINT MRichEdit::SetUndoLimit(UINT limit) const {
  return m_pHost ? static_cast<UINT>(Send(EM_SETUNDOLIMIT, limit)) : 0;
}

void MRichEdit::LineUp() const { Send(WM_VSCROLL, SB_LINEUP); }
void MRichEdit::LineDown() const { Send(WM_VSCROLL, SB_LINEDOWN); }
void MRichEdit::PageUp() const { Send(WM_VSCROLL, SB_PAGEUP); }
void MRichEdit::PageDown() const { Send(WM_VSCROLL, SB_PAGEDOWN); }
void MRichEdit::HomeUp() const { Send(WM_VSCROLL, SB_TOP); }
void MRichEdit::EndDown() const { Send(WM_VSCROLL, SB_BOTTOM); }
void MRichEdit::LineLeft() const { Send(WM_HSCROLL, SB_LINELEFT); }
void MRichEdit::LineRight() const { Send(WM_HSCROLL, SB_LINERIGHT); }
void MRichEdit::PageLeft() const { Send(WM_HSCROLL, SB_PAGELEFT); }
void MRichEdit::PageRight() const { Send(WM_HSCROLL, SB_PAGERIGHT); }
void MRichEdit::HomeLeft() const { Send(WM_HSCROLL, SB_LEFT); }
void MRichEdit::EndRight() const { Send(WM_HSCROLL, SB_RIGHT); }

long MRichEdit::StreamIn(int format, EDITSTREAM& stream) const {
  return m_pHost ? static_cast<long>(Send(EM_STREAMIN, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream)))
                 : 0;
}

long MRichEdit::StreamOut(int format, EDITSTREAM& stream) const {
  return m_pHost
             ? static_cast<long>(Send(EM_STREAMOUT, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&stream)))
             : 0;
}

HRESULT MRichEdit::LoadRtf(const wchar_t* path) const {
  // Without an engine no file is opened (opening for writing would empty it).
  if (!m_pHost) return S_FALSE;
  ScopedFile file(path, L"rb");
  if (!file.get()) return E_FAIL;
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(file.get()), 0, RtfReadCallback};
  LRESULT result = 0;
  return TxSendMessage(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream), &result);
}

HRESULT MRichEdit::SaveRtf(const wchar_t* path) const {
  if (!m_pHost) return S_FALSE;
  ScopedFile file(path, L"wb");
  if (!file.get()) return E_FAIL;
  EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(file.get()), 0, RtfWriteCallback};
  LRESULT result = 0;
  return TxSendMessage(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream), &result);
}

BOOL MRichEdit::SetDropAcceptFile(BOOL) const {
  if (!m_pHost) return FALSE;
  // Added to the mask, so that the change events (title, tip) keep coming.
  const DWORD previous = SetEventMask(GetEventMask() | ENM_DROPFILES | ENM_LINK);
  return previous == 0 ? TRUE : FALSE;
}

IDropTarget* MRichEdit::GetTxDropTarget() const {
  IDropTarget* target = nullptr;
  if (!m_pHost || FAILED(m_pHost->GetTextServices()->TxGetDropTarget(&target))) return nullptr;
  return target;
}

// ---- Properties ----

void MRichEdit::SetMultiLine(int multiLine) {
  m_lWinStyle = multiLine ? (m_lWinStyle | ES_MULTILINE) : (m_lWinStyle & ~static_cast<long>(ES_MULTILINE));
}

void MRichEdit::SetRich(int rich) {
  m_bRich = rich;
  if (m_pHost) m_pHost->SetRich(rich);
}

void MRichEdit::SetReadOnly(int readOnly) {
  m_bReadOnly = readOnly;
  if (m_pHost) m_pHost->SetReadOnly(readOnly);
}

void MRichEdit::SetWordWrap(int wrap) {
  m_bWordWrap = wrap;
  if (m_pHost) m_pHost->SetWordWrap(wrap);
}

void MRichEdit::SetLimitText(int limit) {
  m_nLimitText = limit;
  if (m_pHost) m_pHost->SetLimitText(limit);
}

void MRichEdit::SetPassword(int password) {
  m_lWinStyle = password ? (m_lWinStyle | ES_PASSWORD) : (m_lWinStyle & ~static_cast<long>(ES_PASSWORD));
  m_bPassword = password;
  if (m_pHost) m_pHost->SetPassword(password);
}

void MRichEdit::SetTextColor(Gdiplus::Color color) {
  MPanel::SetTextColor(color);
  m_crTextColor = color.ToCOLORREF();
  if (m_pHost) m_pHost->SetTextColor(m_crTextColor);
}

void MRichEdit::SetTextPadding(RECT padding) {
  m_rcTextPadding = padding;
  Repaint(1);
}

int MRichEdit::SetIconImage(const wchar_t* file, int frames) {
  if (!m_pManager) return 0;
  ImgResInfo* info = m_pManager->AddImgResInfo(file, frames);
  if (!info) return 0;
  m_pIconImage = info->image;
  m_nIconFrameWidth = static_cast<int>(info->frameWidth);
  m_nIconHeight = static_cast<int>(info->height);
  m_nIconFrames = info->frames;
  Repaint(1);
  return 1;
}

// ---- Fonts ----

HFONT MRichEdit::GetDefaultFont() { return CreateStyledFont(m_strFontName, -m_nFontWidth, m_nFontStyle); }

void MRichEdit::SetFont(const wchar_t* face, int size, int bold, int underline, int italic) {
  if (!m_pHost) return;
  HFONT font = CreateStyledFont(face, -size, (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0));
  m_pHost->SetFont(font);
  if (font) ::DeleteObject(font);
}

void MRichEdit::SetFont() {
  SetFont(m_strFontName, m_nFontWidth, m_nFontStyle & 1, m_nFontStyle & 4, m_nFontStyle & 2);
}

void MRichEdit::SetTextFont(CString name) {
  MPanel::SetTextFont(name);
  SetFont();
}

}  // namespace TESK
