// A scratch folder for one test: created empty under the user's temporary folder with a
// unique name (the given label appended, which may hold any characters), and deleted
// with everything in it when the object goes.
#pragma once

#include <string>

namespace testsupport {

class TempFolder {
public:
  explicit TempFolder(const std::wstring& label = L"");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path, ending in a backslash.
  const std::wstring& Path() const { return m_path; }
  // Creates a sub-folder (one level) and returns its path with a trailing backslash.
  std::wstring MakeSubFolder(const std::wstring& name) const;

private:
  std::wstring m_path;
};

// Deletes a file or a folder tree; read-only files are made writable first.
void DeleteTree(const std::wstring& path);

}  // namespace testsupport
