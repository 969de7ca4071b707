// KeyboardCtrl: the on-screen keyboard, a self-drawn picture of the connected model in which
// every key is a KEY_INFO record that the control owns. The program fills it from the
// model's layout file (AddKeyItem, SetWidthAndHeight), stores each key's function caption,
// colour and performance block in it, and reads back the keys the user selected. It draws
// in one of the KBMODE_* modes.
//
// Threads: the window's thread owns the control; the device worker calls the live setters
// (SetKeyActuation with a key code, SetKeyCalibration, SetKeyColor) and may rebuild the key
// list. m_lock (re-entrant) guards the key list and every record: each operation on them
// holds it, painting holds it while it walks the keys, and the program holds it
// (EnterCriSec / LeaveCriSec) around its own loops over the records. Lock order: painting
// takes the engine's and panels' list locks, then m_lock; so code holding m_lock never
// walks the owner chain from another thread: a repaint asked off the window's thread goes
// straight to the engine's queue, and on the window's thread the setters ask after they
// have left m_lock. Hover, press, picks and the band belong to the window's thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "ui/core/CKeyboardTips.h"
#include "ui/core/CString.h"
#include "ui/core/CriticalSection.h"
#include "ui/core/GdiplusHeaders.h"
#include "ui/core/MPanel.h"
#include "ui/core/MRender.h"
#include "ui/core/TeskApi.h"
#include "ui/keyboard/KeyInfo.h"

namespace TESK {

class TESK_API KeyboardCtrl : public MPanel {
public:
  KeyboardCtrl(MObject* owner, UINT id, CRect rect, int visible);

  // Overrides, in slot order.
  ~KeyboardCtrl() override;
  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& dc, CRect dirty) override;
  void SetControlRect(CRect rect) override;
  int OnControlTimer() override;
  int OnControlMouseMove(UINT keys, CPoint pt) override;
  int OnControlLButtonDown(UINT keys, CPoint pt) override;
  int OnControlLButtonUp(UINT keys, CPoint pt) override;
  int OnControlRButtonDown(UINT keys, CPoint pt) override;
  int OnControlRButtonUp(UINT keys, CPoint pt) override;
  int OnControlKeyDown(UINT key, UINT count, UINT modifiers) override;

  // ---- Building and layout ----
  // Appends a key; the icon (a skin file name) is loaded when given. Returns its index.
  int AddKeyItem(CString name, CString desc, int keyCode, CRect rect, CString icon, int color);
  // Deletes every record; hover and pressed key are forgotten, the picks are kept.
  void ClearItem();
  // A copy of the pointer list; the records stay the control's until the next ClearItem.
  std::vector<KEY_INFO*> GetKeyItems();
  // Stores the layout size and centres the layout in a non-empty control rectangle.
  void SetWidthAndHeight(int width, int height);
  void SetKeyboardImage(CString file);
  // Advanced-key badge strip, five frames.
  void SetKeyState1Image(CString file);
  // Further key-state strips (three and two frames); kept, no mode draws them.
  void SetKeyState2Image(CString file);
  void SetKeyState3Image(CString file);
  void SetKeyboardCtrlMode(int mode) { m_mode = mode; }
  int GetKeyboardCtrlMode() const { return m_mode; }
  void SetKeyboardColor(COLORREF color);
  void SetShowActuation(int show);
  // Step i = 1..200 -> its millimetre text ("0.02" .. "4.00").
  void InitPrecisionData();

  // ---- Key texts, types and tips ----
  void SetKeyItemInfo(int keyCode, CString name, int type, CString tip);
  void SetKeyDesc(int keyCode, CString text);
  void SetTipKey(int keyCode, CString text, CString value);
  void ResetTipKey();
  void EnableKBTips(bool on) { m_tipsEnabled = on; }
  // While tips are enabled: shows the key's tip above keyRect (window client coordinates;
  // the tip window is made on first use) or hides it.
  void SetTips(KEY_INFO* key, CRect keyRect, bool show);

