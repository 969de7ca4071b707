// The fixture of the tests that run the real program with one simulated keyboard behind the
// control channel (SimChannel): the program's copy and its keyboard's state file in a scratch
// folder of the test, the start and the exit, and what the program's store and the keyboard's
// key maps hold. Used on the test's thread; every wait is bounded.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProgramHarness.h"
#include "SimChannel.h"
#include "TempFolder.h"

namespace testsupport {

class ProgramKeyboardTest : public testing::Test {
 protected:
  static constexpr DWORD kWaitMs = 15000;

  // folderLabel names the scratch folder; model is the plugged keyboard's.
  ProgramKeyboardTest(const wchar_t* folderLabel, int model);
  void SetUp() override;

  // Starts the program and waits for its window, the channel and its keyboard (`keyboard`).
  // Fatal failures when one does not come.
  void StartProgram();
  // Closes the program's window and waits for the process to end.
  void StopProgram();
  // Waits until the keyboard has heard nothing for a second: the worker is done.
  bool Quiet();

  // A key's stored function on a layer of profile 1 as "kind value \"caption\""; "" while there is
  // no store or no single row.
  std::string Stored(int layer, int code);
  // The entry index of a key: where layer 0 of the keyboard's factory map holds the key itself.
  int IndexOf(int code);
  // A key's three-byte entry in the keyboard's key map of a layer, as hex.
  std::string Entry(int layer, int code);

  TempFolder folder;
  SimChannel channel;
  ProgramHarness program;
  const int model;
  int keyboard = 0;
};

}  // namespace testsupport
