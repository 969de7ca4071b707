// The library's helpers for the files it keeps for the user: the per-user data folder, the
// file-name part of a path, UTF-8 paths for the PNG writer, and writing a file so that it
// is either replaced whole or left as it was. Plain functions, safe on any thread once the
// device name is set.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/core/CString.h"
#include "ui/core/TeskApi.h"

namespace TESK {

// The user's local application-data folder followed by "\<device name> Files\", ending in a
// backslash. Creates nothing.
TESK_API CString GetUserDataFolder();

// What follows the last separator (backslash or slash) of path; the whole path when it has
// none; "" for a null path.
TESK_API CString GetFileNamePart(const wchar_t* path);

// The whole text in UTF-8.
TESK_API std::string WideToUtf8(const CString& text);

// Creates folder and every missing folder above it; true when it exists as a folder after.
TESK_API bool CreateFolderTree(const CString& folder);

// Writes bytes to a new file beside path and then puts it in path's place. True only when
// everything was written and the file replaced; on any failure path is unchanged and the
// new file is removed.
TESK_API bool ReplaceFileWith(const CString& path, const std::vector<unsigned char>& bytes);

}  // namespace TESK
