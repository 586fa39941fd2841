#include "ui/base/animation_timer_manager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "tests/ui/base/fake_animation_timer_platform.h"

namespace {

using pexo_test::FakeAnimationClock;

TEST(AnimationTimerManagerTest, TimerSwitchesBetweenShortLongAndIdle) {
  FakeAnimationClock clock;
  auto& m = clock.manager;
  nbase::WeakCallbackFlag owner;
  int runs = 0;

  EXPECT_EQ(m.timer_id(), 0u);
  EXPECT_TRUE(m.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 5000, 1));
  EXPECT_NE(m.timer_id(), 0u);
  EXPECT_TRUE(m.is_short_timer());
  EXPECT_EQ(clock.last_period(), 16u);

  // Five seconds away: the short timer gives way to one periodic timer of 5002 ms.
  const uint32_t short_id = m.timer_id();
  clock.Advance(0);
  EXPECT_FALSE(m.is_short_timer());
  EXPECT_EQ(clock.last_period(), 5002u);
  EXPECT_EQ(clock.state->killed.back(), short_id);

  // A task added during the long wait brings the short timer back.
  m.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 20, 1);
  EXPECT_TRUE(m.is_short_timer());
  EXPECT_EQ(clock.last_period(), 16u);

  clock.Advance(20);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(m.is_short_timer());  // the remaining task is seconds away again
  clock.Advance(5000);
  EXPECT_EQ(runs, 2);

  // Nothing left: the timer is killed and the next task starts the short timer again.
  EXPECT_EQ(m.task_count(), 0u);
  EXPECT_EQ(m.timer_id(), 0u);
  m.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 1, 1);
  EXPECT_NE(m.timer_id(), 0u);
  EXPECT_EQ(clock.last_period(), 16u);
}

TEST(AnimationTimerManagerTest, WaitsBeyondTheLongestTimerStillFire) {
  // Wine refuses periods above 65 535 ms; a task 100 s away must fire anyway.
  FakeAnimationClock clock;
  auto& m = clock.manager;
  nbase::WeakCallbackFlag owner;
  int runs = 0;
  m.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 100000, 1);

  clock.Advance(0);
  EXPECT_NE(m.timer_id(), 0u);
  EXPECT_EQ(clock.last_period(), 65535u);
  clock.Advance(65535);
  EXPECT_EQ(runs, 0);
  EXPECT_NE(m.timer_id(), 0u);
  EXPECT_EQ(clock.last_period(), 34467u);  // 34 465 ms left, plus the 2 ms allowance
  clock.Advance(34465);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(m.timer_id(), 0u);
}

TEST(AnimationTimerManagerTest, RealTimerAcceptsTheLongWait) {
  auto& m = ui::AnimationTimerManager::Instance();
  nbase::WeakCallbackFlag owner;
  bool ran = false;
  m.AddTask(owner.GetWeakFlag(), [&] { ran = true; }, 100000, 1);
  m.Poll();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(m.is_short_timer());
  EXPECT_NE(m.timer_id(), 0u) << "the platform refused the long timer";
  owner.Cancel();
}

TEST(AnimationTimerManagerTest, RepeatCounts) {
  struct Case {
    int repeat;
    int expected_runs;
  };
  for (const Case& c : {Case{3, 3}, Case{2, 2}, Case{1, 1}, Case{0, 1}, Case{-5, 1}}) {
    FakeAnimationClock clock;
    nbase::WeakCallbackFlag owner;
    int runs = 0;
    clock.manager.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 10, c.repeat);
    for (int i = 0; i < 10; ++i) clock.Advance(16);
    EXPECT_EQ(runs, c.expected_runs) << "repeat " << c.repeat;
    EXPECT_EQ(clock.manager.task_count(), 0u);
  }
}

TEST(AnimationTimerManagerTest, EndlessTaskRunsOncePerPollUntilItsFlagGoes) {
  FakeAnimationClock clock;
  auto owner = std::make_unique<nbase::WeakCallbackFlag>();
  int runs = 0;
  clock.manager.AddTask(owner->GetWeakFlag(), [&] { ++runs; }, 1, -1);
  for (int i = 0; i < 5; ++i) clock.Advance(16);
  EXPECT_EQ(runs, 5);

  owner.reset();
  clock.Advance(16);
  EXPECT_EQ(runs, 5);
  EXPECT_EQ(clock.manager.task_count(), 0u);
  EXPECT_EQ(clock.manager.timer_id(), 0u);
}

