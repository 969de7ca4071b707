// MRichEdit: the library's windowless rich edit. A panel (its two scroll bars serve the text)
// whose text, selection, caret, undo and layout belong to the platform's text engine, reached
// through the control's CTxtWinHost. It routes the window's mouse, key, IME and menu messages
// into the engine, draws a four-cell skinned face (normal, hover, focused, disabled) with a
// grey tip while it is empty, lets the engine draw the text over it, offers the edit
// operations as thin wrappers over the engine's messages, and keeps its title in step with
// the engine's text.
//
// Without the engine (Msftedit.dll missing) the control has no host: every wrapper returns
// its neutral value and sends nothing, and only the face is drawn. Owns its host reference
// (released in the destructor; the host deletes itself) and the tip. Window's thread only.
// Notifications to the owner: 1 press, 2 release after a press; its bars' notifications pass
// on unchanged.
#pragma once

#include <windows.h>
#include <richedit.h>

#include "ui/core/CString.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/TeskApi.h"

struct IDropTarget;

namespace TESK {

class CTxtWinHost;

class TESK_API MRichEdit : public MPanel {
public:
  MRichEdit(MObject* owner, UINT id, CRect rect, const wchar_t* tip, int visible, int other);
  ~MRichEdit() override;

  // Overrides in their base slot order.
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect update) override;
  int SetControlFocus(int focus) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  void SetControlRect(CRect rect) override;
  void SetControlEnabled(int enabled) override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlScroll(int rows, UINT direction, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;
  void SetTextFont(CString name) override;
  void SetTextColor(Gdiplus::Color color) override;
  void SetControlTitle(const wchar_t* text) override;
  CString GetControlTitle() override;

  // Added after MPanel's, in this order.
  // The engine's answer to msg; S_FALSE and result untouched without an engine.
  virtual HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
  // Asked by the host when the engine's view changed; nonzero lets the host invalidate the text.
  virtual BOOL OnTxViewChanged(BOOL update);
  // The engine's notifications; EN_CHANGE keeps the title in step.
  virtual void OnTxNotify(DWORD code, void* data);

  // ---- Wrappers over the engine's messages ----
  long GetTextLength(DWORD flags = GTL_DEFAULT) const;
  BOOL GetModify() const;
  void SetModify(BOOL modified = TRUE) const;
  void GetSel(CHARRANGE& range) const;
  void GetSel(long& start, long& end) const;
  int SetSel(CHARRANGE& range) const;
  int SetSel(long start, long end) const;
  int SetSelAll() const;
  int SetSelNone() const;
  void ReplaceSel(const wchar_t* text, BOOL canUndo = FALSE) const;
  void ReplaceSelW(const wchar_t* text, BOOL canUndo = FALSE) const;
  CString GetSelText() const;
  // end -1 reads to the end of the text; an end before start reads nothing.
  CString GetTextRange(long start, long end) const;
  // At most maxChars characters of line; nothing for maxChars below 1.
  CString GetLine(int line, int maxChars) const;
  BOOL GetZoom(int& numerator, int& denominator) const;
  // FALSE, and nothing sent, when either part exceeds 64.
  BOOL SetZoom(int numerator, int denominator) const;
  BOOL SetZoomOff() const;
  WORD GetSelectionType() const;
  BOOL GetAutoURLDetect() const;
  BOOL SetAutoURLDetect(BOOL detect = TRUE) const;
  DWORD GetEventMask() const;
  DWORD SetEventMask(DWORD mask) const;
  void HideSelection(BOOL hide, BOOL changeStyle) const;
  void ScrollCaret() const;
  int InsertText(long pos, const wchar_t* text, BOOL canUndo = FALSE) const;
  int AppendText(const wchar_t* text, BOOL canUndo = FALSE) const;
  DWORD GetDefaultCharFormat(CHARFORMAT2W& format) const;
  DWORD GetSelectionCharFormat(CHARFORMAT2W& format) const;
  BOOL SetDefaultCharFormat(CHARFORMAT2W& format) const;
  BOOL SetSelectionCharFormat(CHARFORMAT2W& format) const;
  BOOL SetWordCharFormat(CHARFORMAT2W& format) const;
  DWORD GetParaFormat(PARAFORMAT2& format) const;
  BOOL SetParaFormat(PARAFORMAT2& format) const;
  BOOL CanUndo() const;
  BOOL CanRedo() const;
  BOOL CanPaste(UINT format = 0) const;
  BOOL Undo() const;
  BOOL Redo() const;
  // Removes the whole text, not only the selection.
  void Clear() const;
  void Copy() const;
  void Cut() const;
  void Paste() const;
  int GetLineCount() const;
  int LineIndex(int line = -1) const;
  int LineLength(int charIndex = -1) const;
  BOOL LineScroll(int lines, int chars = 0) const;
  long LineFromChar(long charIndex) const;
  CPoint PosFromChar(UINT charIndex) const;
  int CharFromPos(CPoint pt) const;
  void EmptyUndoBuffer() const;
  UINT SetUndoLimit(UINT limit) const;
  void LineUp() const;
  void LineDown() const;
  void PageUp() const;
  void PageDown() const;
  void HomeUp() const;
  void EndDown() const;
  void LineLeft() const;
  void LineRight() const;
  void PageLeft() const;
  void PageRight() const;
  void HomeLeft() const;
  void EndRight() const;
  long StreamIn(int format, EDITSTREAM& stream) const;
  long StreamOut(int format, EDITSTREAM& stream) const;
  // S_OK when the engine took the file; E_FAIL when the file cannot be opened.
  HRESULT LoadRtf(const wchar_t* path) const;
  HRESULT SaveRtf(const wchar_t* path) const;
  // Adds the drop-files and link events to the engine's event mask (the others stay); TRUE
  // when the mask before was empty, FALSE without an engine.
  BOOL SetDropAcceptFile(BOOL accept) const;
  // The engine's drop target (the caller releases it), or null.
  IDropTarget* GetTxDropTarget() const;

  // ---- Properties ----
  int IsMultiLine() const { return (m_lWinStyle & ES_MULTILINE) ? 1 : 0; }
  void SetMultiLine(int multiLine);
  long GetWinStyle() const { return m_lWinStyle; }
  void SetWinStyle(long style) { m_lWinStyle = style; }
  int IsWantTab() const { return m_bWantTab; }
  void SetWantTab(int want) { m_bWantTab = want; }
  int IsWantReturn() const { return m_bWantReturn; }
  void SetWantReturn(int want) { m_bWantReturn = want; }
  int IsWantCtrlReturn() const { return m_bWantCtrlReturn; }
  void SetWantCtrlReturn(int want) { m_bWantCtrlReturn = want; }
  int IsAccumulateDBCMode() const { return m_bAccumulateDBC; }
  void SetAccumulateDBCMode(int accumulate) { m_bAccumulateDBC = accumulate; }
  wchar_t GetPassWordChar() const { return m_chPasswordChar; }
  void SetPassWordChar(wchar_t ch) { m_chPasswordChar = ch; }
  // The text colour as a COLORREF (MControlFont::GetTextColor gives the ARGB one).
  COLORREF GetTextColor() const { return m_crTextColor; }
  int GetLimitText() const { return m_nLimitText; }
  int IsRich() const { return m_bRich; }
  int IsReadOnly() const { return m_bReadOnly; }
  int GetWordWrap() const { return m_bWordWrap; }
  int GetPassword() const { return m_bPassword; }
  void SetRich(int rich);
  void SetReadOnly(int readOnly);
  void SetWordWrap(int wrap);
  void SetLimitText(int limit);
  void SetPassword(int password);
  void SetTextPadding(RECT padding);
  RECT GetTextPadding() const { return m_rcTextPadding; }
  void SetTipInfo(const wchar_t* tip) { m_strTip = tip ? tip : L""; }
  CString GetTipInfo() const { return m_strTip; }
  // The icon strip from the skin folder through the engine's image cache; 0 without a
  // manager or when the image does not load.
  int SetIconImage(const wchar_t* file, int frames);

  // ---- Fonts ----
  using MControlFont::SetFont;
  // A new font (the caller deletes it) of the stock GUI font's metrics in the control's face,
  // size and style.
  HFONT GetDefaultFont();
  void SetFont(const wchar_t* face, int size, int bold, int underline, int italic);
  void SetFont();

protected:
  // Asks the owner to redraw the control while it is visible.
  void Repaint(int rebuild);
  // Where the tip goes in a state cell: none, at the top left of the text area, or centred
  // vertically in it and 2 pixels lower.
  enum class TipLayout { None, Near, CentredLower };
  // The four state cells, each cellWidth wide, rebuilt while stale (the background under the
  // control with strip frame i over it, and the tip while the title is empty); then the
  // current state's cell goes to dc at the control's place. Nothing without a loaded strip.
  void DrawStateCells(HDC& dc, int cellWidth, TipLayout tip);
  // The engine draws the text into its client rectangle on dc.
  void DrawEngineText(HDC dc, const CRect& update);
  // The text area: rect minus the top and bottom padding and the left and right ones (right
  // further reduced by rightExtra); bars placed as the style asks; the host takes it.
  void LayoutTextArea(CRect text, bool verticalNeedsVisibleBar, int verticalExtra);
  // For a single line centred vertically: top and bottom padding become half the height less
  // 8 (a 16-pixel line), and the result is rect inset by the padding, less rightExtra more on
  // the right.
  CRect CentreTextArea(const CRect& rect, int rightExtra);
  // Requests a redraw when exactly one of before and after is empty and a tip is shown then.
  void RepaintForTip(const CString& before, const CString& after);
  // The engine's text read through its messages.
  CString ReadEngineText() const;
  // Gives the control the focus state and the engine WM_SETFOCUS (or WM_KILLFOCUS).
  void FocusEngine(int focus);
  LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
  int ChangeState(int state);
  void ShowContextMenu(LPARAM lParam);

  int m_nState;
  CTxtWinHost* m_pHost;
  int m_bWantTab;
  int m_bWantReturn;
  int m_bWantCtrlReturn;
  int m_bRich;
  int m_bReadOnly;
  int m_bPassword;
  int m_bWordWrap;
  COLORREF m_crTextColor;
  int m_nLimitText;
  long m_lWinStyle;
  int m_bInited;
  int m_bAccumulateDBC;
  CString m_strTip;
  RECT m_rcTextPadding;
  wchar_t m_chPasswordChar;
  Gdiplus::Image* m_pIconImage;  // owned by the engine's image cache
  int m_nIconFrameWidth;
  int m_nIconHeight;
  int m_nIconFrames;
};

}  // namespace TESK
