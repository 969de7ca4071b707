// The macro file: the exact text a macro is written as, a byte-identical round trip through a
// file, and what a hostile or foreign file is refused with or accepted as.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "FileBytes.h"
#include "FileProbe.h"
#include "TempFolder.h"
#include "app/pages/MacroRules.h"
#include "app/pages/MacroFile.h"

using testsupport::ReadFileBytes;
using testsupport::TempFolder;
using testsupport::WriteFileBytes;

namespace {

MACRO_RECORD Event(int type, int value, int delay, const wchar_t* desc) {
  MACRO_RECORD event;
  event.type = type;
  event.value = value;
  event.delay_time = delay;
  event.desc = desc;
  return event;
}

// (press A, 120), (release A, 0) of macro "M 1" with its stored settings.
MacroFileContent PressAndReleaseA() {
  MacroFileContent content;
  content.macro.macro_id = 7;
  content.macro.link_count = 3;
  content.macro.name = L"M 1";
  content.macro.play_times = 2;
  content.macro.delay_type = 3;
  content.macro.delay_time = 15;
  content.events = {Event(2, 'A', 120, L"A"), Event(3, 'A', 0, L"A")};
  return content;
}

const char kPressAndReleaseAFile[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<macro>\r\n"
    "<macroinfo name=\"M 1\" times=\"2\" type=\"3\" delaytime=\"15\"/>\r\n"
    "<macroitems>\r\n"
    "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"120\"/>\r\n"
    "<item desc=\"A\" type=\"3\" value=\"65\" delay_time=\"0\"/>\r\n"
    "</macroitems>\r\n"
    "</macro>\r\n";

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string ManyEventsFile(int events) {
  std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<macro>\r\n<macroinfo name=\"big\"/>\r\n<macroitems>\r\n";
  for (int i = 0; i < events; ++i) text += "<item desc=\"A\" type=\"2\" value=\"65\" delay_time=\"1\"/>\r\n";
  return text + "</macroitems>\r\n</macro>\r\n";
}

TEST(MacroFile, AMacroIsWrittenAsThisExactUtf8Text) {
  TempFolder temp(L"macro file");
  const std::wstring path = temp.Path() + L"a.xml";
  ASSERT_TRUE(WriteMacroFile(path.c_str(), PressAndReleaseA()));
  EXPECT_EQ(ReadFileBytes(path), kPressAndReleaseAFile);
}

TEST(MacroFile, ReadingAWrittenFileGivesTheMacroBackAndWritesTheSameBytesAgain) {
  TempFolder temp(L"macro file");
  MacroFileContent written = PressAndReleaseA();
  // Text that must be escaped and non-ASCII text survive both ways.
  written.macro.name = L"<a & \"b\" 'c'> \x5B8F";
  written.events.push_back(Event(4, 1, 31000, L"Left \"button\" & <x>"));
  written.events.push_back(Event(5, 1, 0, L"\x5DE6\x952E"));
  const std::wstring first = temp.Path() + L"first.xml";
  const std::wstring second = temp.Path() + L"second.xml";
  ASSERT_TRUE(WriteMacroFile(first.c_str(), written));

  MacroFileContent read;
  ASSERT_EQ(ReadMacroFile(first.c_str(), kMacroAreaEvents, read), MacroFileVerdict::kAccepted);
  EXPECT_STREQ(read.macro.name, written.macro.name);
  EXPECT_EQ(read.macro.play_times, 2);
  EXPECT_EQ(read.macro.delay_type, 3);
  EXPECT_EQ(read.macro.delay_time, 15);
  EXPECT_EQ(read.macro.macro_id, 0) << "a file carries no id";
  EXPECT_EQ(read.macro.link_count, 0) << "a file carries no link count";
  ASSERT_EQ(read.events.size(), written.events.size());
  for (size_t i = 0; i < read.events.size(); ++i) {
    EXPECT_EQ(read.events[i].type, written.events[i].type) << i;
    EXPECT_EQ(read.events[i].value, written.events[i].value) << i;
    EXPECT_EQ(read.events[i].delay_time, written.events[i].delay_time) << i;
    EXPECT_STREQ(read.events[i].desc, written.events[i].desc) << i;
    EXPECT_EQ(read.events[i].record_index, static_cast<int>(i));
  }

  ASSERT_TRUE(WriteMacroFile(second.c_str(), read));
  EXPECT_EQ(ReadFileBytes(second), ReadFileBytes(first));
}

TEST(MacroFile, HostileFilesAreRefusedWithTheirMessageAndChangeNothing) {
  TempFolder temp(L"macro file");
  const std::string good = kPressAndReleaseAFile;
  struct Case {
    const char* name;
    std::string bytes;
    MacroFileVerdict verdict;
    int text;
  };
  const Case cases[] = {
      {"empty", "", MacroFileVerdict::kNotXml, 344},
      {"cut inside the declaration", good.substr(0, 20), MacroFileVerdict::kNotXml, 344},
      {"cut inside macroinfo", good.substr(0, good.find("times")), MacroFileVerdict::kNotXml, 344},
      {"cut inside the items", good.substr(0, good.find("<item") + 30), MacroFileVerdict::kNotXml, 344},
      {"cut before the root's end", good.substr(0, good.find("</macro>") + 3), MacroFileVerdict::kNotXml, 344},
      {"not XML", "name=M 1; events=2\r\n", MacroFileVerdict::kNotXml, 344},
      {"another root", "<profile><macro><macroinfo name=\"x\"/></macro></profile>", MacroFileVerdict::kNoMacro, 344},
      {"over 1 MiB", ManyEventsFile(2 * 1024 * 1024 / 53), MacroFileVerdict::kUnreadable, 344},
      {"more events than the keyboard holds", ManyEventsFile(600), MacroFileVerdict::kTooManyEvents, 361},
  };
  for (const Case& c : cases) {
    const std::wstring path = WriteFileBytes(temp.Path() + L"hostile.xml", Bytes(c.bytes));
    MacroFileContent out = PressAndReleaseA();
    EXPECT_EQ(ReadMacroFile(path.c_str(), kMacroAreaEvents, out), c.verdict) << c.name;
    EXPECT_EQ(MacroFileRefusalText(c.verdict), c.text) << c.name;
    EXPECT_STREQ(out.macro.name, L"M 1") << c.name << ": the macro must stay untouched";
    EXPECT_EQ(out.events.size(), 2u) << c.name;
  }
  MacroFileContent out;
  EXPECT_EQ(ReadMacroFile((temp.Path() + L"missing.xml").c_str(), kMacroAreaEvents, out),
            MacroFileVerdict::kUnreadable);
  EXPECT_EQ(ReadMacroFile(temp.MakeSubFolder(L"folder.xml").c_str(), kMacroAreaEvents, out),
            MacroFileVerdict::kUnreadable);
}

TEST(MacroFile, EventsAreRefusedOnlyBeyondTheRoomLeftOnTheKeyboard) {
  XmlDocument doc;
  BuildMacroDocument(PressAndReleaseA(), doc);
  MacroFileContent out;
  EXPECT_EQ(ReadMacroDocument(doc, 1, out), MacroFileVerdict::kTooManyEvents);
  EXPECT_TRUE(out.events.empty());
  EXPECT_EQ(ReadMacroDocument(doc, 2, out), MacroFileVerdict::kAccepted);
  EXPECT_EQ(out.events.size(), 2u);
}

TEST(MacroFile, ForeignValuesAreAcceptedAsTheyStand) {
  TempFolder temp(L"macro file");
  std::wstring longName;
  while (longName.size() < 300) longName += L"..\\x:";
  longName.resize(300);
  struct Case {
    const char* name;
    std::wstring text;
    std::wstring macroName;
    int times, type, delay;
    std::vector<int> values;
  };
  const Case cases[] = {
      {"times without digits", L"<macro><macroinfo name=\"t\" times=\"x\" type=\"2\" delaytime=\"7ms\"/></macro>", L"t", 0,
       2, 7, {}},
      {"no macroitems", L"<macro><macroinfo name=\"n\" times=\"5\"/></macro>", L"n", 5, 0, 0, {}},
      {"no macroinfo", L"<macro><macroitems><item value=\"9\"/></macroitems></macro>", L"", 0, 0, 0, {9}},
      {"a long name with path characters",
       L"<macro><macroinfo name=\"" + longName + L"\" times=\"1\"/><macroitems/></macro>", longName, 1, 0, 0, {}},
      {"numbers beyond 32 bits saturate",
       L"<macro><macroinfo times=\"99999999999\" type=\"-99999999999\" delaytime=\"-4\"/></macro>", L"", INT_MAX,
       INT_MIN, -4, {}},
      {"other elements among the items are passed over",
       L"<macro><macroitems><note value=\"1\"/><item value=\"2\"/><item value=\"3\"/></macroitems></macro>", L"", 0, 0,
       0, {2, 3}},
  };
  for (const Case& c : cases) {
    XmlDocument doc(c.text.c_str());
    MacroFileContent out;
    ASSERT_EQ(ReadMacroDocument(doc, kMacroAreaEvents, out), MacroFileVerdict::kAccepted) << c.name;
    EXPECT_EQ(std::wstring(out.macro.name), c.macroName) << c.name;
    EXPECT_EQ(out.macro.play_times, c.times) << c.name;
    EXPECT_EQ(out.macro.delay_type, c.type) << c.name;
    EXPECT_EQ(out.macro.delay_time, c.delay) << c.name;
    std::vector<int> values;
    for (const MACRO_RECORD& event : out.events) values.push_back(event.value);
    EXPECT_EQ(values, c.values) << c.name;
  }
  // Reading a name that looks like a path creates nothing on disk.
  const std::wstring path = temp.Path() + L"long.xml";
  XmlDocument doc(cases[3].text.c_str());
  ASSERT_TRUE(doc.WriteToFile(path.c_str(), false));
  MacroFileContent out;
  ASSERT_EQ(ReadMacroFile(path.c_str(), kMacroAreaEvents, out), MacroFileVerdict::kAccepted);
  EXPECT_EQ(testsupport::ListTree(temp.Path()), std::vector<std::wstring>{L"long.xml"});
}

}  // namespace
