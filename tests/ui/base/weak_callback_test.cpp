#include "ui/base/weak_callback.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using namespace std::placeholders;

struct FakeEvent {
  int type = 0;
};

// Owner with one method per callback signature the framework binds.
class Owner : public virtual nbase::SupportWeakCallback {
 public:
  explicit Owner(std::string* log) : log_(log) {}
  void OnValue(int v) { *log_ += "value" + std::to_string(v) + ";"; }
  void OnDone(bool completed) { *log_ += completed ? "done;" : "stopped;"; }
  void OnSize(int v, bool arrange, bool scale) {
    *log_ += "size" + std::to_string(v) + (arrange ? "a" : "") + (scale ? "s" : "") + ";";
  }
  void OnHeight(int v, bool arrange) { *log_ += "height" + std::to_string(v) + (arrange ? "a" : "") + ";"; }
  void OnTick() { *log_ += "tick;"; }
  bool OnEvent(FakeEvent* event) {
    *log_ += "event" + std::to_string(event->type) + ";";
    return true;
  }
  Owner* CreateItem(const std::wstring& name) { return name == L"item" ? this : nullptr; }

 private:
  std::string* log_;
};

// Every binding form, stored as the framework stores them: in plain callables.
struct Bindings {
  std::function<void(int)> value;
  std::function<void(bool)> done;
  std::function<void(int, bool, bool)> size;
  std::function<void(int, bool)> height;
  std::function<void()> tick;
  std::function<void()> boundArgument;
  std::function<bool(FakeEvent*)> event;
  std::function<Owner*(std::wstring)> create;

  explicit Bindings(Owner* owner)
      : value(nbase::Bind(&Owner::OnValue, owner, _1)),
        done(nbase::Bind(&Owner::OnDone, owner, _1)),
        size(nbase::Bind(&Owner::OnSize, owner, _1, _2, _3)),
        height(nbase::Bind(&Owner::OnHeight, owner, _1, _2)),
        tick(nbase::Bind(&Owner::OnTick, owner)),
        boundArgument(nbase::Bind(&Owner::OnValue, owner, 7)),
        event(owner->ToWeakCallback([owner](FakeEvent* e) { return owner->OnEvent(e); })),
        create(nbase::Bind(&Owner::CreateItem, owner, _1)) {}

  // Calls each binding once; returns what the two result-bearing ones gave.
  std::pair<bool, bool> CallAll() {
    value(3);
    done(true);
    size(5, true, false);
    height(6, true);
    tick();
    boundArgument();
    FakeEvent e{41};
    bool handled = event(&e);
    bool created = create(L"item") != nullptr;
    return {handled, created};
  }
};

constexpr char kAllCalls[] = "value3;done;size5a;height6a;tick;value7;event41;";

TEST(WeakCallback, EveryBindingFormRunsWhileTheOwnerLives) {
  std::string log;
  Owner owner(&log);
  Bindings bindings(&owner);
  auto [handled, created] = bindings.CallAll();
  EXPECT_EQ(log, kAllCalls);
  EXPECT_TRUE(handled);
  EXPECT_TRUE(created);
}

TEST(WeakCallback, EveryBindingFormDoesNothingOnceTheOwnerIsGone) {
  std::string log;
  auto owner = std::make_unique<Owner>(&log);
  Bindings bindings(owner.get());
  owner.reset();
  auto [handled, created] = bindings.CallAll();
  EXPECT_EQ(log, "");
  EXPECT_FALSE(handled);  // a dead listener answers false
  EXPECT_FALSE(created);  // and a dead factory a null pointer
}

// An owner that cancels its own pending callbacks through a member flag.
class Player : public nbase::SupportWeakCallback {
 public:
  explicit Player(std::string* log) : owner_(log) {}
  nbase::WeakCallbackFlag timerFlag;
  Owner owner_;
};