  // ---- Colours and selection ----
  void SetKeyColor(int keyCode, COLORREF color);
  void ResetAllItemsColor(COLORREF color);
  // Flag 0: every key takes the colour; any other flag does nothing.
  void SetLightModeColor(int flag, COLORREF color);
  // The pressed key and the checked keys take the colour, which becomes the select colour.
  void SetAllSelectColor(COLORREF color);
  void SetKeyCheck(int keyCode, int check);
  void ResetAllItemCheck();
  // Also empties the advanced-key picks.
  void ResetAllItemCheck(int check);
  void InvertSelectItem();
  int GetCheckItemCount();
  // The first checked key's code (remembered), else the remembered code; -1 outside 1..255.
  int GetSelectKey();
  // pt in window client coordinates; 0 when no key is there.
  int GetKeyCodeByPoint(CPoint pt);
  void SetCurrentKeyValue(int value);
  // Outside KBMODE_ADVKEY the last pressed key; in it the picks packed slot 0 low, slot 1 high.
  int GetCurrentKeyValue();
  int GetSelectKeyCount() { return static_cast<int>(m_advPicks.size()); }
  // Removes the first pick of the code: 0 when it was the only one, else its slot; with no
  // such pick -1 while picks remain, 0 when none do.
  int DeleteSelectItem(int keyCode);
  void ClearSelectItem();
  void SetAdvkeyType(int type) { m_advKeyType = type; }
  void SetAdvKeySelectFlag(int flag) { m_advSelectFlag = flag; }
  int GetAdvkeyType() const { return m_advKeyType; }
  int GetAdvKeySelectFlag() const { return m_advSelectFlag; }
  void EnableFrameSelect(int on) { m_frameSelect = on; }
  // Hover tracking while something is dragged over the control.
  void DragMove(CPoint pt);

  // ---- Performance block (positions in 0.02 mm steps) ----
  // The first key with the code: the whole block.
  void SetKeyPerfInfo(int keyCode, int switchType, int keyMode, int actuation, int rtPress, int rtRelease,
                      int pressDeadzone, int releaseDeadzone, int deadzoneState);
  // Outputs stay untouched when no key has the code.
  void GetKeyPerfInfo(int keyCode, int& switchType, int& keyMode, int& actuation, int& rtPress, int& rtRelease,
                      int& pressDeadzone, int& releaseDeadzone, int& deadzoneState);
  // The checked keys: the whole block.
  void SetKeyPerfInfo(int switchType, int keyMode, int actuation, int rtPress, int rtRelease, int pressDeadzone,
                      int releaseDeadzone, int deadzoneState);
  // Every key: the rapid-trigger mode and the six values.
  void SetKeyPerfInfo(int mode, int actuation, int rtPress, int rtRelease, int pressDeadzone, int releaseDeadzone,
                      int deadzoneState);
  // Every key with the code: the actuation, and with rtFlag the rapid-trigger mode and
  // values, else the whole key mode.
  void SetKeyPerfInfo(int keyCode, int mode, int actuation, int rtPress, int rtRelease, int rtFlag);
  // Every key: mode, actuation and the rapid-trigger values.
  void SetKeyPerfInfo(int keyMode, int actuation, int rtPress, int rtRelease);
  // The checked keys.
  void SetKeyActuation(int actuation);
  void SetKeyRapidTrigger(int mode, int press, int release);
  void SetBottomrapidtrigger(int state, int release);
  void SetDeadZoneState(int state);
  // The actuation of each checked key is first kept between press and the switch's
  // deepest position less release.
  void SetDeadZoneValue(int press, int release, int state);
  void SetKeySwitchType(int type);
  void SetKeyPerfSwitchType(int type);
  // -1 none checked, -2 the checked keys differ, else their common switch type.
  int GetKeySwicthType();

  // ---- Live samples (the device worker) ----
  void SetKeyActuation(int keyCode, int travel);
  void SetKeyCalibration(int keyCode, int travel, int progress, int info, int peak);
  void ResetKeyCalibration();

  void EnterCriSec() { m_lock.Enter(); }
  void LeaveCriSec() { m_lock.Leave(); }

  // ---- Drawing ----
  void DrawNoneMode(Gdiplus::Graphics& g);
  void DrawCustomMode(Gdiplus::Graphics& g);
  void DrawAdvKeyMode(Gdiplus::Graphics& g);
  void DrawLightMode(Gdiplus::Graphics& g);
  void DrawUserLightMode(Gdiplus::Graphics& g);
  void DrawPerfMode(Gdiplus::Graphics& g);
  void DrawPerfCheckMode(Gdiplus::Graphics& g);
  void DrawTextAndIcon(Gdiplus::Graphics& g, const Gdiplus::Font& font, KEY_INFO* key, const CRect& rect);
  void DrawRoundRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, float radius, Gdiplus::Color fill,
                         float penWidth, Gdiplus::Color pen);
  void DrawRectange(Gdiplus::Graphics& g, float x, float y, float w, float h, Gdiplus::Color frame,
                    Gdiplus::Color fill, bool corner, int barHeight);

