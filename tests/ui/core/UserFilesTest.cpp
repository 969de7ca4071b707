#include "ui/core/UserFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FileProbe.h"
#include "TempFolder.h"
#include "ui/core/Manager.h"

using namespace TESK;

namespace {

TEST(UserFilesTest, FileNamePartFollowsTheLastSeparatorOfEitherKind) {
  struct Case {
    const wchar_t* path;
    const wchar_t* name;
  } cases[] = {
      {L"C:\\pictures\\logo.png", L"logo.png"},   {L"C:/pictures/logo.png", L"logo.png"},
      {L"a\\b/../../x.png", L"x.png"},            {L"a/b\\..\\..\\y.png", L"y.png"},
      {L"logo.png", L"logo.png"},                 {L"folder\\", L""},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(std::wstring(c.name), std::wstring(GetFileNamePart(c.path))) << c.path;
  EXPECT_EQ(std::wstring(), std::wstring(GetFileNamePart(nullptr)));
}

TEST(UserFilesTest, DataFolderIsNamedAfterTheDevice) {
  const CString previous = Manager::GetDeviceName();
  Manager::SetDeviceName(L"Board X");
  const std::wstring folder(GetUserDataFolder());
  Manager::SetDeviceName(previous);
  const std::wstring suffix = L"\\Board X Files\\";
  ASSERT_GT(folder.size(), suffix.size());
  EXPECT_EQ(suffix, folder.substr(folder.size() - suffix.size()));
}

TEST(UserFilesTest, Utf8OfTheWholeText) {
  EXPECT_EQ(std::string("a\xC3\xA9\xE4\xB8\xAD"), WideToUtf8(CString(L"a\u00E9\u4E2D")));
  EXPECT_EQ(std::string(), WideToUtf8(CString()));
}

TEST(UserFilesTest, FolderTreeIsCreatedWithItsParentsButNotOverAFile) {
  testsupport::TempFolder temp;
  EXPECT_TRUE(CreateFolderTree(CString((temp.Path() + L"one\\two\\three\\").c_str())));
  EXPECT_TRUE(CreateFolderTree(CString((temp.Path() + L"one\\two").c_str()))) << "an existing folder";
  CloseHandle(CreateFileW((temp.Path() + L"file").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  EXPECT_FALSE(CreateFolderTree(CString((temp.Path() + L"file\\below").c_str())));
  EXPECT_FALSE(CreateFolderTree(CString((temp.Path() + L"file").c_str())));
}

TEST(UserFilesTest, ReplacingIsWholeOrNothing) {
  testsupport::TempFolder temp;
  const std::wstring target = temp.Path() + L"picture.png";
  const std::vector<unsigned char> first = {1, 2, 3}, second = {4, 5, 6, 7};
  ASSERT_TRUE(ReplaceFileWith(CString(target.c_str()), first)) << "a new file";
  ASSERT_TRUE(ReplaceFileWith(CString(target.c_str()), second)) << "an existing file";
  EXPECT_EQ(std::string("\x04\x05\x06\x07"), testsupport::ReadFileBytes(target));

  HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_FALSE(ReplaceFileWith(CString(target.c_str()), first)) << "a handle that denies sharing";
  CloseHandle(held);
  EXPECT_EQ(std::string("\x04\x05\x06\x07"), testsupport::ReadFileBytes(target));

  const std::wstring folder = temp.MakeSubFolder(L"taken.png");
  EXPECT_FALSE(ReplaceFileWith(CString(folder.c_str()), first)) << "a folder in the file's place";
  EXPECT_FALSE(ReplaceFileWith(CString((temp.Path() + L"missing\\x.png").c_str()), first)) << "no folder";
  EXPECT_EQ((std::vector<std::wstring>{L"picture.png", L"taken.png\\"}), testsupport::ListTree(temp.Path()))
      << "no file left behind";
}

}  // namespace