TEST(AnimationTimerManagerTest, ZeroIntervalRepeatDoesNotSpinWithinOnePoll) {
  FakeAnimationClock clock;
  nbase::WeakCallbackFlag owner;
  int runs = 0;
  clock.manager.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 0, -1);
  clock.Advance(0);
  EXPECT_EQ(runs, 1);
  clock.Advance(1);
  EXPECT_EQ(runs, 2);
  owner.Cancel();
}

TEST(AnimationTimerManagerTest, EmptyCallbackIsSkippedAndTheTaskStillEnds) {
  FakeAnimationClock clock;
  auto& m = clock.manager;
  nbase::WeakCallbackFlag owner;
  int runs = 0;
  m.AddTask(owner.GetWeakFlag(), std::function<void()>(), 1, 2);
  m.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 1, 1);
  clock.Advance(1);
  EXPECT_EQ(runs, 1);
  clock.Advance(1);
  EXPECT_EQ(m.task_count(), 0u);
  EXPECT_EQ(m.timer_id(), 0u);
}

TEST(AnimationTimerManagerTest, CancelledTaskNeverRunsAndIsDroppedWhenDue) {
  FakeAnimationClock clock;
  nbase::WeakCallbackFlag owner;
  bool ran = false;
  clock.manager.AddTask(owner.GetWeakFlag(), [&] { ran = true; }, 100, 1);
  owner.Cancel();
  clock.Advance(50);
  EXPECT_EQ(clock.manager.task_count(), 1u);
  clock.Advance(50);
  EXPECT_FALSE(ran);
  EXPECT_EQ(clock.manager.task_count(), 0u);

  // A task bound after the cancel works.
  clock.manager.AddTask(owner.GetWeakFlag(), [&] { ran = true; }, 10, 1);
  clock.Advance(10);
  EXPECT_TRUE(ran);
}

TEST(AnimationTimerManagerTest, DueTasksRunInDueOrderAndMayQueueMore) {
  FakeAnimationClock clock;
  auto& m = clock.manager;
  nbase::WeakCallbackFlag owner;
  std::vector<int> order;
  m.AddTask(owner.GetWeakFlag(), [&] { order.push_back(3); }, 30, 1);
  m.AddTask(owner.GetWeakFlag(), [&] { order.push_back(1); }, 10, 1);
  m.AddTask(owner.GetWeakFlag(), [&] {
    order.push_back(2);
    m.AddTask(owner.GetWeakFlag(), [&] { order.push_back(4); }, 5, 1);
  }, 20, 1);
  clock.Advance(40);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  clock.Advance(5);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

TEST(AnimationTimerManagerTest, RepeatIsTimedFromThePollNotTheOldDueTime) {
  FakeAnimationClock clock;
  nbase::WeakCallbackFlag owner;
  int runs = 0;
  clock.manager.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 100, -1);
  clock.Advance(250);  // late: runs once, next due at 350, not 200
  EXPECT_EQ(runs, 1);
  clock.Advance(99);
  EXPECT_EQ(runs, 1);
  clock.Advance(1);
  EXPECT_EQ(runs, 2);
  owner.Cancel();
}

TEST(AnimationTimerManagerTest, FailedTimerStartIsRetriedByTheNextTask) {
  FakeAnimationClock clock;
  nbase::WeakCallbackFlag owner;
  clock.state->fail_starts = true;
  clock.manager.AddTask(owner.GetWeakFlag(), [] {}, 10, 1);
  EXPECT_EQ(clock.manager.timer_id(), 0u);
  clock.state->fail_starts = false;
  clock.manager.AddTask(owner.GetWeakFlag(), [] {}, 10, 1);
  EXPECT_NE(clock.manager.timer_id(), 0u);
}

// The process-wide manager: a message-only window of its class, fed by the real
// multimedia timer through the thread's message loop.
TEST(AnimationTimerManagerTest, MultimediaTimerPollsThroughTheMessageWindow) {
  auto& m = ui::AnimationTimerManager::Instance();
  ASSERT_NE(m.window(), nullptr);
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, L"UI_ANIMATION_TIMERMANAGER_H_", nullptr), m.window());
  EXPECT_EQ(SendMessageW(m.window(), 11023, 0, 0), 1);

  nbase::WeakCallbackFlag owner;
  int runs = 0;
  m.AddTask(owner.GetWeakFlag(), [&] { ++runs; }, 20, 3);
  const DWORD give_up = GetTickCount() + 5000;
  MSG msg;
  while (runs < 3 && GetTickCount() < give_up) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(1);
  }
  EXPECT_EQ(runs, 3);
}

}  // namespace
