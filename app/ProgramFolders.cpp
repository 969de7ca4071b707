#include "app/ProgramFolders.h"

#include <shlobj.h>

CString GetDataFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  // A shell that gives no answer leaves the base empty: the result is then just the
  // suffix, which the callers' folder and file operations report as failures.
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base))) base[0] = L'\0';
  CString folder(base);
  folder.AppendFormat(L"\\%s Files\\", TESK::Manager::GetDeviceName().GetString());
  return folder;
}
