#include "layouts/LayoutFile.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "SimKeyTables.h"
#include "storage/XmlDocument.h"

namespace testsupport {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::wstring FromUtf8(const std::string& bytes) {
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                    nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::string ProgramFile(const std::string& relative) { return Env("TAVIR_PROGRAM_DIR") + "/" + relative; }

Layout ReadLayout(const std::string& path) {
  Layout layout;
  XmlDocument document;
  if (!document.ParseText(FromUtf8(ReadBytes(path)).c_str()) || !document.NextElement(L"device.info")) return layout;
  document.EnterElement();
  auto number = [&](const wchar_t* name) { return _wtoi(document.GetAttribute(name)); };
  auto text = [&](const wchar_t* name) { return std::wstring(document.GetAttribute(name).GetString()); };
  if (document.NextElement(L"light")) {
    layout.light = true;
    layout.rgb = number(L"rgb_keyboard");
  }
  if (!document.NextElement(L"Keyboard")) return layout;
  layout.width = number(L"width");
  layout.height = number(L"height");
  layout.rows = number(L"row_count");
  layout.cols = number(L"col_count");
  document.EnterElement();
  if (!document.NextElement(L"KeyItems")) return layout;
  document.EnterElement();
  while (document.NextElement(L"key")) {
    const CString rowCol = document.GetAttribute(L"row_col");
    const int row = _wtoi(rowCol.Left(1));
    const int col = _wtoi(rowCol.GetLength() == 3 ? rowCol.Right(1) : rowCol.Right(2));
    layout.keys.push_back({static_cast<int>(wcstol(document.GetAttribute(L"code"), nullptr, 16)),
                           number(L"key_index"), number(L"light_index"), number(L"rect_left"),
                           number(L"rect_top"), number(L"rect_width"), number(L"rect_height"), row, col,
                           text(L"name"), text(L"desc")});
  }
  return layout;
}

std::string LayoutPath(const std::string& model) { return ProgramFile("layouts/" + model + ".xml"); }

std::vector<std::string> StagedModels() {
  std::vector<std::string> models;
  for (const simkb::ModelTable& model : simkb::kModelTables) models.push_back(model.name);
  return models;
}

}  // namespace testsupport
