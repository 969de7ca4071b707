// The profile file: the exact text a profile is written as under its scrambling, a
// byte-identical round trip, the identity check per model, and what a hostile or foreign file is
// refused with or accepted as.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "FileProbe.h"
#include "TempFolder.h"
#include "app/pages/MacroRules.h"
#include "app/pages/ProfileFile.h"

using testsupport::ReadFileBytes;
using testsupport::TempFolder;
using testsupport::WriteFileBytes;

namespace {

constexpr unsigned char kMask = 0x9B;

std::string Unscrambled(std::string bytes) {
  for (char& c : bytes) c = static_cast<char>(static_cast<unsigned char>(c) ^ kMask);
  return bytes;
}
std::vector<uint8_t> Scrambled(const std::string& text, unsigned char mask = kMask) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  for (uint8_t& b : bytes) b ^= mask;
  return bytes;
}

// One of each row kind: a DKS key with two trigger rows, a macro with two events and one
// without, a key row, a performance row, a light mode that is written and one that is off,
// and a colour of red 0x00, green 0x80, blue 0xFF.
ProfileFileContent SmallProfile() {
  ProfileFileContent content;
  content.name = L"Mine";
  ProfileAdvKey dks;
  dks.key.macro_id = 5;
  dks.key.profile = 1;
  dks.key.macro_type = 14;
  dks.key.key1_value = 4;
  dks.key.key1_name = L"A";
  dks.key.name = L"not written";
  dks.key.key_value = 99;
  KEY_ITEM_DATA item;
  item.keyitem_id = 11;
  item.macro_id = 5;
  item.trigger_state1 = 0x1E0A;
  item.key_value = 4;
  item.key_name = L"A";
  dks.items = {item, item};
  dks.items[1].keyitem_id = 12;
  dks.items[1].trigger_state1 = 0x0A1E;
  content.advKeys = {dks};

  ProfileMacro played;
  played.macro.macro_id = 1;
  played.macro.name = L"M <1>";
  played.macro.play_times = 2;
  played.macro.delay_type = 1;
  MACRO_RECORD event;
  event.type = 2;
  event.value = 65;
  event.delay_time = 120;
  event.desc = L"A";
  played.events = {event, event};
  played.events[1].type = 3;
  played.events[1].delay_time = 0;
  ProfileMacro empty;
  empty.macro.macro_id = 2;
  empty.macro.name = L"M 2";
  content.macros = {played, empty};

  KEY_MACRO_DATA key;
  key.fn_layer = 1;
  key.key_code = 4;
  key.macro_type = 14;
  key.macro_value = 5;
  key.macro_desc = L"DKS";
  content.keys = {key};
  KEY_PERF_DATA perf;
  perf.key_code = 4;
  perf.switch_type = 2;
  perf.key_mode = 1;
  perf.key_actuation = 75;
  perf.rt_press = 5;
  perf.rt_release = 6;
  content.perfs = {perf};
  LIGHT_DATA light;
  light.mode = 3;
  light.brightness = 4;
  light.color_value = 0xFF0000;
  light.status = 1;
  LIGHT_DATA off = light;
  off.mode = 255;
  content.lights = {light, off};
  USERLIGHTRGB_DATA colour;
  colour.key_code = 4;
  colour.key_rgb = 0xFF8000;  // red in the low byte
  content.colours = {colour};
  return content;
}

