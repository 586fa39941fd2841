// Dispatch order of a control's and a box's listeners, the default reactions,
// bubbling, and listeners that destroy their control.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/core/box.h"
#include "ui/core/control.h"

namespace {

using Log = std::vector<std::string>;

template <typename Base>
class Recording : public Base {
 public:
  template <typename... Args>
  explicit Recording(Log* log, Args... args) : Base(args...), log_(log) {}

  void HandleEvent(ui::EventArgs& event) override {
    log_->push_back("default:" + std::to_string(event.Type));
    Base::HandleEvent(event);
  }
  void Activate() override { log_->push_back("activate"); }

 private:
  Log* log_;
};

using RecordingControl = Recording<ui::Control>;
using RecordingBox = Recording<ui::Box>;

ui::EventCallback Logger(Log* log, std::string name, bool answer) {
  return [log, name, answer](ui::EventArgs*) {
    log->push_back(name);
    return answer;
  };
}

TEST(ControlDispatchTest, CodeThenXmlListenersThenTheDefaultReaction) {
  Log log;
  RecordingControl control(&log);
  control.AttachXmlEvent(ui::all, Logger(&log, "xml-all", true));
  control.AttachXmlEvent(ui::click, Logger(&log, "xml-click", true));
  control.AttachEvent(ui::all, Logger(&log, "code-all", true));
  control.AttachEvent(ui::click, Logger(&log, "code-click", true));
  control.AttachEvent(ui::click, Logger(&log, "code-click-2", true));
  control.SendEvent(ui::click);
  EXPECT_EQ(log, (Log{"code-click", "code-click-2", "code-all", "xml-click", "xml-all", "default:41"}));
}

TEST(ControlDispatchTest, AFalseCodeListenerStopsXmlAndDefaultUnlessAllAnswersTrue) {
  Log log;
  RecordingControl control(&log);
  control.AttachEvent(ui::click, Logger(&log, "code-click", false));
  control.AttachEvent(ui::click, Logger(&log, "never", true));
  control.AttachXmlEvent(ui::click, Logger(&log, "xml-click", true));
  control.SendEvent(ui::click);
  EXPECT_EQ(log, (Log{"code-click"}));

  log.clear();
  control.AttachEvent(ui::all, Logger(&log, "code-all", true));
  control.SendEvent(ui::click);
  EXPECT_EQ(log, (Log{"code-click", "code-all", "xml-click", "default:41"}));

  log.clear();
  control.AttachXmlEvent(ui::all, Logger(&log, "xml-all", false));
  control.SendEvent(ui::click);
  EXPECT_EQ(log, (Log{"code-click", "code-all", "xml-click", "xml-all"}));
}

TEST(ControlDispatchTest, InternalEventsSkipTheListeners) {
  Log log;
  RecordingControl control(&log);
  control.AttachEvent(ui::all, Logger(&log, "code-all", true));
  control.SendEvent(ui::internalsetfocus);
  EXPECT_EQ(log, (Log{"default:2"}));
  EXPECT_EQ(control.GetState(), ui::kControlStateHot);
  EXPECT_TRUE(control.IsFocusedLook());
  control.SendEvent(ui::internalkillfocus);
  EXPECT_EQ(control.GetState(), ui::kControlStateNormal);
  EXPECT_FALSE(control.IsFocusedLook());
}

TEST(ControlDispatchTest, AListenerThatDeletesItsControlEndsTheDispatch) {
  Log log;
  auto* control = new RecordingControl(&log);
  control->AttachEvent(ui::click, [&](ui::EventArgs*) {
    log.push_back("deleting");
    delete control;
    return true;
  });
  control->AttachEvent(ui::all, Logger(&log, "code-all", true));
  control->SendEvent(ui::click);
  // Only the destroy event of the deletion itself still reaches the "all"
  // listener; the click's "all" list and default reaction never run.
  EXPECT_EQ(log, (Log{"deleting", "code-all"}));
}

TEST(ControlDispatchTest, SendEventKeepsAGivenPointAndFillsTheRecord) {
  ui::Control control;
  ui::EventArgs seen;
  control.AttachEvent(ui::keydown, [&](ui::EventArgs* e) {
    seen = *e;
    return true;
  });
  control.SendEvent(ui::keydown, 7, -3, L'x', POINT{5, 0}, 0.5f);
  EXPECT_EQ(seen.Type, ui::keydown);
  EXPECT_EQ(seen.pSender, &control);
  EXPECT_EQ(seen.ptMouse.x, 5);
  EXPECT_EQ(seen.ptMouse.y, 0);
  EXPECT_EQ(seen.wParam, 7u);
  EXPECT_EQ(seen.lParam, -3);
  EXPECT_EQ(seen.chKey, L'x');
  EXPECT_FLOAT_EQ(seen.pressure, 0.5f);
  EXPECT_NE(seen.dwTimestamp, 0u);
}

TEST(ControlDispatchTest, UnknownXmlNamesAttachUnderNone) {
  Log log;
  ui::Control control;
  control.AttachXmlEvent(ui::EventTypeFromName(L"clicked"), Logger(&log, "unused", true));
  control.SendEvent(ui::click);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(control.GetXmlListeners().count(ui::none), 1u);
}

TEST(ControlDispatchTest, PressAndReleaseInsideActivates) {
  Log log;
  RecordingControl control(&log);
  control.SetPos(RECT{0, 0, 20, 20});
  control.SendEvent(ui::buttondown, 0, 0, 0, POINT{5, 5});
  EXPECT_EQ(control.GetState(), ui::kControlStatePushed);
  EXPECT_TRUE(control.IsPressed());
  control.SendEvent(ui::buttonup, 0, 0, 0, POINT{5, 5});
  EXPECT_EQ(control.GetState(), ui::kControlStateHot);
  EXPECT_EQ(control.GetHotAlpha(), 255);
  EXPECT_FALSE(control.IsPressed());
  EXPECT_EQ(log.back(), "activate");

  log.clear();
  control.SendEvent(ui::buttondown, 0, 0, 0, POINT{5, 5});
  control.SendEvent(ui::buttonup, 0, 0, 0, POINT{50, 5});
  EXPECT_EQ(control.GetState(), ui::kControlStateNormal);
  EXPECT_EQ(log, (Log{"default:18", "default:19"}));

  // A release without a press is ignored; a disabled control cannot be pressed.
  log.clear();
  control.SendEvent(ui::buttonup, 0, 0, 0, POINT{5, 5});
  EXPECT_EQ(log, (Log{"default:19"}));
  control.SetEnabled(false);
  control.SendEvent(ui::buttondown, 0, 0, 0, POINT{5, 5});
  EXPECT_FALSE(control.IsPressed());
}

TEST(ControlDispatchTest, PointerReleaseLeavesTheControlNormal) {
  ui::Control control;
  control.SetPos(RECT{0, 0, 20, 20});
  control.SendEvent(ui::pointerdown, 0, 0, 0, POINT{5, 5});
  EXPECT_TRUE(control.IsPressed());
  control.SendEvent(ui::pointerup, 0, 0, 0, POINT{5, 5});
  EXPECT_EQ(control.GetState(), ui::kControlStateNormal);
  EXPECT_EQ(control.GetHotAlpha(), 0);

  control.SetReceivePointer(false);
  control.SendEvent(ui::pointerdown, 0, 0, 0, POINT{5, 5});
  EXPECT_FALSE(control.IsPressed());
}

TEST(ControlDispatchTest, MouseEnterAndLeaveWithoutAWindow) {
  ui::Control control;
  control.SendEvent(ui::mouseenter);
  EXPECT_EQ(control.GetState(), ui::kControlStateHot);
  control.SendEvent(ui::mouseleave);
  EXPECT_EQ(control.GetState(), ui::kControlStateNormal);
  control.SetAttribute(L"state", L"pushed");
  control.SendEvent(ui::mouseenter);
  EXPECT_EQ(control.GetState(), ui::kControlStatePushed);
}

TEST(ControlDispatchTest, ContextMenuBecomesMenuOnlyWhenUsed) {
  Log log;
  ui::Control control;
  control.AttachEvent(ui::menu, Logger(&log, "menu", true));
  control.SendEvent(ui::internalmenu);
  EXPECT_TRUE(log.empty());
  control.SetContextMenuUsed(true);
  control.SendEvent(ui::internalmenu, 1, 2);
  EXPECT_EQ(log, (Log{"menu"}));
}

// A box tree bound without a window: the parents are set by SetWindowAndParent.
struct Tree {
  Log log;
  RecordingBox* root;
  RecordingBox* inner;
  RecordingControl* leaf;

