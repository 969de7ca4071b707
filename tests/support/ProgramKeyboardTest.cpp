#include "ProgramKeyboardTest.h"

#include "RawDb.h"

namespace testsupport {

ProgramKeyboardTest::ProgramKeyboardTest(const wchar_t* folderLabel, int keyboardModel)
    : folder(folderLabel), model(keyboardModel) {}

void ProgramKeyboardTest::SetUp() {
  program.SetKeyboards(std::to_string(model));
  program.AddEnvironment(channel.Environment(folder.Path() + L"keyboards.state"));
}

void ProgramKeyboardTest::StartProgram() {
  const int instance = program.Start();
  ASSERT_GE(instance, 0);
  ASSERT_NE(nullptr, program.WaitForWindow(kWaitMs, instance));
  ASSERT_TRUE(channel.Connect(kWaitMs));
  keyboard = channel.KeyboardId(model);
  ASSERT_NE(0, keyboard);
}

void ProgramKeyboardTest::StopProgram() {
  channel.Disconnect();
  ASSERT_TRUE(program.Post(WM_CLOSE));
  ASSERT_TRUE(program.WaitForExit(5000).has_value());
}

bool ProgramKeyboardTest::Quiet() { return channel.WaitQuiet(1000, kWaitMs); }

std::string ProgramKeyboardTest::Stored(int layer, int code) {
  const auto files = program.DatabaseFiles();
  if (files.empty()) return "";
  RawDb db(files[0]);
  const auto rows = db.Rows(
      "SELECT macro_type, macro_value, macro_desc FROM t_key_macro_data WHERE profile = 1 "
      "AND fn_layer = " +
      std::to_string(layer) + " AND key_code = " + std::to_string(code));
  return rows.size() == 1 ? rows[0][0] + " " + rows[0][1] + " \"" + rows[0][2] + "\"" : "";
}

int ProgramKeyboardTest::IndexOf(int code) {
  const simkb::Bytes factory = channel.ReadArea(keyboard, "factory-maps", 0, 512);
  for (size_t i = 0; i + 2 < factory.size(); i += 3) {
    if (factory[i] == 0x10 && factory[i + 1] == 0 && factory[i + 2] == code) return static_cast<int>(i / 3);
  }
  return -1;
}

std::string ProgramKeyboardTest::Entry(int layer, int code) {
  return simkb::ToHex(channel.ReadArea(keyboard, "keymaps", static_cast<size_t>(layer) * 512 + 3 * IndexOf(code), 3));
}

}  // namespace testsupport
