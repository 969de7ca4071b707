#include "ui/core/Manager.h"
#include "ui/core/TeskModule.h"

#include <gtest/gtest.h>

using namespace TESK;

namespace {

CString ExecutableFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  CString folder(path);
  return folder.Left(folder.ReverseFind(L'\\') + 1);
}

TEST(ManagerTest, StartsWithTheLibraryDefaults) {
  EXPECT_STREQ(L"SourceHanSansCN-Regular", Manager::GetFontName());
  EXPECT_EQ(14, Manager::GetFontWidth());
  EXPECT_STREQ(L"Device Driver", Manager::GetDeviceName());
  EXPECT_STREQ(L"theme1\\", Manager::GetTheme());
  EXPECT_EQ(nullptr, Manager::GetInstance());
  const struct {
    const char* name;
    Gdiplus::ARGB value, expected;
  } colours[] = {
      {"window background", Manager::m_window_bkcolor, 0xFF1A191A},
      {"left pane", Manager::m_left_bkcolor, 0xFF24252A},
      {"right pane", Manager::m_right_bkcolor, 0xFF24252A},
      {"bottom bar", Manager::m_bottom_bkcolor, 0xFF24252A},
      {"keyboard background", Manager::m_keyboard_bkcolor, 0x32FFEAA7},
      {"select", Manager::GetSelectColor().GetValue(), 0xFF191919},
      {"hover", Manager::GetHoverColor().GetValue(), 0xFF191919},
  };
  for (const auto& c : colours) EXPECT_EQ(c.expected, c.value) << c.name;
}

TEST(ManagerTest, SettersChangeWhatTheGettersAndTheExportedMembersShow) {
  Manager::SetFont(L"Arial", 12);
  Manager::SetDeviceName(L"Board");
  Manager::SetHoverColor(Gdiplus::Color(0x80102030));
  EXPECT_STREQ(L"Arial", Manager::m_fontname);
  EXPECT_EQ(12, Manager::m_fontwidth);
  EXPECT_STREQ(L"Board", Manager::GetDeviceName());
  EXPECT_EQ(0x80102030u, Manager::m_hover_color);
  Manager::SetFont(L"SourceHanSansCN-Regular", 14);
  Manager::SetDeviceName(L"Device Driver");
  Manager::SetHoverColor(Gdiplus::Color(0xFF191919));
}

TEST(ManagerTest, SkinFolderIsBelowTheExecutablesFolder) {
  EXPECT_STREQ(ExecutableFolder(), GetProgramFolder());
  EXPECT_STREQ(ExecutableFolder() + L"skins\\theme1\\", GetSkinFolder());
  wchar_t buffer[MAX_PATH];
  EXPECT_EQ(buffer, GetProgramFolder(buffer));
  EXPECT_STREQ(ExecutableFolder(), buffer);
  EXPECT_EQ(nullptr, GetProgramFolder(nullptr));
}

TEST(ManagerTest, LibraryModuleIsTheDllNotTheProgram) {
  EXPECT_EQ(GetModuleHandleW(L"tesk.dll"), GetLibraryModule());
  EXPECT_NE(GetModuleHandleW(nullptr), GetLibraryModule());
}

}  // namespace
