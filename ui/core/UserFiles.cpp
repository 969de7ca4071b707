#include "ui/core/UserFiles.h"

#include <shlobj.h>

#include "ui/core/Manager.h"

namespace TESK {

CString GetUserDataFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  // Without an answer from the shell the base stays empty; the folder operations on the
  // result then fail and are reported by their callers.
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) base[0] = L'\0';
  CString folder(base);
  folder.AppendFormat(L"\\%s Files\\", Manager::GetDeviceName().GetString());
  return folder;
}

CString GetFileNamePart(const wchar_t* path) {
  if (!path) return CString();
  const wchar_t* name = path;
  // Either separator ends a folder: a name never keeps a slash or a backslash, so a file
  // named after it stays in the folder it is put in.
  for (const wchar_t* p = path; *p; ++p) {
    if (*p == L'\\' || *p == L'/') name = p + 1;
  }
  return CString(name);
}

std::string WideToUtf8(const CString& text) {
  const int length = text.GetLength();
  if (length == 0) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.GetString(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.GetString(), length, &out[0], size, nullptr, nullptr);
  return out;
}

bool CreateFolderTree(const CString& folder) {
  std::wstring path(folder.GetString());
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const size_t parent = path.find_last_of(L"\\/");
  if (parent != std::wstring::npos && parent > 0 && path[parent - 1] != L':') {
    if (!CreateFolderTree(CString(path.substr(0, parent).c_str()))) return false;
  }
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool ReplaceFileWith(const CString& path, const std::vector<unsigned char>& bytes) {
  const std::wstring target(path.GetString());
  const size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash);
  wchar_t pending[MAX_PATH + 1] = {};
  // A unique file in the target's own folder, so that putting it in place is a rename.
  if (!GetTempFileNameW(folder.c_str(), L"tsk", 0, pending)) return false;
  bool written = false;
  HANDLE file = CreateFileW(pending, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD done = 0;
    written = bytes.size() <= MAXDWORD &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size();
    written = CloseHandle(file) && written;
  }
  if (written && MoveFileExW(pending, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileW(pending);
  return false;
}

}  // namespace TESK
