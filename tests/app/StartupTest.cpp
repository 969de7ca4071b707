// Start-up's rules (DPI, language, hidden start), the user's registry values, config.xml's
// start-up part and the folder helpers.
#include "app/Startup.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ScopedDeviceName.h"
#include "TempFolder.h"
#include "app/Language.h"
#include "app/ProgramFolders.h"
#include "app/UserRegistry.h"
#include "ui/core/Manager.h"

namespace {

TEST(StartupRulesTest, DpiAwarenessFollowsScreenSizeAndScale) {
  const struct {
    int width, height, scale;
    bool aware;
  } cases[] = {
      {1920, 1080, 150, true},  {1920, 1080, 125, false}, {2560, 1440, 150, false},
      {1600, 900, 100, true},   {1920, 900, 150, false},  {1366, 768, 100, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.aware, ShouldBeDpiAware(c.width, c.height, c.scale)) << c.width << "x" << c.height << " at " << c.scale;
  }
  const struct {
    UINT dpi;
    int scale;
  } dpis[] = {{72, 100}, {96, 100}, {110, 100}, {120, 125}, {144, 144}, {168, 168}, {192, 192}, {240, 100}};
  for (const auto& d : dpis) EXPECT_EQ(d.scale, DpiToScale(d.dpi)) << d.dpi;
}

TEST(StartupRulesTest, UnlistedLanguagesFallBackToEnglishAndAreStored) {
  const std::set<int> listed{1033, 2052};
  const struct {
    const char* name;
    int stored, ui;
    int language, store;
  } cases[] = {
      {"stored 1041, not listed", 1041, 2052, 1033, 1033},
      {"nothing stored, Chinese UI listed", 0, 2052, 2052, 2052},
      {"nothing stored, Japanese UI", 0, 1041, 1033, 1033},
      {"stored and listed: kept, nothing written", 2052, 1033, 2052, 0},
  };
  for (const auto& c : cases) {
    int store = -1;
    EXPECT_EQ(c.language, ChooseLanguage(c.stored, c.ui, listed, &store)) << c.name;
    EXPECT_EQ(c.store, store) << c.name;
  }
  int store = -1;
  EXPECT_EQ(1033, ChooseLanguage(2052, 2052, {}, &store)) << "no config.xml: no language is listed";
  EXPECT_EQ(1033, store);
}

TEST(StartupRulesTest, OnlyAnAutomaticStartWithTheRunValueAndTheChoiceStartsHidden) {
  EXPECT_TRUE(StartsHidden(L"-autorun", true, 1));
  EXPECT_TRUE(StartsHidden(L"\"C:\\p\\TAVIR KEYBOARD.exe\" -autorun", true, 1));
  EXPECT_FALSE(StartsHidden(L"-autorun", false, 1)) << "no Run value";
  EXPECT_FALSE(StartsHidden(L"-autorun", true, 0)) << "autorun_minimize 0";
  EXPECT_FALSE(StartsHidden(L"", true, 1)) << "started by hand";
  EXPECT_FALSE(StartsHidden(nullptr, true, 1));
}

TEST(UserRegistryTest, LanguageIdAndNumbersReadAsDecimalTextOfTheDevicesKey) {
  testsupport::ScopedDeviceName device(false);
  EXPECT_EQ(0, GetLanguageId()) << "a missing key is made and reads as 0";
  CString text;
  SetLanguageId(1041);
  ASSERT_TRUE(device.ReadValue(L"LCID", &text));
  EXPECT_STREQ(L"1041", text.GetString());
  EXPECT_EQ(1041, GetLanguageId());

  device.WriteValue(L"LCID", L"abc");
  EXPECT_EQ(0, GetLanguageId()) << "not a number";
  WriteRegistryString(L"exit_mode", L"1");
  EXPECT_EQ(1, ReadRegistryInt(L"exit_mode"));
  EXPECT_EQ(0, ReadRegistryInt(L"autorun_minimize")) << "missing value";

  // A value that fills the whole read buffer stays terminated.
  const std::wstring full(255, L'7');  // 510 bytes and the terminator: the whole buffer
  device.WriteValue(L"DeviceType", full.c_str());
  EXPECT_EQ(RegistryTextToInt(full.c_str(), 255), ReadRegistryInt(L"DeviceType"));
}

TEST(UserRegistryTest, SelectLanguageStoresTheFallBack) {
  testsupport::ScopedDeviceName device;
  const int saved = CurrentLanguage;
  const std::set<int> savedList = SupportedLanguages;
  SupportedLanguages = {1033, 2052};
  device.WriteValue(L"LCID", L"1041");
  SelectLanguage();
  EXPECT_EQ(1033, CurrentLanguage.load());
  CString text;
  ASSERT_TRUE(device.ReadValue(L"LCID", &text));
  EXPECT_STREQ(L"1033", text.GetString());
  CurrentLanguage = saved;
  SupportedLanguages = savedList;
}

TEST(StartupConfigTest, ShippedConfigListsTheLanguagesAndNamesTheDevice) {
  const CString savedName = TESK::Manager::GetDeviceName();
  SupportedLanguages = {9999};
  LoadAppConfig();
  EXPECT_EQ((std::set<int>{1033, 2052}), SupportedLanguages);
  EXPECT_STREQ(L"TAVIR KEYBOARD", TESK::Manager::GetDeviceName().GetString());
  TESK::Manager::SetDeviceName(savedName);
  EXPECT_EQ(GetProgramFolder(), GetExeFolder() + L"\\");
}

TEST(StartupFoldersTest, FolderTreesAreMadeAndRemovedWholeEvenBeyondTheOldPathLimit) {
  testsupport::TempFolder temp;
  std::wstring deep = std::wstring(temp.Path());
  if (deep.back() == L'\\') deep.pop_back();
  const std::wstring parent = deep + L"\\keep";
  ASSERT_TRUE(CreateFolderTree(parent.c_str()));
  std::wstring target = parent;
  while (target.size() < 300) target += L"\\abcdefghij";
  ASSERT_TRUE(CreateFolderTree(target.c_str())) << "every missing folder above it is made";
  ASSERT_TRUE(CreateFolderTree(target.c_str())) << "an existing folder is fine";
  const std::wstring sibling = target.substr(0, target.rfind(L'\\')) + L"\\sibling";
  ASSERT_TRUE(CreateFolderTree(sibling.c_str()));
  EXPECT_TRUE(DeleteFolderTree(target.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(target.c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(sibling.c_str())) << "nothing above or beside it goes";
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(parent.c_str()));
}

}  // namespace
