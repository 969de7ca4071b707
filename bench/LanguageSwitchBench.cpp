// Benchmark (not a test): the language switch of the real main window (the page fixture) with
// the simulated Lynt 80 connected and the shipped language files. Times ApplyLanguageTexts
// from English to Simplified Chinese and back, which runs on the window's thread and holds
// it meanwhile, and one text lookup for comparison (every lookup reads the file again).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "MainWindowFixture.h"
#include "app/Language.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

class LanguageSwitchBench : public testsupport::MainWindowFixture {
 public:
  void TestBody() override {}

  void Run() {
    SetUp();
    Connected();
    Settle();
    // The worker is stopped, so that its refreshes do not share the window's thread.
    StopAndDrain();
    KeyboardDlg& dlg = *m_dlg;

    constexpr int kRuns = 20;
    double toChinese = 0, toEnglish = 0;
    for (int run = 0; run < kRuns; ++run) {
      CurrentLanguage = 2052;
      Clock::time_point start = Clock::now();
      dlg.ApplyLanguageTexts();
      toChinese += Ms(start);
      CurrentLanguage = 1033;
      start = Clock::now();
      dlg.ApplyLanguageTexts();
      toEnglish += Ms(start);
    }
    constexpr int kLookups = 1000;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kLookups; ++i) LoadLanString(L"KB.DIALOG", 500 + i % 100);
    const double lookup = Ms(start) / kLookups;

    std::printf("ApplyLanguageTexts, English to Chinese: %.2f ms\n", toChinese / kRuns);
    std::printf("ApplyLanguageTexts, Chinese to English: %.2f ms\n", toEnglish / kRuns);
    std::printf("one text lookup (the file read again): %.3f ms\n", lookup);
    TearDown();
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  LanguageSwitchBench bench;
  bench.Run();
  return 0;
}
