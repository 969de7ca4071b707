#include "app/pages/RawInput.h"

#include <cstddef>
#include <vector>

#include "app/pages/InputCalls.h"

namespace {

constexpr USHORT kGenericDesktopPage = 1;
constexpr USHORT kMouseUsage = 2;
constexpr USHORT kKeyboardUsage = 6;

// Registers (or with RIDEV_REMOVE ends) both devices; one retry after a refusal.
void RegisterDevices(DWORD flags, HWND target) {
  const RAWINPUTDEVICE devices[2] = {{kGenericDesktopPage, kMouseUsage, flags, target},
                                     {kGenericDesktopPage, kKeyboardUsage, flags, target}};
  InputCalls& calls = SystemInputCalls();
  if (!calls.registerRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE)))
    calls.registerRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE));
}

struct GenericModifier {
  int code;
  int left;  // the left key's code, which the page shows for either key
};
constexpr GenericModifier kGenericModifiers[] = {{VK_SHIFT, VK_LSHIFT}, {VK_CONTROL, VK_LCONTROL}, {VK_MENU, VK_LMENU}};

struct FixedCaption {
  int code;
  const wchar_t* caption;
};
// Keys whose layout names differ between systems or are missing.
constexpr FixedCaption kFixedCaptions[] = {
    {VK_PAUSE, L"Pause"},     {VK_SNAPSHOT, L"Print Screen"}, {VK_LWIN, L"Windows"}, {VK_RWIN, L"RWindows"},
    {VK_APPS, L"Application"}, {VK_NUMLOCK, L"Num Lock"},      {VK_LSHIFT, L"Shift"},  {VK_RSHIFT, L"RShift"},
    {VK_LCONTROL, L"Ctrl"},   {VK_RCONTROL, L"RCtrl"},        {VK_LMENU, L"Alt"},    {VK_RMENU, L"RAlt"}};

void DecodeKey(const RAWKEYBOARD& key, MACRO_EVENT& out) {
  out.kind = kEventKey;
  out.released = (key.Message == WM_KEYUP || key.Message == WM_SYSKEYUP) ? 1 : 0;
  out.code = key.VKey;
  for (const GenericModifier& modifier : kGenericModifiers) {
    if (modifier.code == out.code) out.code = modifier.left;
  }
  out.name = KeyCaption(out.code);
  for (const FixedCaption& fixed : kFixedCaptions) {
    if (fixed.code == out.code) out.name = fixed.caption;
  }
}

}  // namespace

HWND RegisterRawInput(HWND target) {
  if (!target) return nullptr;
  RegisterDevices(RIDEV_INPUTSINK, target);
  return target;
}

void UnregisterRawInput() { RegisterDevices(RIDEV_REMOVE, nullptr); }

void DecodeRawInput(HRAWINPUT input, MACRO_EVENT& out) {
  InputCalls& calls = SystemInputCalls();
  UINT size = 0;
  if (calls.getRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) return;
  // RAWINPUT's members are 8-byte aligned in the 64-bit build; the buffer keeps that alignment.
  std::vector<unsigned long long> buffer((size + sizeof(unsigned long long) - 1) / sizeof(unsigned long long));
  UINT read = size;
  const UINT got = calls.getRawInputData(input, RID_INPUT, buffer.data(), &read, sizeof(RAWINPUTHEADER));
  if (got == static_cast<UINT>(-1) || got < size || got < sizeof(RAWINPUTHEADER)) return;
  const auto* raw = reinterpret_cast<const RAWINPUT*>(buffer.data());
  switch (raw->header.dwType) {
    case RIM_TYPEMOUSE:
      out.kind = kEventMouse;
      break;
    case RIM_TYPEKEYBOARD:
      if (got < offsetof(RAWINPUT, data) + sizeof(RAWKEYBOARD)) return;
      DecodeKey(raw->data.keyboard, out);
      break;
    default:
      out.kind = kEventOtherDevice;
      break;
  }
}