const char kSmallProfile101[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<profile>\r\n"
    "<info name=\"Mine\" pid=\"65232\" vid=\"6645\" pro_name=\"Norvik61 HE\">\r\n"
    "<adv_keys>\r\n"
    "<adv_item macro_id=\"5\" profile=\"1\" fn_layer=\"0\" macro_type=\"14\" key1_value=\"4\" key2_value=\"0\" "
    "key1_name=\"A\" key2_name=\"\" reserved=\"0\">\r\n"
    "<dks_keys>\r\n"
    "<dks_item keyitem_id=\"11\" macro_id=\"5\" state=\"7690\" key_value=\"4\" key_name=\"A\"/>\r\n"
    "<dks_item keyitem_id=\"12\" macro_id=\"5\" state=\"2590\" key_value=\"4\" key_name=\"A\"/>\r\n"
    "</dks_keys>\r\n"
    "</adv_item>\r\n"
    "</adv_keys>\r\n"
    "<macro_info>\r\n"
    "<macro_item macro_id=\"1\" name=\"M &lt;1&gt;\" times=\"2\" type=\"1\" delaytime=\"0\">\r\n"
    "<record_item>\r\n"
    "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"120\"/>\r\n"
    "<item desc=\"A\" type=\"3\" value=\"65\" delay_time=\"0\"/>\r\n"
    "</record_item>\r\n"
    "</macro_item>\r\n"
    "<macro_item macro_id=\"2\" name=\"M 2\" times=\"0\" type=\"0\" delaytime=\"0\"/>\r\n"
    "</macro_info>\r\n"
    "<key_info>\r\n"
    "<item fn_layer=\"1\" key_code=\"4\" layout_desc=\"4\" macro_type=\"14\" macro_value=\"5\" macro_value2=\"0\" "
    "macro_value3=\"0\" macro_desc=\"DKS\"/>\r\n"
    "</key_info>\r\n"
    "<perf_info>\r\n"
    "<item key_code=\"4\" switch_type=\"2\" key_mode=\"1\" key_actuation=\"75\" rt_press=\"5\" rt_release=\"6\" "
    "deadzone_state=\"0\" press_deadzone=\"0\" release_deadzone=\"0\"/>\r\n"
    "</perf_info>\r\n"
    "<light_mode>\r\n"
    "<item mode=\"3\" brightness=\"4\" speed=\"0\" direction=\"0\" colorful=\"0\" colorindex=\"0\" "
    "color_value=\"16711680\" status=\"1\"/>\r\n"
    "</light_mode>\r\n"
    "<key_light>\r\n"
    "<item key_name=\"A\" key_code=\"4\" key_rgb=\"#0080FF\"/>\r\n"
    "</key_light>\r\n"
    "</info>\r\n"
    "</profile>\r\n";

// Model 103 names no keyboard; a profile without advanced keys has no adv_keys section and its
// empty sections are short.
const char kBareProfile103[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<profile>\r\n"
    "<info name=\"Profile 3\">\r\n"
    "<macro_info/>\r\n"
    "<key_info/>\r\n"
    "<perf_info/>\r\n"
    "<light_mode/>\r\n"
    "<key_light/>\r\n"
    "</info>\r\n"
    "</profile>\r\n";

// The stored macros of the small profile: ids 1 and 2, with three events between them.
const StoredMacroEvents kStored = {{1, 3}, {2, 0}};

std::string Text(const ProfileFileContent& content, int model) {
  XmlDocument doc;
  BuildProfileDocument(content, model, doc);
  const std::wstring& text = doc.GetText();
  return std::string(text.begin(), text.end());  // the fixtures are ASCII
}

TEST(ProfileFile, AProfileIsWrittenAsThisExactTextUnderTheMask) {
  TempFolder temp(L"profile file");
  const std::wstring path = temp.Path() + L"p.xml";
  ASSERT_TRUE(WriteProfileFile(path.c_str(), SmallProfile(), 101));
  EXPECT_EQ(Unscrambled(ReadFileBytes(path)), kSmallProfile101);

  ProfileFileContent bare;
  bare.name = L"Profile 3";
  ASSERT_TRUE(WriteProfileFile(path.c_str(), bare, 103));
  EXPECT_EQ(Unscrambled(ReadFileBytes(path)), kBareProfile103);
  EXPECT_NE(Text(bare, 102).find("pid=\"65056\" vid=\"6645\" pro_name=\"Norvik68 HE\""), std::string::npos);
  EXPECT_FALSE(WriteProfileFile(temp.MakeSubFolder(L"folder.xml").c_str(), bare, 103)) << "a folder is not written";
}

TEST(ProfileFile, ReadingAWrittenFileGivesTheProfileBackAndWritesTheSameBytesAgain) {
  TempFolder temp(L"profile file");
  const std::wstring first = temp.Path() + L"first.xml", second = temp.Path() + L"second.xml";
  ProfileFileContent written = SmallProfile();
  written.name = L"\x914D\x7F6E & \"x\"";  // non-ASCII and escaped text survive
  ASSERT_TRUE(WriteProfileFile(first.c_str(), written, 102));

  ProfileFileContent read;
  ASSERT_EQ(ReadProfileFile(first.c_str(), 102, kStored, kMacroAreaEvents, read), ProfileFileVerdict::kAccepted);
  EXPECT_STREQ(read.name, written.name);
  ASSERT_EQ(read.advKeys.size(), 1u);
  EXPECT_EQ(read.advKeys[0].key.macro_id, 5) << "kept for translating the key rows' references";
  EXPECT_EQ(read.advKeys[0].key.macro_type, 14);
  EXPECT_STREQ(read.advKeys[0].key.key1_name, L"A");
  ASSERT_EQ(read.advKeys[0].items.size(), 2u);
  EXPECT_EQ(read.advKeys[0].items[1].trigger_state1, 0x0A1E);
  ASSERT_EQ(read.macros.size(), 2u);
  EXPECT_EQ(read.macros[0].events.size(), 2u);
  EXPECT_EQ(read.macros[0].events[1].record_index, 1);
  EXPECT_TRUE(read.macros[1].events.empty()) << "a macro without events empties the stored one";
  ASSERT_EQ(read.keys.size(), 1u);
  EXPECT_EQ(read.keys[0].macro_value, 5);
  ASSERT_EQ(read.perfs.size(), 1u);
  EXPECT_EQ(read.perfs[0].rt_release, 6);
  ASSERT_EQ(read.lights.size(), 1u) << "the mode that is off was not written";
  EXPECT_EQ(read.lights[0].color_value, 0xFF0000);
  ASSERT_EQ(read.colours.size(), 1u);
  EXPECT_EQ(read.colours[0].key_rgb, 0xFF8000) << "#0080FF read back as the same colour";

  // Fields a file does not carry come back empty; set them as written to compare the bytes.
  read.advKeys[0].key.profile = 1;
  for (int i = 0; i < 2; ++i) {
    read.advKeys[0].items[i].keyitem_id = 11 + i;
    read.advKeys[0].items[i].macro_id = 5;
  }
  ASSERT_TRUE(WriteProfileFile(second.c_str(), read, 102));
  EXPECT_EQ(ReadFileBytes(second), ReadFileBytes(first));
}

std::string ManyEventsProfile(int events) {
  std::string text = "<profile><info name=\"big\"><macro_info><macro_item macro_id=\"1\"><record_item>";
  for (int i = 0; i < events; ++i) text += "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"1\"/>";
  return text + "</record_item></macro_item></macro_info></info></profile>";
}

TEST(ProfileFile, HostileAndForeignFilesAreRefusedWithTheirMessage) {
  TempFolder temp(L"profile file");
  const std::string good101 = kSmallProfile101;
  const std::string good102 = Text(SmallProfile(), 102);
  std::string otherCase = good101;
  otherCase.replace(otherCase.find("Norvik61 HE"), 11, "NORVIK61 HE");
  std::string noInfo = "<profile><settings name=\"x\"/></profile>";
  std::string huge = good101;
  huge.insert(huge.find("</profile>"), std::string(20 * 1024 * 1024, ' '));
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    int model;
    ProfileFileVerdict verdict;
    int text;
  };
  const Case cases[] = {
      {"a 102 file while 101 is in use", Scrambled(good102), 101, ProfileFileVerdict::kOtherModel, 223},
      {"a 101 file while 102 is in use", Scrambled(good101), 102, ProfileFileVerdict::kOtherModel, 223},
      {"a 103 file while 101 is in use", Scrambled(kBareProfile103), 101, ProfileFileVerdict::kOtherModel, 223},
      {"the product name in other letter case", Scrambled(otherCase), 101, ProfileFileVerdict::kOtherModel, 223},
      {"plain XML", std::vector<uint8_t>(good101.begin(), good101.end()), 101, ProfileFileVerdict::kDamaged, 222},
      {"another mask", Scrambled(good101, 0x5A), 101, ProfileFileVerdict::kDamaged, 222},
      {"cut at half", Scrambled(good101.substr(0, good101.size() / 2)), 101, ProfileFileVerdict::kDamaged, 222},
      {"cut before the last end tag", Scrambled(good101.substr(0, good101.rfind("</profile>"))), 101,
       ProfileFileVerdict::kDamaged, 222},
      {"empty", {}, 101, ProfileFileVerdict::kDamaged, 222},
      {"over 16 MiB", Scrambled(huge), 101, ProfileFileVerdict::kDamaged, 222},
      {"no info", Scrambled(noInfo), 103, ProfileFileVerdict::kDamaged, 222},
      {"more macro events than the keyboard holds", Scrambled(ManyEventsProfile(600)), 103,
       ProfileFileVerdict::kTooManyEvents, 361},
  };
  for (const Case& c : cases) {
    const std::wstring path = WriteFileBytes(temp.Path() + L"hostile.xml", c.bytes);
    ProfileFileContent out = SmallProfile();
    EXPECT_EQ(ReadProfileFile(path.c_str(), c.model, kStored, kMacroAreaEvents, out), c.verdict) << c.name;
    EXPECT_EQ(ProfileFileRefusalText(c.verdict), c.text) << c.name;
    EXPECT_STREQ(out.name, L"Mine") << c.name << ": the output must stay untouched";
  }
  ProfileFileContent out;
  EXPECT_EQ(ReadProfileFile((temp.Path() + L"missing.xml").c_str(), 101, kStored, kMacroAreaEvents, out),
            ProfileFileVerdict::kDamaged);
  EXPECT_EQ(ReadProfileFile(temp.MakeSubFolder(L"folder.xml").c_str(), 101, kStored, kMacroAreaEvents, out),
            ProfileFileVerdict::kDamaged);
  // Model 103 checks no identity: every model's file is read.
  const std::wstring path = WriteFileBytes(temp.Path() + L"p.xml", Scrambled(good101));
  EXPECT_EQ(ReadProfileFile(path.c_str(), 103, kStored, kMacroAreaEvents, out), ProfileFileVerdict::kAccepted);
}

TEST(ProfileFile, TheMacroAreaCountsTheFilesEventsInPlaceOfTheStoredOnes) {
  XmlDocument doc;
  BuildProfileDocument(SmallProfile(), 103, doc);  // two events for macro 1, none for macro 2
  struct Case {
    const char* name;
    StoredMacroEvents stored;
    ProfileFileVerdict verdict;
    size_t macros;
  };
  const Case cases[] = {
      {"2 + 0 + 494 fill the area", {{1, 300}, {2, 100}, {9, 494}}, ProfileFileVerdict::kAccepted, 2},
      {"2 + 495 is one too many", {{1, 0}, {9, 495}}, ProfileFileVerdict::kTooManyEvents, 0},
      {"no macro of the file is stored", {{9, 496}}, ProfileFileVerdict::kAccepted, 0},
  };
  for (const Case& c : cases) {
    ProfileFileContent out;
    EXPECT_EQ(ReadProfileDocument(doc, 103, c.stored, kMacroAreaEvents, out), c.verdict) << c.name;
    EXPECT_EQ(out.macros.size(), c.macros) << c.name;
  }
}

TEST(ProfileFile, ForeignValuesAreAcceptedAsTheyStand) {
  std::wstring six;
  for (int i = 0; i < 6; ++i) six += L"<dks_item state=\"" + std::to_wstring(i) + L"\"/>";
  const std::wstring text =
      L"<profile><info name=\"..\\..\\x:y\">"
      L"<adv_keys><adv_item macro_id=\"40\" fn_layer=\"x\" key1_value=\"99999999999\"><dks_keys>" + six +
      L"</dks_keys></adv_item></adv_keys>"
      L"<macro_info><macro_item macro_id=\"77\"><record_item><item value=\"1\"/></record_item></macro_item>"
      L"</macro_info>"
      L"<key_light><item key_code=\"4\" key_rgb=\"#0080FF\"/></key_light>"  // before perf_info: passed over
      L"<perf_info><item key_code=\" -4\" switch_type=\"77\"/></perf_info>"
      L"</info></profile>";
  XmlDocument doc(text.c_str());
  ProfileFileContent out;
  ASSERT_EQ(ReadProfileDocument(doc, 103, kStored, kMacroAreaEvents, out), ProfileFileVerdict::kAccepted);
  EXPECT_STREQ(out.name, L"..\\..\\x:y");
  ASSERT_EQ(out.advKeys.size(), 1u);
  EXPECT_EQ(out.advKeys[0].key.fn_layer, 0);
  EXPECT_EQ(out.advKeys[0].key.key1_value, INT_MAX);
  ASSERT_EQ(out.advKeys[0].items.size(), 4u) << "the grid holds four";
  EXPECT_EQ(out.advKeys[0].items[3].trigger_state1, 3);
  EXPECT_TRUE(out.macros.empty()) << "macro 77 is not stored";
  ASSERT_EQ(out.perfs.size(), 1u);
  EXPECT_EQ(out.perfs[0].key_code, -4);
  EXPECT_EQ(out.perfs[0].switch_type, 77);
  EXPECT_TRUE(out.colours.empty()) << "a section standing before an earlier one is not read";
}

}  // namespace
