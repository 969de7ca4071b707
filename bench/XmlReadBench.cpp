// Writes a 50 MB UTF-8 profile-like file into the temporary folder, reads it back with
// XmlDocument::ReadFromFile and prints the time of the read and of its parts.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Stopwatch.h"
#include "storage/XmlDocument.h"
#include "storage/XmlEncoding.h"

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

  XmlDocument doc;
  bool ok = false, valid = false;
  std::wstring text(bytes.size(), L'\0');
  const double read = testsupport::MicrosecondsPerCall(1, [&](int) { ok = doc.ReadFromFile(path.c_str(), false); });
  const double test = testsupport::MicrosecondsPerCall(1, [&](int) {
    valid = IsValidUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  });
  const double convert = testsupport::MicrosecondsPerCall(1, [&](int) {
    text.resize(XmlTextConverter(L"UTF-8", bytes.data(), static_cast<int>(bytes.size()), L"UTF-16", &text[0],
                                 static_cast<int>(text.size()), nullptr));
  });
  const double parse = testsupport::MicrosecondsPerCall(1, [&](int) { doc.ParseText(text.c_str()); });
  DeleteFileW(path.c_str());
  std::printf("%zu bytes, %d elements, read %s\n", bytes.size(), doc.GetRecordCount() - 1, ok ? "well formed" : "failed");
  std::printf("ReadFromFile %.0f ms; of which UTF-8 test %.0f ms (%s), conversion %.0f ms, parse %.0f ms\n",
              read / 1000, test / 1000, valid ? "valid" : "invalid", convert / 1000, parse / 1000);
  return ok ? 0 : 1;
}
