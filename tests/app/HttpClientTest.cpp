#include "app/HttpClient.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "LocalHttpServer.h"
#include "FileProbe.h"
#include "TempFolder.h"
#include "app/AppMessages.h"

namespace {

using testsupport::HttpRoute;

std::string Body(size_t size) {
  std::string body(size, '\0');
  for (size_t i = 0; i < size; ++i) body[i] = char('a' + (i * 7 + i / 97) % 26);
  return body;
}

class HttpClientTest : public testing::Test {
protected:
  static void SetUpTestSuite() { testsupport::BypassProxies(); }

  void SetUp() override {
    ASSERT_TRUE(m_server.Start());
    m_window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, m_window);
  }
  void TearDown() override {
    DestroyWindow(m_window);
    m_server.Stop();
  }

  // The percentages posted to the window so far, in order.
  std::vector<int> TakeProgress() {
    std::vector<int> posted;
    MSG msg;
    while (PeekMessageW(&msg, m_window, WM_KB_TRAY_NOTIFY, WM_KB_TRAY_NOTIFY, PM_REMOVE)) {
      EXPECT_EQ(0u, msg.wParam);
      posted.push_back(int(msg.lParam));
    }
    return posted;
  }

  testsupport::LocalHttpServer m_server;
  testsupport::TempFolder m_folder{L"http"};
  HWND m_window = nullptr;
};

TEST_F(HttpClientTest, DownloadPostsItsProgressAndTheNextOneStartsAgainFromZero) {
  const std::string body = Body(25000);  // two whole reads of 10240 bytes and a rest
  m_server.SetRoute("/pkg.zip", HttpRoute{200, body});
  const std::wstring file = m_folder.Path() + L"pkg.zip";
  HttpClient client;

  ASSERT_EQ(1, client.DownloadFile(m_server.Url("/pkg.zip").c_str(), file.c_str(), m_window));
  EXPECT_EQ(body, testsupport::ReadFileBytes(file));
  EXPECT_EQ((std::vector<int>{2, 8, 10, 55, 100}), TakeProgress());

  ASSERT_EQ(1, client.DownloadFile(m_server.Url("/pkg.zip").c_str(), file.c_str(), m_window));
  EXPECT_EQ((std::vector<int>{0, 2, 8, 10, 55, 100}), TakeProgress());
  EXPECT_EQ(body, testsupport::ReadFileBytes(file));

  const std::string request = m_server.LastRequest();
  EXPECT_NE(std::string::npos, request.find("User-Agent: IIC2.0/PC 5.5.0000\r\n")) << request;
  EXPECT_NE(std::string::npos, request.find("Accept: */*\r\n")) << request;
}

TEST_F(HttpClientTest, BodiesWithoutALengthOrArrivingSlowlyAreWrittenWhole) {
  const std::string body = Body(30000);
  HttpRoute noLength{200, body};
  noLength.sendLength = false;
  HttpRoute slow{200, body};
  slow.pieces = 5;
  slow.pauseMs = 100;
  m_server.SetRoute("/nolength", noLength);
  m_server.SetRoute("/slow", slow);
  HttpClient client;

  const std::wstring file = m_folder.Path() + L"nolength.bin";
  ASSERT_EQ(1, client.DownloadFile(m_server.Url("/nolength").c_str(), file.c_str(), m_window));
  EXPECT_EQ(body, testsupport::ReadFileBytes(file));
  EXPECT_EQ((std::vector<int>{2, 8, 10, 100}), TakeProgress());

  const std::wstring slowFile = m_folder.Path() + L"slow.bin";
  ASSERT_EQ(1, client.DownloadFile(m_server.Url("/slow").c_str(), slowFile.c_str(), nullptr));
  EXPECT_EQ(body, testsupport::ReadFileBytes(slowFile));
  EXPECT_TRUE(TakeProgress().empty()) << "no window, no progress";
}

TEST_F(HttpClientTest, FailedDownloadsGiveMinusOneAndLeaveNoFile) {
  HttpRoute truncated{200, Body(25000)};
  truncated.cutAfter = 12000;
  m_server.SetRoute("/truncated", truncated);
  m_server.SetRoute("/error", HttpRoute{500, "Internal Server Error"});
  m_server.SetRoute("/ok", HttpRoute{200, "fine"});
  const std::wstring refused =
      L"http://127.0.0.1:" + std::to_wstring(testsupport::LocalHttpServer::UnusedPort()) + L"/pkg.zip";
  struct Case {
    const char* what;
    std::wstring url;
    std::wstring file;
  } const cases[] = {
      {"refused connection", refused, m_folder.Path() + L"refused.zip"},
      {"404 page", m_server.Url("/missing.zip"), m_folder.Path() + L"missing.zip"},
      {"500 page", m_server.Url("/error"), m_folder.Path() + L"error.zip"},
      {"body cut short", m_server.Url("/truncated"), m_folder.Path() + L"truncated.zip"},
      {"file in a missing folder", m_server.Url("/ok"), m_folder.Path() + L"no\\such\\folder.zip"},
  };
  for (const Case& c : cases) {
    HttpClient client;
    EXPECT_EQ(-1, client.DownloadFile(c.url.c_str(), c.file.c_str(), m_window)) << c.what;
    EXPECT_FALSE(testsupport::FileExists(c.file)) << c.what;
    TakeProgress();
  }
}

TEST_F(HttpClientTest, GetTextDecodesUtf8AndLeavesTheTextAloneOnFailure) {
  m_server.SetRoute("/version", HttpRoute{200, "1.0.2\r\n"});
  m_server.SetRoute("/utf8", HttpRoute{200, u8"Gr\u00fc\u00dfe"});
  HttpRoute truncated{200, "1.0.3"};
  truncated.cutAfter = 2;
  m_server.SetRoute("/truncated", truncated);
  m_server.SetRoute("/huge", HttpRoute{200, Body(1536 * 1024)});  // no version file is this long
  HttpClient client;

  CString text;
  ASSERT_EQ(1, client.GetText(m_server.Url("/version").c_str(), text));
  EXPECT_STREQ(L"1.0.2\r\n", text.GetString());
  EXPECT_NE(std::string::npos, m_server.LastRequest().find("User-Agent: IIC2.0/PC 5.5.0000\r\n"));
  ASSERT_EQ(1, client.GetText(m_server.Url("/utf8").c_str(), text));
  EXPECT_STREQ(L"Gr\u00fc\u00dfe", text.GetString());

  const std::wstring refused =
      L"http://127.0.0.1:" + std::to_wstring(testsupport::LocalHttpServer::UnusedPort()) + L"/version";
  for (const std::wstring& url :
       {m_server.Url("/missing"), m_server.Url("/truncated"), m_server.Url("/huge"), refused}) {
    text = L"before";
    EXPECT_EQ(-1, client.GetText(url.c_str(), text)) << url;
    EXPECT_STREQ(L"before", text.GetString()) << url;
  }
  EXPECT_TRUE(TakeProgress().empty()) << "reading a text posts no progress";
}

}  // namespace
