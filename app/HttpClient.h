// HTTP(S) GET over WinINet for the upgrade: a short text (a version file) into a
// string, or a file to disk with its progress posted to a window. Both calls block
// the calling thread for the whole transfer and open and close their own handles; an
// object is used by one thread at a time. The last posted percentage stays with the
// object from one download to the next.
#pragma once

#include <windows.h>

#include "ui/core/CString.h"

class HttpClient {
public:
  // Results of both operations.
  static constexpr int kDone = 1;
  static constexpr int kNoInternet = 0;  // the Internet handle could not be opened
  static constexpr int kFailed = -1;     // URL not opened, status outside 2xx, body cut short,
                                         // a read failed or the file could not be written

  // Reads the answer's body (at most 1 MiB), decoded from UTF-8, into text; text is
  // written only on success.
  int GetText(const CString& url, CString& text);
  // Writes the answer's body to path and posts WM_KB_TRAY_NOTIFY (0, percentage) to
  // window when one is given. A failed download leaves no file at path.
  int DownloadFile(const CString& url, const CString& path, HWND window);

private:
  void PostProgress(HWND window, int percent);

  int m_lastProgress = 0;
};
