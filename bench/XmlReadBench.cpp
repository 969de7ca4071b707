// Writes a 50 MB UTF-8 profile-like file into the temporary folder, reads it back with
// XmlDocument::ReadFromFile and prints the time of the read and of its parts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "storage/XmlDocument.h"
#include "storage/XmlEncoding.h"

namespace {
double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}
}  // namespace

int wmain() {
  std::string bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n";
  const std::string line = "<dks_item key=\"12\" desc=\"caf\xC3\xA9 &amp; co\" delay_time=\"100\"/>\r\n";
  while (bytes.size() < 50u * 1024 * 1024) bytes += line;
  bytes += "</profile>\r\n";
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"xml_read_bench.xml";
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return 1;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);

  LARGE_INTEGER t0, t1, t2, t3, t4;
  XmlDocument doc;
  QueryPerformanceCounter(&t0);
  const bool ok = doc.ReadFromFile(path.c_str(), false);
  QueryPerformanceCounter(&t1);
  const bool valid = IsValidUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  QueryPerformanceCounter(&t2);
  std::wstring text(bytes.size(), L'\0');
  text.resize(XmlTextConverter(L"UTF-8", bytes.data(), static_cast<int>(bytes.size()), L"UTF-16", &text[0],
                               static_cast<int>(text.size()), nullptr));
  QueryPerformanceCounter(&t3);
  doc.ParseText(text.c_str());
  QueryPerformanceCounter(&t4);
  DeleteFileW(path.c_str());
  std::printf("%zu bytes, %d elements, read %s\n", bytes.size(), doc.GetRecordCount() - 1, ok ? "well formed" : "failed");
  std::printf("ReadFromFile %.0f ms; of which UTF-8 test %.0f ms (%s), conversion %.0f ms, parse %.0f ms\n",
              Seconds(t0, t1) * 1000, Seconds(t1, t2) * 1000, valid ? "valid" : "invalid", Seconds(t2, t3) * 1000,
              Seconds(t3, t4) * 1000);
  return ok ? 0 : 1;
}
