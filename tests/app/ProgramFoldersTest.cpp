#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "app/ProgramFolders.h"

namespace {

using TESK::Manager;

CString LocalAppData() {
  wchar_t path[MAX_PATH + 1] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
  return CString(path);
}

TEST(ProgramFoldersTest, DataFolderIsNamedAfterTheDeviceUnderLocalAppData) {
  const CString saved = Manager::GetDeviceName();
  EXPECT_STREQ(L"Device Driver", saved);
  EXPECT_STREQ(LocalAppData() + L"\\Device Driver Files\\", GetDataFolder());
  Manager::SetDeviceName(L"TAVIR KEYBOARD");
  EXPECT_STREQ(LocalAppData() + L"\\TAVIR KEYBOARD Files\\", GetDataFolder());
  Manager::SetDeviceName(saved);
}

TEST(ProgramFoldersTest, ProgramFolderIsTheExecutablesFolderWithABackslash) {
  wchar_t module[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  CString expected(module);
  expected = expected.Left(expected.ReverseFind(L'\\') + 1);
  EXPECT_STREQ(expected, GetProgramFolder());
  wchar_t buffer[MAX_PATH + 1];
  EXPECT_EQ(buffer, GetProgramFolder(buffer));
  EXPECT_STREQ(expected, buffer);
  EXPECT_EQ(nullptr, GetProgramFolder(nullptr));
}

}  // namespace
