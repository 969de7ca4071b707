#include "app/pages/MacroFile.h"

#include <windows.h>

#include <utility>

#include "ui/controls/CSpinButton.h"

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// Language texts of the refusals.
constexpr int kTextNoMacro = 344;
constexpr int kTextAreaFull = 361;

CString Decimal(int value) {
  CString text;
  text.Format(L"%d", value);
  return text;
}

int Number(const XmlDocument& doc, const wchar_t* name) {
  return TESK::ParseSpinValue(doc.GetAttribute(name));
}

}  // namespace

void BuildMacroDocument(const MacroFileContent& content, XmlDocument& doc) {
  doc.ParseText(kDeclaration);
  doc.AppendElement(L"macro");
  doc.EnterElement();
  doc.AppendElement(L"macroinfo");
  const int info = doc.GetElementPosition();
  const MACRO_DATA& macro = content.macro;
  doc.WriteAttributeAt(info, L"name", macro.name);
  doc.WriteAttributeAt(info, L"times", Decimal(macro.play_times));
  doc.WriteAttributeAt(info, L"type", Decimal(macro.delay_type));
  doc.WriteAttributeAt(info, L"delaytime", Decimal(macro.delay_time));
  doc.AppendElement(L"macroitems");
  doc.EnterElement();
  for (const MACRO_RECORD& event : content.events) {
    doc.AppendElement(L"item");
    const int item = doc.GetElementPosition();
    doc.WriteAttributeAt(item, L"desc", event.desc);
    doc.WriteAttributeAt(item, L"type", Decimal(event.type));
    doc.WriteAttributeAt(item, L"value", Decimal(event.value));
    doc.WriteAttributeAt(item, L"delay_time", Decimal(event.delay_time));
  }
}

MacroFileVerdict ReadMacroDocument(XmlDocument& doc, int room, MacroFileContent& out) {
  // Parsing again also puts the position back to the document's start.
  if (!doc.Parse()) return MacroFileVerdict::kNotXml;
  if (!doc.NextElement(L"macro")) return MacroFileVerdict::kNoMacro;
  doc.EnterElement();
  MacroFileContent read;
  // Without macroinfo the position stays before the first child, where no attribute is read.
  if (doc.NextElement(L"macroinfo")) {
    read.macro.name = doc.GetAttribute(L"name");
    read.macro.play_times = Number(doc, L"times");
    read.macro.delay_type = Number(doc, L"type");
    read.macro.delay_time = Number(doc, L"delaytime");
  }
  if (doc.NextElement(L"macroitems") && doc.EnterElement()) {
    while (doc.NextElement(L"item")) {
      if (static_cast<int>(read.events.size()) >= room) return MacroFileVerdict::kTooManyEvents;
      MACRO_RECORD event;
      event.type = Number(doc, L"type");
      event.record_index = static_cast<int>(read.events.size());
      event.value = Number(doc, L"value");
      event.delay_time = Number(doc, L"delay_time");
      event.desc = doc.GetAttribute(L"desc");
      read.events.push_back(event);
    }
    doc.LeaveElement();
  }
  out = std::move(read);
  return MacroFileVerdict::kAccepted;
}

bool WriteMacroFile(const wchar_t* path, const MacroFileContent& content) {
  XmlDocument doc;
  BuildMacroDocument(content, doc);
  return doc.WriteToFile(path, false);
}

MacroFileVerdict ReadMacroFile(const wchar_t* path, int room, MacroFileContent& out) {
  // The size is known before anything is read, so a huge file costs nothing.
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return MacroFileVerdict::kUnreadable;
  const long long size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || size > kMacroFileMaxBytes) {
    return MacroFileVerdict::kUnreadable;
  }
  XmlDocument doc;
  if (!doc.ReadFromFile(path, false)) return MacroFileVerdict::kNotXml;
  return ReadMacroDocument(doc, room, out);
}

int MacroFileRefusalText(MacroFileVerdict verdict) {
  return verdict == MacroFileVerdict::kTooManyEvents ? kTextAreaFull : kTextNoMacro;
}
