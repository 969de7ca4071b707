#include "ui/core/MTimer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "MessagePump.h"

using namespace TESK;

namespace {

// Objects whose destructor has not finished yet; a tick reaching any other object is a
// tick that outlived the object it was delivered to.
std::mutex g_liveLock;
std::set<const void*> g_live;
std::atomic<int> g_ticksAfterDeath{0};

// Counts the ticks of both kinds per timer id.
class RecordingTimer : public MTimer {
public:
  RecordingTimer() {
    std::lock_guard<std::mutex> lock(g_liveLock);
    g_live.insert(this);
  }
  ~RecordingTimer() {
    KillTimer();
    std::lock_guard<std::mutex> lock(g_liveLock);
    g_live.erase(this);
  }
  void OnMTimer(UINT id) override {
    CheckAlive();
    std::lock_guard<std::mutex> lock(m_countLock);
    ++m_plain[id];
  }
  void OnMTimer(UINT id, CString name) override {
    CheckAlive();
    std::lock_guard<std::mutex> lock(m_countLock);
    ++m_app[id];
    m_names[id] = name;
  }
  int Plain(UINT id) { std::lock_guard<std::mutex> lock(m_countLock); return m_plain[id]; }
  int App(UINT id) { std::lock_guard<std::mutex> lock(m_countLock); return m_app[id]; }
  CString Name(UINT id) { std::lock_guard<std::mutex> lock(m_countLock); return m_names[id]; }

private:
  // Checks at the start and at the end of a slow handler, so that a tick still running
  // while its object goes is seen.
  void CheckAlive() {
    for (int pass = 0; pass < 2; ++pass) {
      {
        std::lock_guard<std::mutex> lock(g_liveLock);
        if (!g_live.count(this)) ++g_ticksAfterDeath;
      }
      if (pass == 0) Sleep(1);
    }
  }
  std::mutex m_countLock;
  std::map<UINT, int> m_plain, m_app;
  std::map<UINT, CString> m_names;
};

TEST(MTimerTest, ApplicationTimersDeliverBothTicksOthersOnlyThePlainOne) {
  RecordingTimer timer;
  const UINT app = timer.SetTimer(5, L"anim", 1);
  const UINT plain = timer.SetTimer(5, L"poll", 0);
  ASSERT_NE(0u, app);
  ASSERT_NE(0u, plain);
  ASSERT_TRUE(testsupport::PumpUntil([&] { return timer.App(app) >= 3 && timer.Plain(plain) >= 3; }, 5000))
      << "app ticks " << timer.App(app) << ", plain ticks " << timer.Plain(plain);
  timer.KillTimer();
  EXPECT_GE(timer.Plain(app), timer.App(app));
  EXPECT_STREQ(L"anim", timer.Name(app));
  EXPECT_EQ(0, timer.App(plain));
}

TEST(MTimerTest, TableKeepsEntriesInOrderAndKillsTheFirstMatch) {
  RecordingTimer timer, other;
  const UINT first = timer.SetTimer(1000, L"a", 0);
  const UINT second = timer.SetTimer(1000, L"a", 1);
  const UINT refused = timer.SetTimer(0, L"zero", 0);
  EXPECT_EQ(0u, refused) << "a zero period is refused";
  EXPECT_EQ(1, timer.GetTimerIsRun(0u)) << "a refused timer still leaves an entry";
  EXPECT_EQ(&timer, MTimer::GetMTimer(second));
  EXPECT_EQ(nullptr, MTimer::GetMTimer(0x7FFFFFF0u));
  EXPECT_EQ(0, timer.IsAppTimer(first));
  EXPECT_EQ(1, timer.IsAppTimer(second));

  // Nothing matches: nothing changes.
  EXPECT_EQ(3, timer.KillTimer(0x7FFFFFF0u));
  EXPECT_EQ(3, timer.KillTimer(CString(L"A")));
  EXPECT_EQ(0, other.KillTimer(first));
  EXPECT_EQ(1, timer.GetTimerIsRun(first)) << "another object's kill leaves it";
  EXPECT_STREQ(L"", timer.GetTimerName(0x7FFFFFF0u));
  EXPECT_EQ(0, timer.IsAppTimer(0x7FFFFFF0u));

  EXPECT_EQ(2, timer.KillTimer(CString(L"a")));
  EXPECT_EQ(0, timer.GetTimerIsRun(first));
  EXPECT_EQ(1, timer.GetTimerIsRun(second));
  EXPECT_EQ(1, timer.GetTimerIsRun(CString(L"a")));
  EXPECT_EQ(1, timer.KillTimer(0u));
  EXPECT_EQ(0, timer.KillTimer(second));
  EXPECT_EQ(nullptr, MTimer::GetMTimer(second));
}

TEST(MTimerTest, ResolutionIsRaisedWhileAnyTimerRuns) {
  ASSERT_EQ(0, MTimer::m_bIsTmierOK) << "no timer runs between tests";
  auto a = std::make_unique<RecordingTimer>();
  auto b = std::make_unique<RecordingTimer>();
  a->SetTimer(50, L"", 0);
  ASSERT_EQ(1, MTimer::m_bIsTmierOK);
  const UINT accuracy = MTimer::m_uAccuracy;
  EXPECT_GE(accuracy, 1u);
  b->SetTimer(50, L"", 0);
  b->SetTimer(50, L"", 0);
  EXPECT_EQ(accuracy, MTimer::m_uAccuracy);
  a.reset();
  EXPECT_EQ(1, MTimer::m_bIsTmierOK) << "b's timers still run";
  b->KillTimer();
  EXPECT_EQ(0, MTimer::m_bIsTmierOK) << "the last timer gives the resolution back";
  b->SetTimer(50, L"", 0);
  EXPECT_EQ(1, MTimer::m_bIsTmierOK) << "raised again for a new timer";
}

TEST(MTimerTest, ObjectsWithFastTimersAreDestroyedWhileTicksArrive) {
  for (int i = 0; i < 300; ++i) {
    auto timer = std::make_unique<RecordingTimer>();
    const UINT id = timer->SetTimer(1, L"fast", 1);
    ASSERT_NE(0u, id);
    if (i % 10 == 0) {
      ASSERT_TRUE(testsupport::PumpUntil([&] { return timer->Plain(id) > 0; }, 2000)) << "no tick at round " << i;
    }
  }
  EXPECT_EQ(0, g_ticksAfterDeath.load());
  EXPECT_EQ(0, MTimer::m_bIsTmierOK);
}

}  // namespace
