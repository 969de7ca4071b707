// CTxtWinHost: the host through which one MRichEdit drives the platform's windowless text
// engine (the text services object of Msftedit.dll). The engine keeps text, selection, undo
// and layout; the host answers its requests with the control, the control's panel scroll
// bars and the window engine (PaintManager) of the control's window, and hands the engine's
// notifications to the control. Internal to the library: nothing here is exported; tests
// reach the host only through its virtual operations.
//
// Lifetime: a COM object with a count starting at 1. CreateTextHost hands the control that
// first reference; the control releases it in its destructor, and the host deletes itself at
// 0, deactivating the engine and releasing it. The engine calls back synchronously from the
// control's own calls; window's thread only.
//
// Calling conventions: the engine calls the 39 host operations __thiscall and the host calls
// the engine's operations __thiscall; IUnknown's three are __stdcall. The platform header
// declares both interfaces with plain virtuals, which the 32-bit compiler makes __thiscall, so
// ITextHost here is that declaration; CTxtWinHost.cpp checks the types in the 32-bit build.
#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace TESK {

class MRichEdit;

using ITextHost = ::ITextHost;

class CTxtWinHost : public ITextHost {
public:
  // IUnknown: IID_IUnknown and IID_ITextHost only.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ITextHost, in the platform's slot order.
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC dc) override;
  WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
  WINBOOL TxEnableScrollBar(INT bars, INT arrows) override;
  WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
  WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
  void TxInvalidateRect(LPCRECT rect, WINBOOL erase) override;
  void TxViewChange(WINBOOL update) override;
  WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  WINBOOL TxShowCaret(WINBOOL show) override;
  WINBOOL TxSetCaretPos(INT x, INT y) override;
  WINBOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                        UINT flags) override;
  void TxSetCapture(WINBOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
  WINBOOL TxScreenToClient(LPPOINT pt) override;
  WINBOOL TxClientToScreen(LPPOINT pt) override;
  HRESULT TxActivate(LONG* oldState) override;
  HRESULT TxDeactivate(LONG newState) override;
  HRESULT TxGetClientRect(LPRECT rect) override;
  HRESULT TxGetViewInset(LPRECT rect) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* bars) override;
  HRESULT TxGetPasswordChar(TCHAR* ch) override;
  HRESULT TxGetAcceleratorPos(LONG* pos) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD code, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC context) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

  // Creation's steps after construction (see CreateTextHost); false when one failed.
  bool AttachTextServices(MRichEdit* control, const CREATESTRUCTW& info);

  // Properties the control changes; each that the engine must know of is announced to it.
  void SetReadOnly(int readOnly);
  void SetPassword(int password);
  void SetWordWrap(int wrap);
  void SetRich(int rich);
  // A limit of 0 or less means 32767.
  void SetLimitText(int limit);
  // Size, effects (added, never removed), character set, pitch and face of font; the mask
  // and the colour stay. Nothing for a null font.
  void SetFont(HFONT font);
  // Pure black goes to the engine as 0x000001.
  void SetTextColor(COLORREF colour);
  void SetTransparent();
  void SetClientRect(const RECT& rect);
  void ActivateInPlace();
  // Copies into the default formats; the engine is not told.
  void SetCharFormat(const CHARFORMAT2W& format);
  void SetParaFormat(const PARAFORMAT2& format);
  void GetClientRect(RECT& rect) const { rect = m_rcClient; }
  int IsCaptured() const { return m_bCaptured; }
  ITextServices* GetTextServices() const { return m_pTextServices; }

protected:
  explicit CTxtWinHost(MRichEdit* owner);
  // Deactivates the engine and releases it; only Release deletes.
  virtual ~CTxtWinHost();

private:
  friend bool CreateTextHost(const CREATESTRUCTW& info, MRichEdit* control, CTxtWinHost** host);

  bool BuildDefaultCharFormat();
  void BuildDefaultParaFormat();
  // Tells the engine that the property of mask is now on (bits = mask) or off (0).
  void AnnounceProperty(DWORD mask, bool on);
  // LOGPIXELSX / LOGPIXELSY of the window engine's paint DC (96 without one).
  int PixelsPerInch(int index) const;
  // The window of the owner's engine while it is a window, else null.
  HWND LiveWindow() const;
  bool IsLayered() const;

  MRichEdit* m_pOwner;
  ULONG m_cRefs;
  ITextServices* m_pTextServices;
  DWORD m_dwStyle;
  unsigned m_bAutoWordSel : 1;
  unsigned m_bWordWrap : 1;
  unsigned m_bAllowBeep : 1;
  unsigned m_bRich : 1;
  unsigned m_bSaveSelection : 1;
  unsigned m_bInPlaceActive : 1;
  unsigned m_bTransparent : 1;
  unsigned m_bTimer : 1;
  unsigned m_bCaptured : 1;
  unsigned m_bShowCaret : 1;
  INT m_nCaretWidth;
  INT m_nCaretHeight;
  LONG m_nSelBarWidth;
  LONG m_nMaxLength;
  RECT m_rcClient;
  SIZEL m_sizelExtent;
  CHARFORMAT2W m_charFormat;
  PARAFORMAT2 m_paraFormat;
  LONG m_nAccelPos;
  WCHAR m_chPasswordChar;
};

// Creates the host for control from info (only its style and window name, the initial
// text, are read) and the engine behind it. On success *host holds the one reference and
// the result is true; on any failure (no library, entry or object, no interface, initial
// text refused) the host is gone, *host is null and the result false.
bool CreateTextHost(const CREATESTRUCTW& info, MRichEdit* control, CTxtWinHost** host);

}  // namespace TESK
