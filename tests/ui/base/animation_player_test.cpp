#include "ui/base/animation_player.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/ui/base/fake_animation_timer_platform.h"

namespace {

using pexo_test::FakeAnimationClock;

// A player on a fake clock that records what it reports.
struct Recorded {
  FakeAnimationClock clock;
  std::unique_ptr<ui::AnimationPlayer> player = std::make_unique<ui::AnimationPlayer>();
  std::vector<int> values;
  int completions = 0;

  Recorded(int start, int end, int total, double a, double e) {
    player->SetTimerManager(&clock.manager);
    player->SetStartValue(start);
    player->SetEndValue(end);
    player->SetTotalMilliseconds(total);
    player->SetAccelerateRatio(a);
    player->SetDecelerateRatio(e);
    player->SetPlayCallback([this](int v) { values.push_back(v); });
    player->SetCompleteCallback([this] { ++completions; });
  }
  int last() const { return values.empty() ? -99999 : values.back(); }
  void RunFor(int ms) {
    for (int t = 0; t < ms; t += 16) clock.Advance(16);
  }
};

TEST(AnimationPlayerTest, AlphaFadeReachesTheEndOnceAndStops) {
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->Start();
  EXPECT_EQ(r.player->GetInterval(), 1);  // 250 / 255 rounds to 0, which becomes 1
  EXPECT_TRUE(r.player->IsPlaying());
  r.RunFor(240);
  EXPECT_EQ(r.completions, 0);
  EXPECT_LT(r.last(), 255);
  r.RunFor(32);
  EXPECT_EQ(r.last(), 255);
  EXPECT_EQ(r.completions, 1);
  EXPECT_FALSE(r.player->IsPlaying());
  for (size_t i = 1; i < r.values.size(); ++i) EXPECT_GT(r.values[i], r.values[i - 1]);

  r.RunFor(64);
  EXPECT_EQ(r.completions, 1);
  EXPECT_EQ(r.clock.manager.task_count(), 0u);
  EXPECT_EQ(r.clock.manager.timer_id(), 0u);
}

TEST(AnimationPlayerTest, ValuesFollowTheAccelerationProfile) {
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->Start();
  EXPECT_TRUE(r.values.empty());  // the first step at 0 ms reports nothing new
  r.clock.Advance(50);
  EXPECT_EQ(r.last(), 34);
  r.clock.Advance(25);
  EXPECT_EQ(r.last(), 76);  // the end of acceleration

  Recorded down(300, 45, 250, 0.3, 0.7);
  down.player->Start();
  down.clock.Advance(50);
  EXPECT_EQ(down.last(), 300 - 34);
}

TEST(AnimationPlayerTest, LinearProfileMovesAtConstantSpeed) {
  Recorded r(0, 50, 100, 0, 0);
  r.player->Start();
  r.clock.Advance(50);
  EXPECT_EQ(r.last(), 25);
  r.clock.Advance(25);
  EXPECT_EQ(r.last(), 37);
  r.clock.Advance(25);
  EXPECT_EQ(r.last(), 50);
  EXPECT_EQ(r.completions, 1);
}

TEST(AnimationPlayerTest, EqualStartAndEndCompletesAtOnceWithoutPlaying) {
  Recorded r(40, 40, 250, 0.3, 0.7);
  r.player->Start();
  EXPECT_TRUE(r.values.empty());
  EXPECT_EQ(r.completions, 1);
  EXPECT_FALSE(r.player->IsPlaying());
  EXPECT_EQ(r.clock.manager.task_count(), 0u);
}

TEST(AnimationPlayerTest, ReverseAndContinueTurnRoundWhereTheValueStands) {
  // Never played: Reverse runs from the end value back to the start from 0 ms.
  Recorded fresh(0, 100, 100, 0.3, 0.7);
  fresh.player->Reverse();
  EXPECT_TRUE(fresh.player->IsReversed());
  EXPECT_EQ(fresh.player->GetStartValue(), 100);
  EXPECT_EQ(fresh.player->GetEndValue(), 0);
  EXPECT_EQ(fresh.player->GetElapsedMilliseconds(), 0);
  fresh.RunFor(112);
  EXPECT_EQ(fresh.last(), 0);
  EXPECT_EQ(fresh.completions, 1);
  for (size_t i = 1; i < fresh.values.size(); ++i) EXPECT_LT(fresh.values[i], fresh.values[i - 1]);

  // 100 ms into a 250 ms play, Reverse continues from 150 ms of the other direction.
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->Continue();
  r.clock.Advance(100);
  const int reached = r.last();
  r.player->Reverse();
  EXPECT_EQ(r.player->GetStartValue(), 255);
  EXPECT_EQ(r.player->GetEndValue(), 0);
  EXPECT_EQ(r.player->GetElapsedMilliseconds(), 150);
  EXPECT_LT(r.last(), reached);
  const int reversed_at = r.last();
  r.clock.Advance(20);
  EXPECT_LT(r.last(), reversed_at);

  // Continue swaps back and plays forwards from the mirrored time.
  r.player->Continue();
  EXPECT_FALSE(r.player->IsReversed());
  EXPECT_EQ(r.player->GetStartValue(), 0);
  EXPECT_EQ(r.player->GetEndValue(), 255);
  EXPECT_EQ(r.player->GetElapsedMilliseconds(), 80);
  r.RunFor(200);
  EXPECT_EQ(r.last(), 255);
  EXPECT_EQ(r.completions, 1);
}

TEST(AnimationPlayerTest, CancelKeepsTheValueForContinue) {
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->Start();
  r.clock.Advance(50);
  r.player->Cancel();
  const size_t reported = r.values.size();
  r.RunFor(160);
  EXPECT_EQ(r.values.size(), reported);
  EXPECT_EQ(r.player->GetElapsedMilliseconds(), 50);
  EXPECT_TRUE(r.player->IsPlaying());  // only completion clears it
  EXPECT_EQ(r.clock.manager.task_count(), 0u);

  r.player->Continue();
  r.clock.Advance(25);
  EXPECT_EQ(r.last(), 76);
}

TEST(AnimationPlayerTest, DerivedTotalTimeGrowsWithTheDistance) {
  Recorded r(0, 200, -1, 0.3, 0.7);
  r.player->SetAccelerateFactor(0.00084);
  r.player->Start();
  EXPECT_EQ(r.player->GetTotalMilliseconds(), 890);
  EXPECT_NEAR(r.player->GetDecelerateFactor(), -0.00036, 1e-12);
  r.RunFor(896);
  EXPECT_EQ(r.last(), 200);
  EXPECT_EQ(r.completions, 1);

  // Smooth-scroll settings: decelerating only, from a decelerate factor.
  Recorded scroll(0, 300, -1, 0, 0.5);
  scroll.player->SetDecelerateFactor(-0.012);
  scroll.player->Start();
  EXPECT_EQ(scroll.player->GetTotalMilliseconds(), 182);
  scroll.RunFor(192);
  EXPECT_EQ(scroll.last(), 300);
}

TEST(AnimationPlayerTest, DerivedTotalTimeIsCappedAndNeverUndefined) {
  Recorded capped(0, 200, -1, 0.3, 0.7);
  capped.player->SetAccelerateFactor(0.00084);
  capped.player->SetMaxTotalMilliseconds(650);
  capped.player->Start();
  EXPECT_EQ(capped.player->GetTotalMilliseconds(), 650);
  capped.RunFor(656);
  EXPECT_EQ(capped.last(), 200);

  // Neither a factor nor a speed to derive from: the longest time, not garbage.
  Recorded none(0, 200, -1, 0.3, 0.7);
  none.player->Start();
  EXPECT_EQ(none.player->GetTotalMilliseconds(), ui::AnimationPlayer::kDefaultMaxTotalMilliseconds);
  Recorded linear(0, 200, -1, 0, 0);
  linear.player->Start();
  EXPECT_EQ(linear.player->GetTotalMilliseconds(), 0);
  EXPECT_EQ(linear.last(), 200);
  EXPECT_EQ(linear.completions, 1);
}

TEST(AnimationPlayerTest, PlayerWithoutPlayCallbackStillFinishes) {
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->SetPlayCallback(nullptr);
  r.player->Start();
  r.RunFor(272);
  EXPECT_EQ(r.completions, 1);
  EXPECT_FALSE(r.player->IsPlaying());
  EXPECT_EQ(r.player->GetValue(), 255);
  r.clock.Advance(16);
  EXPECT_EQ(r.clock.manager.task_count(), 0u);
  EXPECT_EQ(r.clock.manager.timer_id(), 0u);
}

TEST(AnimationPlayerTest, CompletionCallsBackOncePerPlay) {
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->Start();
  r.RunFor(272);
  ASSERT_EQ(r.completions, 1);
  // Played again at the end: the first step completes it, and no task is left over
  // to complete it a second time.
  r.player->Continue();
  EXPECT_EQ(r.completions, 2);
  r.RunFor(64);
  EXPECT_EQ(r.completions, 2);
  EXPECT_EQ(r.clock.manager.task_count(), 0u);
}

TEST(AnimationPlayerTest, CompleteCallbackMayPlayAgain) {
  Recorded r(0, 100, 100, 0.3, 0.7);
  r.player->SetCompleteCallback([&r] {
    if (++r.completions == 1) r.player->Reverse();
  });
  r.player->Start();
  r.RunFor(112);
  EXPECT_EQ(r.completions, 1);
  EXPECT_TRUE(r.player->IsPlaying());
  r.RunFor(112);
  EXPECT_EQ(r.completions, 2);
  EXPECT_EQ(r.last(), 0);
}

TEST(AnimationPlayerTest, DestroyedPlayerExpiresItsTask) {
  Recorded r(0, 255, 250, 0.3, 0.7);
  r.player->Start();
  r.clock.Advance(16);
  r.player.reset();
  r.clock.Advance(16);
  EXPECT_EQ(r.clock.manager.task_count(), 0u);
  EXPECT_EQ(r.clock.manager.timer_id(), 0u);

  // Destroyed by its own play callback, in the middle of a step.
  Recorded self(0, 255, 250, 0.3, 0.7);
  self.player->SetPlayCallback([&self](int) { self.player.reset(); });
  self.player->Start();
  self.clock.Advance(16);
  EXPECT_EQ(self.player, nullptr);
  self.clock.Advance(16);
  EXPECT_EQ(self.clock.manager.task_count(), 0u);
}

TEST(AnimationPlayerTest, InitResetsNumbersButKeepsCallbacks) {
  Recorded r(5, 10, 100, 0.3, 0.7);
  r.player->SetAccelerateFactor(0.5);
  r.player->SetMaxTotalMilliseconds(10);
  r.player->Init();
  EXPECT_EQ(r.player->GetStartValue(), 0);
  EXPECT_EQ(r.player->GetEndValue(), 0);
  EXPECT_EQ(r.player->GetTotalMilliseconds(), -1);
  EXPECT_EQ(r.player->GetAccelerateRatio(), 0);
  EXPECT_EQ(r.player->GetAccelerateFactor(), 0);
  EXPECT_EQ(r.player->GetMaxTotalMilliseconds(), ui::AnimationPlayer::kDefaultMaxTotalMilliseconds);
  EXPECT_TRUE(r.player->IsFirstRun());
  r.player->Start();  // start equals end: completes through the kept callback
  EXPECT_EQ(r.completions, 1);
}

TEST(AnimationPlayerTest, ResetStopsAPlayMidwayAndStartsOverFromScratch) {
  Recorded r(0, 200, 200, 0, 0);
  r.player->Start();
  r.RunFor(64);
  ASSERT_TRUE(r.player->IsPlaying());
  ASSERT_GT(r.player->GetValue(), 0);
  const size_t reported = r.values.size();

  r.player->Reset();
  EXPECT_FALSE(r.player->IsPlaying());
  EXPECT_EQ(r.player->GetValue(), 0);
  EXPECT_EQ(r.player->GetElapsedMilliseconds(), 0);
  r.RunFor(300);
  EXPECT_EQ(r.values.size(), reported) << "no step of the cancelled play may run";
  EXPECT_EQ(r.completions, 0);

  // A new play after the reset runs whole, from its own start.
  r.player->SetStartValue(0);
  r.player->SetEndValue(50);
  r.player->SetTotalMilliseconds(50);
  r.player->Start();
  r.RunFor(100);
  EXPECT_EQ(r.last(), 50);
  EXPECT_EQ(r.completions, 1);
}

}  // namespace
