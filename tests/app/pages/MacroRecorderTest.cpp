// Recording a macro from synthesised hook events at set times: rows, delays in the three delay
// modes, the 31-second cap, held keys, the modifiers' stored codes and the budget.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/pages/MacroRecorder.h"

namespace {

struct Key {
  DWORD vk;
  bool down;
  long long at;  // ms
};

struct Row {
  int kind, code, delay;
  bool operator==(const Row& other) const {
    return kind == other.kind && code == other.code && delay == other.delay;
  }
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
  return out << "(" << row.kind << ", " << row.code << ", " << row.delay << ")";
}

KBDLLHOOKSTRUCT HookRecord(DWORD vk, bool down) {
  KBDLLHOOKSTRUCT event = {};
  event.vkCode = vk;
  event.scanCode = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  event.flags = down ? 0 : LLKHF_UP;
  return event;
}

// Feeds the keys to a recording as the page does: decode, record, apply the step to the list.
std::vector<Row> RecordKeys(MacroRecorder& recorder, const std::vector<Key>& keys, std::vector<CString>* names = nullptr) {
  std::vector<Row> rows;
  for (const Key& key : keys) {
    const KBDLLHOOKSTRUCT event = HookRecord(key.vk, key.down);
    MACRO_EVENT decoded;
    if (!recorder.DecodeHookInput(key.down ? WM_KEYDOWN : WM_KEYUP, &event, decoded)) continue;
    const RecordedStep step = recorder.Record(decoded, key.at);
    if (!step.append) continue;
    if (step.previousDelay != 0 && !rows.empty()) rows.back().delay = step.previousDelay;
    rows.push_back({step.kind, step.code, 0});
    if (names) names->push_back(step.name);
  }
  return rows;
}

TEST(MacroRecorder, EventsBecomeRowsWithTheDelayOfTheWaitAfterThem) {
  struct Case {
    const char* name;
    int mode, fixed;
    std::vector<Key> keys;
    std::vector<Row> rows;
  };
  const Case cases[] = {
      {"A pressed and released 250 ms apart", kDelayRecorded, 10,
       {{'A', true, 1000}, {'A', false, 1250}},
       {{2, 'A', 250}, {3, 'A', 0}}},
      {"a 40 s pause records 31000", kDelayRecorded, 10,
       {{'A', true, 1000}, {'A', false, 1100}, {'B', true, 41100}, {'B', false, 41150}},
       {{2, 'A', 100}, {3, 'A', 31000}, {2, 'B', 50}, {3, 'B', 0}}},
      {"a clock that went back records 31000", kDelayRecorded, 10,
       {{'A', true, 5000}, {'A', false, 4000}},
       {{2, 'A', 31000}, {3, 'A', 0}}},
      {"a held key is one press and one release", kDelayRecorded, 10,
       {{'A', true, 1000}, {'A', true, 1030}, {'A', true, 1060}, {'A', true, 1090}, {'A', false, 1500}},
       {{2, 'A', 500}, {3, 'A', 0}}},
      {"fixed delay 0 leaves every delay 0", kDelayFixed, 0,
       {{'A', true, 1000}, {'A', false, 1250}, {'B', true, 1300}},
       {{2, 'A', 0}, {3, 'A', 0}, {2, 'B', 0}}},
      {"fixed delay 40", kDelayFixed, 40,
       {{'A', true, 1000}, {'A', false, 1250}, {'B', true, 9000}},
       {{2, 'A', 40}, {3, 'A', 40}, {2, 'B', 0}}},
      {"no delays", kDelayNone, 10,
       {{'A', true, 1000}, {'A', false, 1250}, {'B', true, 9000}},
       {{2, 'A', 0}, {3, 'A', 0}, {2, 'B', 0}}},
      {"Shift+1 stores Shift as its usage", kDelayRecorded, 10,
       {{VK_LSHIFT, true, 100}, {'1', true, 110}, {'1', false, 130}, {VK_LSHIFT, false, 160}},
       {{2, 225, 10}, {2, '1', 20}, {3, '1', 30}, {3, 225, 0}}},
  };
  for (const Case& c : cases) {
    MacroRecorder recorder;
    recorder.Start(c.mode, c.fixed, 100);
    EXPECT_EQ(RecordKeys(recorder, c.keys), c.rows) << c.name;
  }
}

TEST(MacroRecorder, ModifiersAndKeysWithoutAStableNameGetFixedCaptionsAndCodes) {
  const struct {
    DWORD vk;
    const wchar_t* caption;
    int code;
  } cases[] = {
      {VK_LSHIFT, L"Shift", 225},     {VK_RSHIFT, L"RShift", 229}, {VK_LCONTROL, L"Ctrl", 224},
      {VK_RCONTROL, L"RCtrl", 228},   {VK_LMENU, L"Alt", 226},     {VK_RMENU, L"RAlt", 230},
      {VK_LWIN, L"Windows", 227},     {VK_RWIN, L"RWindows", 231}, {VK_APPS, L"Application", VK_APPS},
      {VK_SNAPSHOT, L"Print Screen", VK_SNAPSHOT},                 {VK_PAUSE, L"Pause", VK_PAUSE},
      {VK_VOLUME_UP, L"Vol Up", VK_VOLUME_UP},                     {VK_LAUNCH_APP2, L"Calculator", VK_LAUNCH_APP2},
  };
  for (const auto& c : cases) {
    MacroRecorder recorder;
    const KBDLLHOOKSTRUCT event = HookRecord(c.vk, true);
    MACRO_EVENT decoded;
    ASSERT_TRUE(recorder.DecodeHookInput(WM_SYSKEYDOWN, &event, decoded)) << c.vk;
    EXPECT_STREQ(decoded.name, c.caption) << c.vk;
    EXPECT_EQ(decoded.code, c.code) << c.vk;
  }
  // The generic Shift is the same held key as the left one.
  MacroRecorder recorder;
  MACRO_EVENT decoded;
  const KBDLLHOOKSTRUCT generic = HookRecord(VK_SHIFT, true);
  const KBDLLHOOKSTRUCT left = HookRecord(VK_LSHIFT, true);
  ASSERT_TRUE(recorder.DecodeHookInput(WM_KEYDOWN, &generic, decoded));
  EXPECT_EQ(decoded.code, 225);
  ASSERT_TRUE(recorder.DecodeHookInput(WM_KEYDOWN, &left, decoded));
  EXPECT_EQ(decoded.kind, kEventRepeat);
}

TEST(MacroRecorder, OnlyKeyMessagesWithARecordAreDecoded) {
  MacroRecorder recorder;
  const KBDLLHOOKSTRUCT event = HookRecord('A', true);
  MACRO_EVENT decoded;
  EXPECT_FALSE(recorder.DecodeHookInput(WM_MOUSEMOVE, &event, decoded));
  EXPECT_FALSE(recorder.DecodeHookInput(WM_KEYDOWN, nullptr, decoded));
  // Neither counted as a press: the real press is no repeat.
  ASSERT_TRUE(recorder.DecodeHookInput(WM_KEYDOWN, &event, decoded));
  EXPECT_EQ(decoded.kind, kEventKey);
}

TEST(MacroRecorder, ANewRecordingForgetsKeysHeldWhenTheLastOneEnded) {
  MacroRecorder recorder;
  recorder.Start(kDelayRecorded, 10, 100);
  RecordKeys(recorder, {{'A', true, 1000}});
  recorder.Stop();
  recorder.Start(kDelayRecorded, 10, 100);
  EXPECT_EQ(RecordKeys(recorder, {{'A', true, 5000}, {'A', false, 5100}}),
            (std::vector<Row>{{2, 'A', 100}, {3, 'A', 0}}));
}

TEST(MacroRecorder, TheBudgetIsPassedWithTheFirstRowBeyondIt) {
  MacroRecorder recorder;
  recorder.Start(kDelayRecorded, 10, 3);
  EXPECT_FALSE(recorder.IsOverBudget(3));
  EXPECT_TRUE(recorder.IsOverBudget(4));
}

TEST(MacroRecorder, TheClockIsInMilliseconds) {
  const long long before = MacroRecorder::NowMs();
  Sleep(200);
  const long long elapsed = MacroRecorder::NowMs() - before;
  EXPECT_GE(elapsed, 150);
  EXPECT_LT(elapsed, 2000);
}

}  // namespace
