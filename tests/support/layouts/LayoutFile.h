// The installation's layout files as the program reads them, for tests: each model's keys
// with their codes, texts and rectangles. Also the files of the staged program folder
// (TAVIR_PROGRAM_DIR) and of the source tree (TAVIR_SOURCE_DIR) that ctest names.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The value of an environment variable, empty when unset.
std::string Env(const char* name);
// A file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
std::wstring FromUtf8(const std::string& bytes);
// A path under the staged program folder.
std::string ProgramFile(const std::string& relative);

// A layout key: code base 16, numbers decimal, row_col as one row digit and a column of the
// last one or two characters.
struct LayoutKey {
  int code, index, light, left, top, width, height, row, col;
  std::wstring name, desc;
};

struct Layout {
  bool light = false;
  int rgb = 0, width = 0, height = 0, rows = 0, cols = 0;
  std::vector<LayoutKey> keys;
};

// Read with XmlDocument, elements found forward in their order as the program finds them;
// an unreadable file gives an empty layout.
Layout ReadLayout(const std::string& path);

// The staged layout file of a model ("Lynt 80").
std::string LayoutPath(const std::string& model);
// The models whose layout files the installation stages, in model-id order.
std::vector<std::string> StagedModels();

}  // namespace testsupport
