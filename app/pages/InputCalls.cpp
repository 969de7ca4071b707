#include "app/pages/InputCalls.h"

InputCalls& SystemInputCalls() {
  static InputCalls calls = {SetWindowsHookExW, UnhookWindowsHookEx, CallNextHookEx, RegisterRawInputDevices,
                             GetRawInputData};
  return calls;
}
