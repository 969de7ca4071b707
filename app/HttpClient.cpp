#include "app/HttpClient.h"

#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/AppMessages.h"
#include "app/PendingFile.h"

namespace {

constexpr char kUserAgent[64] = "IIC2.0/PC 5.5.0000";
constexpr char kRequestHeaders[] = "Accept: */*\r\n\r\n";
constexpr DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kReadSize = 10240;
// GetText reads version files of a few bytes; a body beyond this is no such file, and
// reading it whole into memory could exhaust the process.
constexpr size_t kMaxTextBytes = 1 << 20;

class InternetHandle {
public:
  explicit InternetHandle(HINTERNET handle) : m_handle(handle) {}
  ~InternetHandle() {
    if (m_handle) InternetCloseHandle(m_handle);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  operator HINTERNET() const { return m_handle; }

private:
  HINTERNET m_handle;
};

HINTERNET OpenInternet() {
  // Only the flags count: a proxy in the connection state selects the configured one.
  DWORD state = 0;
  InternetGetConnectedState(&state, 0);
  const DWORD access = (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG
                                                           : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
  return InternetOpenA(kUserAgent, access, nullptr, nullptr, 0);
}

HINTERNET OpenUrl(HINTERNET internet, const CString& url) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, url, url.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string utf8(size_t(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, url, url.GetLength(), &utf8[0], size, nullptr, nullptr);
  return InternetOpenUrlA(internet, utf8.c_str(), kRequestHeaders, DWORD(sizeof(kRequestHeaders) - 1), kOpenFlags, 0);
}

// An error page is no body to keep: only a 2xx answer counts as the resource.
bool StatusIsSuccess(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) return false;
  return status >= 200 && status <= 299;
}

// The answer's Content-Length; false when it has none.
bool QueryContentLength(HINTERNET request, DWORD& length) {
  DWORD size = sizeof(length);
  return HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr) != 0;
}

// Reads the body in pieces of kReadSize bytes, handing each piece and its number
// (from 1) to sink. False when a read fails, the sink refuses a piece, or the
// connection ended before the announced length arrived (the platform reports that
// as a normal end of data).
template <class Sink>
bool ReadBody(HINTERNET request, Sink sink) {
  DWORD announced = 0;
  const bool hasLength = QueryContentLength(request, announced);
  char buffer[kReadSize];
  uint64_t total = 0;
  for (int k = 1;; ++k) {
    DWORD read = 0;
    if (!InternetReadFile(request, buffer, kReadSize, &read)) return false;
    if (read == 0) break;
    total += read;
    if (!sink(buffer, read, k)) return false;
  }
  return !hasLength || total == announced;
}

}  // namespace

int HttpClient::GetText(const CString& url, CString& text) {
  InternetHandle internet(OpenInternet());
  if (!internet) return kNoInternet;
  InternetHandle request(OpenUrl(internet, url));
  if (!request || !StatusIsSuccess(request)) return kFailed;
  std::string body;
  if (!ReadBody(request, [&body](const char* data, DWORD size, int) {
        if (body.size() + size > kMaxTextBytes) return false;
        body.append(data, size);
        return true;
      }))
    return kFailed;
  CString decoded;
  if (!body.empty()) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, body.data(), int(body.size()), nullptr, 0);
    wchar_t* buffer = decoded.GetBufferSetLength(length);
    MultiByteToWideChar(CP_UTF8, 0, body.data(), int(body.size()), buffer, length);
    decoded.ReleaseBuffer(length);
  }
  text = decoded;
  return kDone;
}

int HttpClient::DownloadFile(const CString& url, const CString& path, HWND window) {
  PostProgress(window, 0);
  {
    InternetHandle internet(OpenInternet());
    if (!internet) return kNoInternet;
    PostProgress(window, 2);
    InternetHandle request(OpenUrl(internet, url));
    if (!request || !StatusIsSuccess(request)) return kFailed;
    PostProgress(window, 8);

    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) DeleteFileW(path);
    PendingFile file(path.GetString(), FILE_ATTRIBUTE_NORMAL, FILE_SHARE_WRITE);
    if (!file.IsOpen()) return kFailed;
    DWORD length = 0;
    if (!QueryContentLength(request, length)) length = 0;
    const int64_t chunks = length / kReadSize;
    PostProgress(window, 10);

    const bool complete = ReadBody(request, [&](const char* data, DWORD size, int k) {
      if (!file.Write(data, size)) return false;
      if (chunks > 0) PostProgress(window, int(std::min<int64_t>(100, 10 + (90 * int64_t(k)) / chunks)));
      return true;
    });
    if (!complete) return kFailed;
    file.Keep();
  }  // the file and both handles are closed before the final step is posted
  PostProgress(window, 100);
  return kDone;
}

void HttpClient::PostProgress(HWND window, int percent) {
  if (!window || percent == m_lastProgress) return;
  m_lastProgress = percent;
  PostMessageW(window, WM_KB_TRAY_NOTIFY, 0, percent);
}
