#include "app/pages/KeyTestDlg.h"

#include <iterator>

#include "app/AppMessages.h"
#include "app/Language.h"
#include "app/pages/InputHook.h"
#include "app/pages/KeyCodeMap.h"
#include "app/pages/MacroEvent.h"
#include "ui/controls/CRoundArea.h"
#include "ui/controls/MButton.h"
#include "ui/controls/MText.h"
#include "ui/core/PaintManager.h"
#include "ui/keyboard/KeyboardTestCtrl.h"

using namespace TESK;

namespace {

constexpr int kTitleText = 800, kResetText = 37, kCloseText = 41;
constexpr Gdiplus::ARGB kTitleBarColour = 0xFF3F4440;
constexpr Gdiplus::ARGB kTitleColour = 0xFFFBFBFB;
constexpr Gdiplus::ARGB kButtonText = 0xFFFFFFFF;
constexpr COLORREF kBackColour = 0xF7F7F7, kFrameColour = 0x646464;
constexpr DWORD kStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The media keys' virtual-key codes (browser keys to the second launch key).
constexpr int kFirstMediaVirtualKey = VK_BROWSER_BACK, kLastMediaVirtualKey = VK_LAUNCH_APP2;

CString Text(int id) { return LoadLanString(L"KB.DIALOG", id); }

// One key of the layout: its label and usage, its left and right edges and its rows.
struct TestKey {
  const wchar_t* label;
  int code;
  int left, right, top, bottom;
};
constexpr int kKey = 50, kPitch = 53;

// Keys of one row at left, left + 53, ... with the same size.
struct KeyRun {
  int left, top;
  const wchar_t* const* labels;
  const int* codes;
  int count;
};

const wchar_t* const kDigitLabels[] = {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0"};
const int kDigitCodes[] = {30, 31, 32, 33, 34, 35, 36, 37, 38, 39};
const wchar_t* const kTopLetters[] = {L"Q", L"W", L"E", L"R", L"T", L"Y", L"U", L"I", L"O", L"P"};
const int kTopCodes[] = {20, 26, 8, 21, 23, 28, 24, 12, 18, 19};
const wchar_t* const kHomeLetters[] = {L"A", L"S", L"D", L"F", L"G", L"H", L"J", L"K", L"L"};
const int kHomeCodes[] = {4, 22, 7, 9, 10, 11, 13, 14, 15};
const wchar_t* const kBottomLetters[] = {L"Z", L"X", L"C", L"V", L"B", L"N", L"M"};
const int kBottomCodes[] = {29, 27, 6, 25, 5, 17, 16};
const wchar_t* const kMediaLabels[18] = {L"", L"", L"", L"", L"", L"", L"", L"", L"",
                                         L"", L"", L"", L"", L"", L"", L"", L"", L""};
const int kMediaCodes[] = {0x224, 0x225, 0x227, 0x226, 0x221, 0x22A, 0x223, 0x194, 0x18A,
                           0x192, 0x183, 0xCD,  0xB7,  0xB6,  0xB5,  0xE2,  0xEA,  0xE9};
const wchar_t* const kExtraLabels[] = {L"K14(￥)", L"K42", L"K45", L"K56", L"無変換", L"漢字", L"変換",
                                       L"かな", L"한잉", L"F13", L"F14", L"F15", L"F16", L"F17",
                                       L"F18", L"F19", L"F20", L"F21", L"F22", L"F23", L"F24"};
const int kExtraCodes[] = {137, 50, 100, 135, 139, 145, 138, 136, 144, 104, 105,
                           106, 107, 108, 109, 110, 111, 112, 113, 114, 115};

// Single keys, row by row; a right edge of 0 means 50 wide.
const TestKey kKeys[] = {
    // Row 1.
    {L"Esc", 41, 0, 0, 0, 50}, {L"F1", 58, 106, 0, 0, 50}, {L"F2", 59, 159, 0, 0, 50},
    {L"F3", 60, 212, 0, 0, 50}, {L"F4", 61, 265, 0, 0, 50}, {L"F5", 62, 344, 0, 0, 50},
    {L"F6", 63, 397, 0, 0, 50}, {L"F7", 64, 450, 0, 0, 50}, {L"F8", 65, 503, 0, 0, 50},
    {L"F9", 66, 583, 0, 0, 50}, {L"F10", 67, 636, 0, 0, 50}, {L"F11", 68, 689, 0, 0, 50},
    {L"F12", 69, 742, 0, 0, 50}, {L"Print", 70, 805, 0, 0, 50}, {L"Scroll", 71, 858, 0, 0, 50},
    {L"Pause", 72, 911, 0, 0, 50},
    // Row 2 (the digits are a run).
    {L"~", 53, 0, 0, 60, 110}, {L"-", 45, 583, 0, 60, 110}, {L"=", 46, 636, 0, 60, 110},
    {L"Backspace", 42, 689, 792, 60, 110}, {L"Insert", 73, 805, 0, 60, 110}, {L"Home", 74, 858, 0, 60, 110},
    {L"PgUp", 75, 911, 0, 60, 110}, {L"Num", 83, 974, 0, 60, 110}, {L"/", 84, 1027, 0, 60, 110},
    {L"*", 85, 1080, 0, 60, 110}, {L"-", 86, 1133, 0, 60, 110},
    // Row 3 (the letters are a run).
    {L"Tab", 43, 0, 70, 111, 161}, {L"{\n[", 47, 603, 0, 111, 161}, {L"}\n}", 48, 656, 0, 111, 161},
    {L"|\n\\", 49, 709, 792, 111, 161}, {L"Delete", 76, 805, 0, 111, 161}, {L"End", 77, 858, 0, 111, 161},
    {L"PgDn", 78, 911, 0, 111, 161}, {L"7", 95, 974, 0, 111, 161}, {L"8", 96, 1027, 0, 111, 161},
    {L"9", 97, 1080, 0, 111, 161}, {L"+", 87, 1133, 1183, 111, 214},
    // Row 4.
    {L"CapsLock", 57, 0, 85, 162, 212}, {L":\n;", 51, 565, 0, 162, 212}, {L"\"\n'", 52, 618, 0, 162, 212},
    {L"Enter", 40, 671, 792, 162, 212}, {L"4", 92, 974, 0, 162, 212}, {L"5", 93, 1027, 0, 162, 212},
    {L"6", 94, 1080, 0, 162, 212},
    // Row 5.
    {L"Shift_L", 225, 0, 100, 213, 263}, {L",\n<", 54, 474, 0, 213, 263}, {L".\n>", 55, 527, 0, 213, 263},
    {L"/\n?", 56, 580, 0, 213, 263}, {L"Shift_R", 229, 633, 792, 213, 263}, {L"↑", 82, 858, 0, 213, 263},
    {L"1", 89, 974, 0, 213, 263}, {L"2", 90, 1027, 0, 213, 263}, {L"3", 91, 1080, 0, 213, 263},
    {L"Enter", 88, 1133, 1183, 213, 314},
    // Row 6.
    {L"Ctrl_L", 224, 0, 70, 264, 314}, {L"Win_L", 227, 73, 143, 264, 314}, {L"Alt_L", 226, 146, 216, 264, 314},
    {L"Space", 44, 219, 500, 264, 314}, {L"Alt_R", 230, 503, 573, 264, 314}, {L"Win_R", 231, 576, 646, 264, 314},
    {L"Menu", 101, 649, 719, 264, 314}, {L"Ctrl_R", 228, 722, 792, 264, 314}, {L"←", 80, 805, 0, 264, 314},
    {L"↓", 81, 858, 0, 264, 314}, {L"→", 79, 911, 0, 264, 314}, {L"0", 98, 974, 0, 264, 314},
    {L".", 99, 1027, 1130, 264, 315},
};

}  // namespace

KeyTestDlg::KeyTestDlg() = default;

KeyTestDlg::~KeyTestDlg() = default;

bool KeyTestDlg::CreateCentered(HWND owner) {
  if (!Create(owner, L"KeyTestDlg", kStyle, 0, CRect(0, 0, kWidth, kHeight))) return false;
  // Placed before it is first shown: a window shown at the creation rectangle and moved
  // afterwards may stay where it was first shown.
  CenterWindow(nullptr);
  ShowWindow(SW_SHOW);
  return true;
}

int KeyTestDlg::OnInitDialog() {
  MDialog::OnInitDialog();
  EnableWndDrag(0);
  GetPaintManager()->SetBackColor(kBackColour, kFrameColour);
  ::SetWindowPos(GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  BuildTestLayout();
  m_hook = std::make_unique<InputHook>();
  m_hook->AddTarget(GetSafeHwnd(), 1, WM_KB_HOOK_INPUT);
  return 1;
}

void KeyTestDlg::InitUI(CRect client) {
  const int W = client.Width(), H = client.Height();
  m_titleBar = static_cast<CRoundArea*>(CreateArea(L"CRoundArea", kTitleBarId, CRect(1, 1, W - 1, 50), L"", 1, 1));
  if (m_titleBar) {
    m_titleBar->SetColor(Gdiplus::Color(kTitleBarColour));
    m_titleBar->SetRound(0);
  }
  m_title = static_cast<MText*>(CreateArea(L"MText", kTitleId, CRect(20, 10, W - 20, 40), Text(kTitleText), 1, 1));
  if (m_title) {
    m_title->SetFontStyle(static_cast<Gdiplus::FontStyle>(1));
    m_title->SetAlignment(1);
    m_title->SetTextColor(Gdiplus::Color(kTitleColour));
    m_title->SetFontWidth(20);
  }
  m_picture = static_cast<KeyboardTestCtrl*>(
      CreateControl(L"KeyboardTestCtrl", kPictureId, CRect(50, 70, W - 50, 540), L"", 1, 1));
  const struct {
    MButton** button;
    UINT id;
    int textId;
    CRect rect;
  } buttons[] = {
      {&m_reset, kResetId, kResetText, CRect(W / 2 - 150, H - 50, W / 2 - 20, H - 20)},
      {&m_close, kCloseId, kCloseText, CRect(W / 2 + 20, H - 50, W / 2 + 150, H - 20)},
  };
  for (const auto& entry : buttons) {
    auto* button = static_cast<MButton*>(CreateControl(L"MButton", entry.id, entry.rect, Text(entry.textId), 1, 1));
    if (button) {
      button->SetImage(L"img_button.png", 4);
      button->SetTextColor(Gdiplus::Color(kButtonText));
    }
    *entry.button = button;
  }
}

void KeyTestDlg::UISize(CRect) {}

LONG KeyTestDlg::OnMessage(UINT controlId, UINT code, UINT, LONG) {
  if (code != NOTIFY_CLICKED) return 0;
  if (controlId == kResetId && m_picture) m_picture->ResetKeyState();
  if (controlId == kCloseId) return Close();
  return 1;
}

int KeyTestDlg::Close() {
  if (m_hook && m_hook->IsInstalled()) m_hook->Uninstall();
  m_hook.reset();
  DoOK();
  return 1;
}

LRESULT KeyTestDlg::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KB_HOOK_INPUT) return OnHookInput(wParam, lParam);
  return MDialog::OnWindowMessage(message, wParam, lParam);
}

