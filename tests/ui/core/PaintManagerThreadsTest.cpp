// Work handed to the window's thread: calls posted from another thread run there, in order,
// and never after the window is gone.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "MessagePump.h"
#include "PaintProbe.h"
#include "ProbeControl.h"
#include "ProgramInstance.h"
#include "ui/core/PaintManager.h"

using TESK::PaintManager;

namespace {

class PaintManagerThreadsTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(nullptr, host.Create(nullptr, L"threads", WS_POPUP, 0, CRect(0, 0, 100, 100)));
  }
  void TearDown() override { host.DestroyWindow(); }

  testsupport::ProgramInstance instance;
  testsupport::PaintHost host;
};

TEST_F(PaintManagerThreadsTest, CallsPostedFromAnotherThreadRunOnTheWindowsThreadInOrder) {
  constexpr int kCalls = 10000;
  PaintManager& engine = host.engine;
  const DWORD windowThread = GetCurrentThreadId();
  std::vector<int> ran;
  int elsewhere = 0;
  std::atomic<int> refused{0};
  std::atomic<bool> posterOnWindowThread{true};
  std::thread poster([&] {
    posterOnWindowThread = engine.IsWindowThread();
    for (int i = 0; i < kCalls; ++i) {
      const bool posted = engine.PostCallable([&ran, &elsewhere, windowThread, i] {
        if (GetCurrentThreadId() != windowThread) ++elsewhere;
        ran.push_back(i);
      });
      if (!posted) ++refused;
    }
  });
  const bool all = testsupport::PumpUntil([&] { return ran.size() == static_cast<size_t>(kCalls); }, 20000);
  poster.join();
  ASSERT_TRUE(all) << ran.size() << " of " << kCalls << " ran";
  EXPECT_EQ(0, refused.load());
  EXPECT_EQ(0, elsewhere);
  EXPECT_TRUE(engine.IsWindowThread());
  EXPECT_FALSE(posterOnWindowThread.load());
  for (int i = 0; i < kCalls; ++i) {
    if (ran[i] != i) {
      ADD_FAILURE() << "call " << ran[i] << " ran in place " << i;
      break;
    }
  }
  EXPECT_FALSE(engine.PostCallable(nullptr)) << "an empty call is refused";
}

TEST_F(PaintManagerThreadsTest, NothingRunsAfterTheWindowIsGoneAndNothingIsKept) {
  PaintManager& engine = host.engine;
  // Each call holds a share of token: a call dropped unrun must still let go of it.
  auto token = std::make_shared<int>(0);
  int runs = 0;
  const auto call = [token, &runs] { ++runs; };
  const long held = token.use_count();  // the test's and call's own
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(engine.PostCallable(call));
  EXPECT_EQ(held + 100, token.use_count());
  host.DestroyWindow();  // before the queue was pumped
  testsupport::PumpFor(50);
  EXPECT_EQ(0, runs) << "queued calls are dropped with the window";
  EXPECT_EQ(held, token.use_count());

  EXPECT_FALSE(engine.PostCallable(call));
  bool postedFromThread = true;
  std::thread([&] { postedFromThread = engine.PostCallable(call); }).join();
  EXPECT_FALSE(postedFromThread);
  testsupport::PumpFor(50);
  EXPECT_EQ(0, runs);
  EXPECT_EQ(held, token.use_count()) << "a refused call is not kept";
  EXPECT_TRUE(engine.IsWindowThread()) << "without a window any thread is the window's";
}

// A call that posts again runs on a later turn of the message loop, so it cannot starve it;
// a call may destroy the window, and the calls after it then never run.
TEST_F(PaintManagerThreadsTest, CallsPostedByCallsRunLaterAndAWindowClosedByACallStopsTheRest) {
  PaintManager& engine = host.engine;
  std::vector<int> ran;
  ASSERT_TRUE(engine.PostCallable([&] {
    ran.push_back(1);
    engine.PostCallable([&] { ran.push_back(3); });
  }));
  ASSERT_TRUE(engine.PostCallable([&] { ran.push_back(2); }));
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ran.size() == 3; }, 2000));
  EXPECT_EQ((std::vector<int>{1, 2, 3}), ran);

  ran.clear();
  ASSERT_TRUE(engine.PostCallable([&] {
    ran.push_back(1);
    host.DestroyWindow();
  }));
  ASSERT_TRUE(engine.PostCallable([&] { ran.push_back(2); }));
  testsupport::PumpFor(100);
  EXPECT_EQ(std::vector<int>{1}, ran);
}

// Ticks tell their thread apart from the window's.
TEST_F(PaintManagerThreadsTest, TickHandlersRunOnTheTickThread) {
  PaintManager& engine = host.engine;
  auto* ticking = new testsupport::TickCounter(&host, 1, CRect(0, 0, 10, 10));
  host.engine.AttachControl(1, ticking);
  ticking->SetRunTimer(1);
  ticking->AddMTimer();
  std::atomic<int> onTickThread{0};
  std::atomic<int> onWindowThread{0};
  ticking->onTick = [&] {
    if (PaintManager::IsTickThread()) ++onTickThread;
    if (engine.IsWindowThread()) ++onWindowThread;
  };
  EXPECT_FALSE(PaintManager::IsTickThread());
  engine.SetMTimer(1);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return onTickThread.load() >= 3; }, 2000));
  engine.KillMTimer();
  EXPECT_EQ(0, onWindowThread.load());
}

}  // namespace
