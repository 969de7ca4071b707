#include "app/WebsiteAddress.h"

#include <cwchar>

CString WebsiteHost(const CString& url) {
  static const wchar_t* const kSchemes[] = {L"http://", L"https://"};
  for (const wchar_t* scheme : kSchemes) {
    const int length = static_cast<int>(wcslen(scheme));
    if (url.Left(length).CompareNoCase(scheme) != 0) continue;
    // The authority runs up to the path, query or fragment; the user part and the port go.
    CString host = url.Mid(length).SpanExcluding(L"/?#\\");
    const int at = host.ReverseFind(L'@');
    if (at >= 0) host = host.Mid(at + 1);
    // A bracketed IPv6 host keeps its colons.
    const int port = host.Find(L':', host.Find(L']') + 1);
    if (port >= 0) host = host.Left(port);
    for (int i = 0; i < host.GetLength(); ++i) {
      if (host[i] <= L' ' || host[i] == 0x7F) return CString();
    }
    return host;
  }
  return CString();
}