int KeyTestDlg::OnHookInput(WPARAM message, LPARAM record) {
  // The message may come from another program: only the record of the running dispatch is read.
  if (!InputHook::IsDispatchedRecord(record)) return 0;
  const bool pressed = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool released = message == WM_KEYUP || message == WM_SYSKEYUP;
  if (!pressed && !released) return 1;
  const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(record);
  if (!event) return 0;
  const int code = HookKeyCode(*event, released);
  if (code == 0) return 1;
  if (GetForegroundWindow() != GetSafeHwnd()) return 0;
  int usage = KeyCodeMap::Instance().VirtualKeyToUsage(&code);
  if (usage && code >= kFirstMediaVirtualKey && code <= kLastMediaVirtualKey) usage += kMediaKeyOffset;
  if (m_picture) m_picture->SetKeyState(usage, pressed ? 2 : 1);
  return 1;
}

void KeyTestDlg::AddTestKey(const wchar_t* label, int code, CRect rect) {
  if (m_picture) m_picture->AddKeyItem(label, code, L"", rect);
}

void KeyTestDlg::BuildTestLayout() {
  if (!m_picture) return;
  m_picture->ClearItem();
  m_picture->SetWidthAndHeight(kLayoutWidth, kLayoutHeight);
  const auto add = [this](const TestKey& key) {
    const int right = key.right ? key.right : key.left + kKey;
    AddTestKey(key.label, key.code, CRect(key.left, key.top, right, key.bottom));
  };
  const auto run = [this](const KeyRun& keys, int offset) {
    for (int i = 0; i < keys.count; ++i) {
      const int left = keys.left + i * kPitch;
      AddTestKey(keys.labels[i], keys.codes[i] + offset, CRect(left, keys.top, left + kKey, keys.top + kKey));
    }
  };
  // Each run goes in after the single key that starts its row, in the row's order.
  const struct {
    size_t after;  // index in kKeys of the key before the run
    KeyRun keys;
  } runs[] = {
      {16, {53, 60, kDigitLabels, kDigitCodes, 10}},
      {27, {73, 111, kTopLetters, kTopCodes, 10}},
      {38, {88, 162, kHomeLetters, kHomeCodes, 9}},
      {45, {103, 213, kBottomLetters, kBottomCodes, 7}},
  };
  size_t next = 0;
  for (size_t i = 0; i < std::size(kKeys); ++i) {
    add(kKeys[i]);
    if (next < std::size(runs) && runs[next].after == i) run(runs[next++].keys, 0);
  }
  // The media keys carry their consumer usage above the keyboard page's numbers.
  run({0, 319, kMediaLabels, kMediaCodes, 18}, kMediaKeyOffset);
  run({0, 370, kExtraLabels, kExtraCodes, 21}, 0);
}
