// A small HTTP server on 127.0.0.1 for the download tests. It listens on a free port,
// answers one connection at a time on a thread of its own and closes each connection
// after its answer. Routes are set before the requests that use them; unknown paths
// get a 404 page. Stop (or the destructor) ends the thread within a fraction of a second.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace testsupport {

struct HttpRoute {
  int status = 200;
  std::string body;
  bool sendLength = true;               // a Content-Length header for the whole body
  size_t cutAfter = std::string::npos;  // close the connection after this many body bytes
  int pieces = 1;                       // the body goes out in this many sends ...
  DWORD pauseMs = 0;                    // ... with this pause before each one after the first
};

// Sends every request of this process straight to the loopback server, whatever proxy the
// machine's environment names. Call once before the first request (a suite's set-up).
void BypassProxies();

class LocalHttpServer {
public:
  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool Start();
  void Stop();
  void SetRoute(const std::string& path, const HttpRoute& route);
  // "http://127.0.0.1:<port><path>".
  std::wstring Url(const std::string& path) const;
  // The request line and headers of the last request served.
  std::string LastRequest() const;

  // A loopback port on which nothing listens (bound for a moment, then released).
  static unsigned short UnusedPort();

private:
  void Run();
  void Serve(UINT_PTR client);

  UINT_PTR m_listener;  // a SOCKET; winsock2.h stays out of this header
  unsigned short m_port;
  std::thread m_thread;
  std::atomic<bool> m_stop;
  mutable std::mutex m_mutex;  // guards m_routes and m_lastRequest
  std::map<std::string, HttpRoute> m_routes;
  std::string m_lastRequest;
};

}  // namespace testsupport
