#include "ui/core/event_args.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(EventTypeFromNameTest, SkinNamesMapToTheirNumbersAndAnythingElseToNone) {
  EXPECT_EQ(ui::EventTypeFromName(L"all"), 6);
  EXPECT_EQ(ui::EventTypeFromName(L"char"), 10);
  EXPECT_EQ(ui::EventTypeFromName(L"buttondown"), 18);
  EXPECT_EQ(ui::EventTypeFromName(L"rbuttondown"), 20);
  EXPECT_EQ(ui::EventTypeFromName(L"menu"), 23);
  EXPECT_EQ(ui::EventTypeFromName(L"return"), 47);
  EXPECT_EQ(ui::EventTypeFromName(L"valuechange"), 53);
  // Internal events and events without a skin name are not reachable by name.
  EXPECT_EQ(ui::EventTypeFromName(L"click"), ui::none);
  EXPECT_EQ(ui::EventTypeFromName(L"rbuttonup"), ui::none);
  EXPECT_EQ(ui::EventTypeFromName(L"ButtonDown"), ui::none);
  EXPECT_EQ(ui::EventTypeFromName(L"buttondown "), ui::none);
  EXPECT_EQ(ui::EventTypeFromName(L""), ui::none);
}

TEST(RunEventCallbacksTest, StopsAtFirstFalseAndEmptyListGivesTrue) {
  ui::EventArgs args;
  EXPECT_TRUE(ui::RunEventCallbacks({}, &args));

  int calls = 0;
  ui::EventCallbackList list = {
      [&](ui::EventArgs*) { ++calls; return true; },
      [&](ui::EventArgs*) { ++calls; return false; },
      [&](ui::EventArgs*) { ++calls; return true; },
  };
  EXPECT_FALSE(ui::RunEventCallbacks(list, &args));
  EXPECT_EQ(calls, 2);
}

TEST(RunEventCallbacksTest, SurvivesCallbacksThatGrowOrDestroyTheirOwnList) {
  ui::EventArgs args;
  ui::EventListenerMap map;
  int calls = 0;
  map[ui::click].push_back([&](ui::EventArgs*) {
    ++calls;
    for (int i = 0; i < 100; ++i) map[ui::click].push_back([](ui::EventArgs*) { return true; });
    return true;
  });
  EXPECT_TRUE(ui::RunEventCallbacks(map[ui::click], &args));
  EXPECT_EQ(calls, 1);

  auto owned = std::make_unique<ui::EventListenerMap>();
  (*owned)[ui::select].push_back([&](ui::EventArgs*) { owned.reset(); return true; });
  (*owned)[ui::select].push_back([&](ui::EventArgs*) { ++calls; return true; });
  EXPECT_TRUE(ui::RunEventCallbacks((*owned)[ui::select], &args));
  EXPECT_EQ(owned, nullptr);
}

TEST(EventListenerMapTest, IndexingAMissingTypeCreatesAnEmptyList) {
  ui::EventListenerMap map;
  EXPECT_TRUE(map[ui::keydown].empty());
  EXPECT_EQ(map.count(ui::keydown), 1u);
}

}  // namespace
