// The installation data in the staged program folder: every XML file parses, the two
// language files hold the same texts and every id the code asks for, and each layout
// agrees with the simulated keyboard of its model.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SimKeyTables.h"
#include "device/HidDeviceManager.h"
#include "layouts/LayoutFile.h"
#include "simkeyboard/SimKeyboard.h"
#include "storage/XmlDocument.h"

namespace {

using testsupport::Env;
using testsupport::FromUtf8;
using testsupport::Layout;
using testsupport::LayoutKey;
using testsupport::ProgramFile;
using testsupport::ReadBytes;
using testsupport::ReadLayout;

XmlDocument& Load(XmlDocument& document, const std::string& path) {
  document.ParseText(FromUtf8(ReadBytes(path)).c_str());
  return document;
}

std::string Narrow(const CString& text) { return std::string(text.GetString(), text.GetString() + text.GetLength()); }

// The default key code of a default key-table entry, as the program derives it; -1 for none.
int DefaultCode(const uint8_t* entry) {
  const uint8_t type = entry[0], b1 = entry[1], b2 = entry[2];
  if (type == 0x10) {
    for (int bit = 0; bit < 8; ++bit) {
      if (b1 == (1 << bit)) return 0xE0 + bit;
    }
    return (b2 == 0 || b2 == 0xFF) ? -1 : b2;
  }
  if (type == 0xF0 && b1 == 0xFF) return 255;
  if (type == 0xF0 && b1 == 0x53) return 0x46;
  if (type == 0xE0) return b1 + 241;
  return -1;
}

TEST(InstallationDataTest, EveryShippedXmlFileParses) {
  std::vector<std::string> files = {"config.xml", "profile/default_light.xml"};
  for (const simkb::ModelTable& model : simkb::kModelTables) files.push_back(std::string("layouts/") + model.name + ".xml");
  for (const std::string& file : files) {
    const std::string bytes = ReadBytes(ProgramFile(file));
    ASSERT_FALSE(bytes.empty()) << file << " is missing from the program folder";
    XmlDocument document;
    EXPECT_TRUE(document.ParseText(FromUtf8(bytes).c_str())) << file << ": " << bytes.substr(0, 80);
    EXPECT_TRUE(document.CheckStructure()) << file;
  }
  XmlDocument fixture;
  EXPECT_TRUE(fixture.ParseText(FromUtf8(ReadBytes(Env("TAVIR_SOURCE_DIR") + "/tests/data/fixtures/layout_fixture.xml")).c_str()));
}

TEST(InstallationDataTest, ConfigNamesTheLanguagesDeviceVersionAndLinks) {
  XmlDocument config;
  ASSERT_TRUE(Load(config, ProgramFile("config.xml")).NextElement(L"config"));
  config.EnterElement();
  ASSERT_TRUE(config.NextElement(L"language.info"));
  config.EnterElement();
  std::set<std::string> languages;
  while (config.NextElement(L"lan")) languages.insert(Narrow(config.GetAttribute(L"value")));
  EXPECT_EQ((std::set<std::string>{"1033", "2052"}), languages);
  config.LeaveElement();
  ASSERT_TRUE(config.NextElement(L"software"));
  EXPECT_EQ("TAVIR KEYBOARD", Narrow(config.GetAttribute(L"name")));
  EXPECT_TRUE(std::regex_match(Narrow(config.GetAttribute(L"version")), std::regex(R"(\d+(\.\d+){3})")));
  config.EnterElement();
  for (const wchar_t* link : {L"website", L"store", L"upgrade"}) {
    ASSERT_TRUE(config.NextElement(link));
    EXPECT_NE(std::string::npos, Narrow(config.GetAttribute(L"url")).find(".example.com/"));
  }
}

// Texts of one language file as the platform's profile reader sees them.
std::map<std::pair<std::wstring, int>, std::wstring> ReadLanguage(int lcid) {
  const std::string path = ProgramFile("language/" + std::to_string(lcid) + ".lan");
  std::map<std::pair<std::wstring, int>, std::wstring> texts;
  const std::wstring wide(path.begin(), path.end());
  wchar_t sections[4096] = {};
  GetPrivateProfileSectionNamesW(sections, 4096, wide.c_str());
  for (const wchar_t* section = sections; *section; section += wcslen(section) + 1) {
    std::vector<wchar_t> keys(65536);
    GetPrivateProfileStringW(section, nullptr, L"", keys.data(), static_cast<DWORD>(keys.size()), wide.c_str());
    for (const wchar_t* key = keys.data(); *key; key += wcslen(key) + 1) {
      wchar_t text[260] = {};
      GetPrivateProfileStringW(section, key, L"", text, 260, wide.c_str());
      texts[{section, _wtoi(key)}] = text;
    }
  }
  return texts;
}

TEST(InstallationDataTest, LanguageFilesHoldTheSameTextsAndEveryIdTheCodeUses) {
  const auto english = ReadLanguage(1033), chinese = ReadLanguage(2052);
  ASSERT_GT(english.size(), 300u);
  const std::string bytes = ReadBytes(ProgramFile("language/2052.lan"));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ("\xFF\xFE", bytes.substr(0, 2)) << "UTF-16LE with a byte-order mark";
  std::set<std::pair<std::wstring, int>> englishIds, chineseIds;
  for (const auto& [key, text] : english) {
    englishIds.insert(key);
    EXPECT_FALSE(text.empty()) << key.second;
  }
  for (const auto& [key, text] : chinese) {
    chineseIds.insert(key);
    EXPECT_FALSE(text.empty()) << key.second;
  }
  EXPECT_EQ(englishIds, chineseIds);
  EXPECT_TRUE(englishIds.count({L"CAPTION", 1}) && englishIds.count({L"CAPTION", 2}));
  // Default names that the profile and macro lists recognise by their prefix.
  EXPECT_EQ(L"Profile", english.at({L"KB.DIALOG", 101}));
  EXPECT_EQ(L"\u914D\u7F6E\u65B9\u6848", chinese.at({L"KB.DIALOG", 101}));
  EXPECT_EQ(L"New Macro", english.at({L"KB.DIALOG", 331}));

  // Every literal id the sources pass to LoadLanString.
  const std::string source = Env("TAVIR_SOURCE_DIR");
  const std::regex call(R"re(LoadLanString\s*\(\s*L?"([^"]+)"\s*,\s*(\d+)\s*\))re");
  for (const char* folder : {"app", "device", "storage", "ui"}) {
    WIN32_FIND_DATAA found;
    std::vector<std::string> pending = {source + "/" + folder};
    while (!pending.empty()) {
      const std::string dir = pending.back();
      pending.pop_back();
      HANDLE search = FindFirstFileA((dir + "/*").c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) continue;
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          pending.push_back(dir + "/" + name);
          continue;
        }
        const std::string text = ReadBytes(dir + "/" + name);
        for (auto m = std::sregex_iterator(text.begin(), text.end(), call); m != std::sregex_iterator(); ++m) {
          const std::string section = (*m)[1];
          EXPECT_TRUE(englishIds.count({std::wstring(section.begin(), section.end()), std::stoi((*m)[2])}))
              << name << " asks for text " << (*m)[2] << " of " << section;
        }
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
}

TEST(InstallationDataTest, LayoutsAgreeWithTheSimulatedKeyboards) {
  for (const simkb::ModelTable& model : simkb::kModelTables) {
    SCOPED_TRACE(model.name);
    const Layout layout = ReadLayout(ProgramFile(std::string("layouts/") + model.name + ".xml"));
    ASSERT_TRUE(layout.light);
    EXPECT_EQ(1, layout.rgb);
    const int width = layout.width, height = layout.height;
    EXPECT_EQ(1000, width);
    EXPECT_EQ(380, height);
    ASSERT_EQ(static_cast<size_t>(model.keyCount), layout.keys.size());
    std::set<int> codes;
    std::map<int, int> indexByCode;
    for (int i = 0; i < model.keyCount; ++i) {
      const LayoutKey& key = layout.keys[i];
      const simkb::ModelKey& expected = model.keys[i];
      EXPECT_EQ(expected.usage, key.code);
      EXPECT_EQ(expected.keyIndex, key.index);
      EXPECT_EQ(key.index, key.light);
      EXPECT_EQ(expected.row, key.row);
      EXPECT_EQ(expected.col, key.col);
      EXPECT_EQ(expected.left, key.left);
      EXPECT_TRUE(codes.insert(key.code).second) << "duplicate code " << key.code;
      EXPECT_LT(key.index, 128);
      EXPECT_LT(key.row, std::min(layout.rows, 8));
      EXPECT_LT(key.col, std::min(layout.cols, 32));
      EXPECT_GE(key.left, 0);
      EXPECT_GE(key.top, 0);
      EXPECT_LE(key.left + key.width, width);
      EXPECT_LE(key.top + key.height, height);
      EXPECT_GE(key.height, 50);
      indexByCode[key.code] = key.index;
    }
    EXPECT_TRUE(codes.count(0xFF)) << "an Fn key";

    // The keyboard's own default key table maps each code to the layout's key index.
    simkb::Bus::Get().Reset();
    simkb::Bus::Get().PlugKeyboard(model.modelId);
    HidDeviceManager manager;
    manager.AddSupportedDevice(0x19F5, model.pid, 0x19F5, model.bootPid, L"", model.modelId, 0);
    manager.ScanDevices();
    manager.SetOpened(true);
    manager.SetActiveModelId(model.modelId);
    uint8_t table[560] = {};
    uint8_t frame[65] = {0, 0x55, CMD_BEGIN};
    ASSERT_TRUE(manager.SendCommand(frame));
    for (int chunk = 0; chunk < 10; ++chunk) {
      uint8_t read[65] = {0, 0x55, CMD_READ_KEYMAP, 0, 0, static_cast<uint8_t>(chunk < 9 ? 56 : 8),
                          static_cast<uint8_t>(chunk * 56), static_cast<uint8_t>((chunk * 56) >> 8)};
      ASSERT_TRUE(manager.RequestData(read));
      std::memcpy(table + chunk * 56, read + 8, 56);
    }
    uint8_t end[65] = {0, 0x55, CMD_END};
    manager.SendCommand(end);
    std::map<int, int> keyboardIndexByCode;
    for (int k = 0; k < 144; ++k) {
      const int code = DefaultCode(table + 3 * k);
      if (code > 0) keyboardIndexByCode[code] = k;
    }
    EXPECT_EQ(indexByCode, keyboardIndexByCode);
    EXPECT_TRUE(simkb::Bus::Get().Problems().empty());
    simkb::Bus::Get().Reset();
  }
}

TEST(InstallationDataTest, SixPresetsColourOnlyKeysOfTheLayouts) {
  std::set<int> layoutCodes;
  for (const simkb::ModelTable& model : simkb::kModelTables) {
    for (int i = 0; i < model.keyCount; ++i) layoutCodes.insert(model.keys[i].usage);
  }
  XmlDocument presets;
  ASSERT_TRUE(Load(presets, ProgramFile("profile/default_light.xml")).NextElement(L"preconfig_prpfile"));
  presets.EnterElement();
  for (int preset = 1; preset <= 6; ++preset) {
    const std::wstring name = L"key_light" + std::to_wstring(preset);
    ASSERT_TRUE(presets.NextElement(name.c_str())) << preset;
    presets.EnterElement();
    std::set<int> codes;
    while (presets.NextElement(L"item")) {
      const int code = _wtoi(presets.GetAttribute(L"key_code"));
      EXPECT_TRUE(layoutCodes.count(code)) << "key_code " << code;
      EXPECT_TRUE(std::regex_match(Narrow(presets.GetAttribute(L"key_rgb")), std::regex("#[0-9A-F]{6}")));
      codes.insert(code);
    }
    EXPECT_EQ(layoutCodes, codes) << preset;
    presets.LeaveElement();
  }
  EXPECT_FALSE(presets.NextElement()) << "six presets, no more";
}

TEST(InstallationDataTest, FixtureLayoutHasItsKnownOddities) {
  const Layout fixture = ReadLayout(Env("TAVIR_SOURCE_DIR") + "/tests/data/fixtures/layout_fixture.xml");
  ASSERT_EQ(5u, fixture.keys.size());
  EXPECT_EQ(fixture.keys[1].code, fixture.keys[2].code) << "one duplicate code";
  EXPECT_EQ(15, fixture.keys[2].col);
  EXPECT_GT(fixture.keys[4].row, 7) << "one key outside the 8 x 32 matrix";
  EXPECT_EQ(110, fixture.keys[3].width);
  EXPECT_EQ(0, fixture.rgb) << "a board without per-key lighting";
}

}  // namespace
