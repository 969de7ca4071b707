#include "storage/XmlMarkup.h"

std::wstring EscapeMarkup(const wchar_t* text, size_t length) {
  std::wstring out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    switch (text[i]) {
      case L'<': out += L"&lt;"; break;
      case L'&': out += L"&amp;"; break;
      case L'>': out += L"&gt;"; break;
      case L'\'': out += L"&apos;"; break;
      case L'"': out += L"&quot;"; break;
      default: out += text[i]; break;
    }
  }
  return out;
}