TEST(WeakCallback, CancelExpiresEveryBindingFormBoundBeforeIt) {
  std::string log;
  Player player(&log);
  Owner* owner = &player.owner_;
  Bindings viaFlag(owner);
  // Re-bind every form through the player's separate flag.
  viaFlag.value = nbase::Bind(player.timerFlag, &Owner::OnValue, owner, _1);
  viaFlag.done = nbase::Bind(player.timerFlag, &Owner::OnDone, owner, _1);
  viaFlag.size = nbase::Bind(player.timerFlag, &Owner::OnSize, owner, _1, _2, _3);
  viaFlag.height = nbase::Bind(player.timerFlag, &Owner::OnHeight, owner, _1, _2);
  viaFlag.tick = nbase::Bind(player.timerFlag, &Owner::OnTick, owner);
  viaFlag.boundArgument = nbase::Bind(player.timerFlag, &Owner::OnValue, owner, 7);
  viaFlag.event = nbase::Bind(player.timerFlag, &Owner::OnEvent, owner, _1);
  viaFlag.create = nbase::Bind(player.timerFlag, &Owner::CreateItem, owner, _1);

  player.timerFlag.Cancel();
  auto [handled, created] = viaFlag.CallAll();
  EXPECT_EQ(log, "");
  EXPECT_FALSE(handled);
  EXPECT_FALSE(created);

  // Bound after the cancel: a fresh flag, so it runs.
  auto tick = nbase::Bind(player.timerFlag, &Owner::OnTick, owner);
  tick();
  EXPECT_EQ(log, "tick;");
  EXPECT_FALSE(tick.Expired());
}

TEST(WeakCallback, FlagIsCreatedOnFirstRequestAndSharedUntilCancelled) {
  nbase::WeakCallbackFlag flag;
  EXPECT_FALSE(flag.HasWeakFlag());
  auto first = flag.GetWeakFlag();
  EXPECT_TRUE(flag.HasWeakFlag());
  auto second = flag.GetWeakFlag();
  EXPECT_FALSE(first.owner_before(second) || second.owner_before(first));  // the same flag
  flag.Cancel();
  EXPECT_TRUE(first.expired());
  EXPECT_TRUE(second.expired());
  EXPECT_FALSE(flag.HasWeakFlag());
  auto third = flag.GetWeakFlag();
  EXPECT_FALSE(third.expired());
}

TEST(WeakCallback, ExpiredReflectsTheFlag) {
  auto owner = std::make_unique<nbase::WeakCallbackFlag>();
  auto callback = owner->ToWeakCallback([] { return 5; });
  EXPECT_FALSE(callback.Expired());
  EXPECT_EQ(callback(), 5);
  owner.reset();
  EXPECT_TRUE(callback.Expired());
  EXPECT_EQ(callback(), 0);

  nbase::WeakCallback<std::function<int()>> unbound({}, [] { return 1; });
  EXPECT_TRUE(unbound.Expired());
  EXPECT_EQ(unbound(), 0);
}

TEST(WeakCallback, DestroyingACopyLeavesTheFirstWorking) {
  nbase::WeakCallbackFlag flag;
  int calls = 0;
  auto callback = flag.ToWeakCallback([&calls] { ++calls; });
  {
    auto copy = callback;
    copy();
  }
  callback();
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(callback.Expired());
}

TEST(WeakCallback, WeakReferencesDoNotKeepTheOwnerAlive) {
  std::string log;
  std::weak_ptr<nbase::WeakFlag> flag;
  {
    Owner owner(&log);
    flag = owner.GetWeakFlag();
    EXPECT_FALSE(flag.expired());
  }
  EXPECT_TRUE(flag.expired());
}

TEST(WeakCallback, ACopiedOwnerHasItsOwnFlag) {
  std::string log;
  auto original = std::make_unique<Owner>(&log);
  auto callback = nbase::Bind(&Owner::OnTick, original.get());
  Owner copy(*original);
  EXPECT_FALSE(copy.HasWeakFlag());
  original.reset();
  callback();  // the copy does not keep the original's callbacks alive
  EXPECT_EQ(log, "");

  Owner assigned(&log);
  auto assignedCallback = nbase::Bind(&Owner::OnTick, &assigned);
  assigned = copy;  // assignment keeps the target's own flag
  assignedCallback();
  EXPECT_EQ(log, "tick;");
}

}  // namespace