protected:
  struct Strip {
    std::unique_ptr<Gdiplus::Image> image;
    int frameWidth = 0;
    int frameHeight = 0;
  };
  // Loads a skin picture; null when it does not load.
  static std::unique_ptr<Gdiplus::Image> LoadSkin(const CString& file);
  static void LoadStrip(Strip& strip, const CString& file, int frames);

  // The first key with the code, or null; m_lock held.
  KEY_INFO* FindKey(int keyCode);
  // Runs change on the first key with the code under m_lock; true when there was one.
  template <typename F>
  bool ChangeKey(int keyCode, F change);
  // Runs change on every key (on every checked key) under m_lock.
  template <typename F>
  void ChangeAll(F change);
  template <typename F>
  void ChangeChecked(F change);
  // Asks the owner to repaint the control while it is visible (see the lock order above).
  void RequestRepaint();
  // Centres the layout in a non-empty control rectangle.
  void CenterLayout();
  // A key's drawing rectangle on the control's surface, cut down to a band around it so
  // that values from a layout file or a device never reach GDI+ out of range.
  CRect KeyDrawRect(const KEY_INFO& key) const;
  // Whether the key's hit rectangle (its rectangle moved by the offsets and the control's
  // corner, window coordinates) holds pt.
  bool KeyContains(const KEY_INFO& key, CPoint pt) const;
  // The first key whose hit rectangle holds pt; -1 for none. m_lock held.
  int KeyIndexAt(CPoint pt);
  // Moves the hover key to the one under pt (a point outside the control clears it).
  enum class HoverMove { Kept, Same, Changed };  // still over the hover key; searched, same; changed
  HoverMove TrackHover(CPoint pt);
  // Every key's check becomes whether its hit rectangle meets the band (none for a band
  // narrower or lower than 6 px).
  void SelectByBand();
  // The click rules of KBMODE_ADVKEY for the pressed key; m_lock held.
  void ApplyPickRules(KEY_INFO& key);
  void ClearBand();
  // Badge cell k of the strip, unscaled with its top-left corner at (x, y); nothing when
  // the cell lies beyond the strip.
  void DrawBadge(Gdiplus::Graphics& g, int cell, int x, int y);
  // Modes 101 and 102: the outline, caption and badge of every key.
  void DrawOutlinedKeys(Gdiplus::Graphics& g, bool hoverHighlights, Gdiplus::ARGB normalFill,
                        Gdiplus::ARGB highlightFill);
  // Modes 100 and 104: colour, caption, icon and one-key badges at a caption size.
  void DrawColouredKeys(Gdiplus::Graphics& g, float fontSize);
  // The window's family of that name, else the installed fall-back face.
  const Gdiplus::FontFamily* FontFamilyOrDefault(const wchar_t* name);
  bool IsHighlighted(int index, const KEY_INFO& key, bool hoverHighlights) const;

  std::vector<std::unique_ptr<KEY_INFO>> m_items;
  CriticalSection m_lock;
  std::vector<std::pair<int, int>> m_advPicks;  // (slot, key code)
  int m_pickSlot;
  int m_curKeyValue;
  int m_selectKey;
  int m_hoverIndex;
  int m_pressIndex;
  std::unique_ptr<Gdiplus::Image> m_kbImage;
  int m_mode;
  int m_offsetX;
  int m_offsetY;
  int m_layoutWidth;
  int m_layoutHeight;
  Strip m_state1;
  Strip m_state2;
  Strip m_state3;
  int m_showActuation;
  int m_frameSelect;
  int m_bandActive;
  CPoint m_bandStart;
  CPoint m_bandEnd;
  COLORREF m_selectColor;
  Gdiplus::ARGB m_keyboardColor;
  bool m_tipsEnabled;
  std::unique_ptr<CKeyboardTips> m_tips;
  int m_advKeyType;
  int m_advSelectFlag;
  std::map<int, CString> m_precision;
  // A repaint asked from another thread is queued with the engine and not yet rendered: a
  // stream of samples queues one request per paint, not one per sample.
  std::atomic<bool> m_repaintQueued;
  FallbackFontFamily m_fallbackFamily;
  std::unique_ptr<Gdiplus::StringFormat> m_centred;
  std::unique_ptr<Gdiplus::SolidBrush> m_whiteBrush;
  std::unique_ptr<Gdiplus::SolidBrush> m_shadowBrush;
};

}  // namespace TESK
