// Parses a generated XML document of about 10 MB (elements with attributes, nested three
// deep, one per line as the program writes them) and prints the parse rate.
#include <cstdio>
#include <string>

#include "Stopwatch.h"
#include "storage/XmlDocument.h"

int wmain() {
  std::wstring text = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profile>\r\n";
  int groups = 0;
  while (text.size() < 10u * 1024 * 1024) {  // 10 MB as the UTF-8 file it stands for
    text += L"<adv_item key_value=\"" + std::to_wstring(groups) + L"\" macro_type=\"3\" reserved=\"0\">\r\n";
    for (int i = 0; i < 8; ++i)
      text += L"<dks_item key=\"" + std::to_wstring(i) + L"\" desc=\"a &amp; b\" delay_time=\"12\"/>\r\n";
    text += L"</adv_item>\r\n";
    ++groups;
  }
  text += L"</profile>\r\n";

  XmlDocument doc;
  bool ok = true;
  const double seconds =
      testsupport::MicrosecondsPerCall(5, [&](int) { ok = doc.ParseText(text.c_str()) && ok; }) / 1e6;
  const int elements = doc.GetRecordCount() - 1;
  std::printf("text: %zu characters (%.1f MB of UTF-8), well formed: %s\n", text.size(), text.size() / 1048576.0,
              ok ? "yes" : "no");
  std::printf("elements: %d, parse: %.1f ms, %.0f elements per second, %.1f MB per second\n", elements,
              seconds * 1000, elements / seconds, text.size() / 1048576.0 / seconds);
  return ok ? 0 : 1;
}
