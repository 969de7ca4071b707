// winsock2.h must come before windows.h.
#include <winsock2.h>
#include <ws2tcpip.h>

#include "LocalHttpServer.h"

#include <algorithm>
#include <cstdlib>

namespace testsupport {

namespace {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

SOCKET BindLoopback(unsigned short port, unsigned short* boundPort) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  int size = sizeof(address);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  *boundPort = ntohs(address.sin_port);
  return s;
}

bool SendAll(SOCKET s, const char* data, size_t size) {
  while (size > 0) {
    const int sent = send(s, data, int(std::min<size_t>(size, 1 << 20)), 0);
    if (sent <= 0) return false;
    data += sent;
    size -= size_t(sent);
  }
  return true;
}

}  // namespace

LocalHttpServer::LocalHttpServer() : m_listener(INVALID_SOCKET), m_port(0), m_stop(false) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
}

LocalHttpServer::~LocalHttpServer() {
  Stop();
  WSACleanup();
}

bool LocalHttpServer::Start() {
  m_listener = BindLoopback(0, &m_port);
  if (m_listener == INVALID_SOCKET) return false;
  if (listen(m_listener, 8) != 0) {
    closesocket(m_listener);
    m_listener = INVALID_SOCKET;
    return false;
  }
  m_stop = false;
  m_thread = std::thread(&LocalHttpServer::Run, this);
  return true;
}

void LocalHttpServer::Stop() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  if (m_listener != INVALID_SOCKET) closesocket(m_listener);
  m_listener = INVALID_SOCKET;
}

void LocalHttpServer::SetRoute(const std::string& path, const HttpRoute& route) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_routes[path] = route;
}

std::wstring LocalHttpServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(m_port) + std::wstring(path.begin(), path.end());
}

std::string LocalHttpServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_lastRequest;
}

unsigned short LocalHttpServer::UnusedPort() {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  unsigned short port = 0;
  SOCKET s = BindLoopback(0, &port);
  if (s != INVALID_SOCKET) closesocket(s);
  WSACleanup();
  return port;
}

void LocalHttpServer::Run() {
  // Polls for connections so that Stop is noticed without closing the socket under accept.
  while (!m_stop) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(m_listener, &readable);
    timeval wait = {0, 50000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = accept(m_listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Serve(client);
    closesocket(client);
  }
}

void LocalHttpServer::Serve(UINT_PTR client) {
  const DWORD timeoutMs = 5000;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    const int got = recv(client, buffer, sizeof(buffer), 0);
    if (got <= 0) return;
    head.append(buffer, size_t(got));
  }
  const size_t pathStart = head.find(' ') + 1;
  const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);

  HttpRoute route;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastRequest = head.substr(0, head.find("\r\n\r\n") + 2);
    auto found = m_routes.find(path);
    if (found != m_routes.end()) {
      route = found->second;
    } else {
      route.status = 404;
      route.body = "Not Found";
    }
  }

  std::string answer = "HTTP/1.1 " + std::to_string(route.status) + " " + ReasonPhrase(route.status) +
                       "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n";
  if (route.sendLength) answer += "Content-Length: " + std::to_string(route.body.size()) + "\r\n";
  answer += "\r\n";
  if (!SendAll(client, answer.data(), answer.size())) return;

  const size_t total = std::min(route.body.size(), route.cutAfter);
  const int pieces = std::max(1, route.pieces);
  for (int i = 0; i < pieces; ++i) {
    if (i > 0 && route.pauseMs) Sleep(route.pauseMs);
    const size_t from = total * size_t(i) / size_t(pieces);
    const size_t to = total * size_t(i + 1) / size_t(pieces);
    if (!SendAll(client, route.body.data() + from, to - from)) return;
  }
  // The request was read whole, so closing after the shutdown ends the connection
  // gracefully: the client sees the end of the data, not a reset.
  shutdown(client, SD_SEND);
}

void BypassProxies() {
  for (const wchar_t* name : {L"http_proxy", L"https_proxy", L"all_proxy", L"no_proxy"}) {
    SetEnvironmentVariableW(name, nullptr);
    _wputenv((std::wstring(name) + L"=").c_str());
  }
}

}  // namespace testsupport