  Tree() {
    root = new RecordingBox(&log, nullptr);
    inner = new RecordingBox(&log, nullptr);
    leaf = new RecordingControl(&log);
    inner->Add(leaf);
    root->Add(inner);
    root->SetWindowAndParent(nullptr, nullptr);
  }
  ~Tree() { delete root; }
};

TEST(BoxDispatchTest, UnconsumedEventsBubbleThroughBubbledListeners) {
  Tree tree;
  tree.root->AttachBubbledEvent(ui::click, Logger(&tree.log, "root-bubbled", true));
  tree.root->AttachEvent(ui::click, Logger(&tree.log, "root-own", true));
  tree.inner->AttachXmlBubbledEvent(ui::all, Logger(&tree.log, "inner-xml-bubbled-all", true));
  tree.leaf->SendEvent(ui::click);
  EXPECT_EQ(tree.log, (Log{"default:41", "inner-xml-bubbled-all", "default:41", "root-bubbled",
                           "default:41"}));
}

TEST(BoxDispatchTest, BubbledListenerAnsweringFalseStopsTheWalk) {
  Tree tree;
  tree.inner->AttachBubbledEvent(ui::click, Logger(&tree.log, "inner-bubbled", false));
  tree.root->AttachBubbledEvent(ui::click, Logger(&tree.log, "root-bubbled", true));
  tree.leaf->SendEvent(ui::click);
  EXPECT_EQ(tree.log, (Log{"default:41", "inner-bubbled"}));
}

TEST(BoxDispatchTest, OwnEventsOfABoxRunOwnThenBubbledLists) {
  Tree tree;
  tree.inner->AttachEvent(ui::click, Logger(&tree.log, "own", false));
  tree.inner->AttachXmlEvent(ui::click, Logger(&tree.log, "own-xml", true));
  tree.inner->AttachBubbledEvent(ui::click, Logger(&tree.log, "bubbled", true));
  tree.inner->SendEvent(ui::click);
  // The false of the own list skips the XML list but not the bubbled code list,
  // whose answer then decides.
  EXPECT_EQ(tree.log, (Log{"own", "bubbled", "default:41", "default:41"}));
}

TEST(BoxDispatchTest, MouseDisabledChildPassesMouseEventsToItsParent) {
  Tree tree;
  tree.leaf->SetMouseEnabled(false);
  tree.leaf->SendEvent(ui::buttondown, 0, 0, 0, POINT{1, 1});
  EXPECT_EQ(tree.log, (Log{"default:18", "default:18"}));
  EXPECT_FALSE(tree.leaf->IsPressed());
  EXPECT_TRUE(tree.inner->IsPressed());
}

TEST(BoxDispatchTest, RemovingTheSenderInsideItsOwnHandlerIsSafe) {
  Tree tree;
  tree.leaf->AttachEvent(ui::click, [&](ui::EventArgs*) {
    tree.inner->Remove(tree.leaf);
    return true;
  });
  tree.leaf->SendEvent(ui::click);
  EXPECT_EQ(tree.inner->GetCount(), 0);

  // A bubbled listener removing the sender of the event it is handling.
  auto* second = new RecordingControl(&tree.log);
  tree.inner->Add(second);
  tree.root->SetWindowAndParent(nullptr, nullptr);
  tree.inner->AttachBubbledEvent(ui::select, [&](ui::EventArgs* e) {
    tree.inner->Remove(e->pSender);
    return true;
  });
  second->SendEvent(ui::select);
  EXPECT_EQ(tree.inner->GetCount(), 0);
}

TEST(ControlDispatchTest, NamedAttachOperationsListenToTheirOwnEventOnly) {
  using Attach = void (ui::Control::*)(const ui::EventCallback&);
  struct Case {
    Attach attach;
    ui::EventType type;
  };
  const Case cases[] = {
      {&ui::Control::AttachClickEvent, ui::click},
      {&ui::Control::AttachMenuEvent, ui::menu},
      {&ui::Control::AttachMouseEnterEvent, ui::mouseenter},
      {&ui::Control::AttachReturnEvent, ui::return_},
      {&ui::Control::AttachTextChangeEvent, ui::textchange},
      {&ui::Control::AttachSelectEvent, ui::select},
  };
  for (const Case& c : cases) {
    ui::Control control;
    std::vector<ui::EventType> heard;
    (control.*c.attach)([&](ui::EventArgs* args) {
      heard.push_back(args->Type);
      return true;
    });
    for (const Case& other : cases) control.SendEvent(other.type);
    ASSERT_EQ(heard.size(), 1u) << c.type;
    EXPECT_EQ(heard[0], c.type);
  }

  ui::Control control;
  std::vector<ui::EventType> heard;
  control.AttachAllEvents([&](ui::EventArgs* args) {
    heard.push_back(args->Type);
    return true;
  });
  control.SendEvent(ui::reorder, 3, 1);
  control.SendEvent(ui::xbuttondown);
  EXPECT_EQ(heard, (std::vector<ui::EventType>{ui::reorder, ui::xbuttondown}));
}

TEST(ControlDispatchTest, ItemIdStartsAtZeroAndIsTheApplicationsToKeep) {
  ui::Control control;
  EXPECT_EQ(control.GetItemId(), 0);
  control.SetItemId(-7);
  control.SendEvent(ui::click);
  EXPECT_EQ(control.GetItemId(), -7);
}

}  // namespace
