// Skin attributes of a control: SetAttribute and the attribute-list and class
// texts that feed it.
#include <cwchar>
#include <climits>

#include "ui/base/dpi_scaler.h"
#include "ui/core/attribute_numbers.h"
#include "ui/core/box.h"
#include "ui/core/box_shadow.h"
#include "ui/core/control.h"
#include "ui/core/framework_access.h"
#include "ui/core/window_access.h"

namespace ui {

namespace {

// Class texts may name further classes; a class that names itself (directly or
// through others) must not recurse without end.
constexpr int kMaxClassDepth = 16;
thread_local int g_classDepth = 0;

bool IsTrue(const std::wstring& value) { return value == L"true"; }

int ParseSizeKeyword(const std::wstring& value) {
  if (value == L"stretch") return kSizeStretch;
  if (value == L"auto") return kSizeAuto;
  return ParseInt(value);
}

}  // namespace

void Control::SetAttribute(const std::wstring& name, const std::wstring& value) {
  DpiScaler& dpi = DpiScaler::Instance();
  if (name == L"class") {
    ApplyClassAttributes(value);
  } else if (name == L"halign") {
    if (value == L"left") horAlign_ = 0;
    else if (value == L"center") horAlign_ = 1;
    else if (value == L"right") horAlign_ = 2;
  } else if (name == L"valign") {
    if (value == L"top") verAlign_ = 0;
    else if (value == L"center") verAlign_ = 1;
    else if (value == L"bottom") verAlign_ = 2;
  } else if (name == L"margin") {
    RECT rc;
    if (ParseRect(value, &rc)) SetMargin(rc, true);
  } else if (name == L"bkcolor" || name == L"bkcolor1") {
    size_t start = 0;
    while (start < value.size() && value[start] <= L' ') ++start;
    SetBkColor(value.substr(start));
  } else if (name == L"bordersize") {
    if (value.find(L',') == std::wstring::npos) {
      int size = dpi.ScaleInt(ParseInt(value));
      if (size != borderSize_) {
        borderSize_ = size;
        Invalidate();
      }
      sideBorderSizes_ = RECT{0, 0, 0, 0};
      Invalidate();
    } else {
      RECT rc;
      if (ParseRect(value, &rc)) {
        dpi.ScaleRect(rc);
        sideBorderSizes_ = rc;
        Invalidate();
      }
    }
  } else if (name == L"borderround") {
    SIZE size;
    if (ParseSize(value, &size)) SetBorderRound(size);
  } else if (name == L"boxshadow") {
    ParseBoxShadow(value, boxShadow_);
  } else if (name == L"width") {
    int width = ParseSizeKeyword(value);
    if (width >= kSizeAuto) SetFixedWidth(width, true, true);
  } else if (name == L"height") {
    int height = ParseSizeKeyword(value);
    if (height >= kSizeAuto) SetFixedHeight(height, true);
  } else if (name == L"maxwidth") {
    SetMaxWidth(ParseSizeKeyword(value));
  } else if (name == L"maxheight") {
    SetMaxHeight(ParseSizeKeyword(value));
  } else if (name == L"minwidth") {
    SetMinWidth(ParseInt(value));
  } else if (name == L"minheight") {
    SetMinHeight(ParseInt(value));
  } else if (name == L"state") {
    if (value == L"normal") {
      hotAlpha_ = 0;
      SetState(kControlStateNormal);
    } else if (value == L"hot") {
      hotAlpha_ = 255;
      SetState(kControlStateHot);
    } else if (value == L"pushed") {
      SetState(kControlStatePushed);
    } else if (value == L"disabled") {
      SetState(kControlStateDisabled);
    }
  } else if (name == L"cursortype") {
    if (value == L"arrow") cursorType_ = kCursorArrow;
    else if (value == L"hand") cursorType_ = kCursorHand;
    else if (value == L"ibeam") cursorType_ = kCursorIbeam;
  } else if (name == L"renderoffset") {
    SIZE size;
    if (ParseSize(value, &size)) {
      SetRenderOffset(POINT{dpi.ScaleInt(size.cx), dpi.ScaleInt(size.cy)});
    }
  } else if (name == L"normalcolor") {
    SetStateColor(kControlStateNormal, value);
  } else if (name == L"hotcolor") {
    SetStateColor(kControlStateHot, value);
  } else if (name == L"pushedcolor") {
    SetStateColor(kControlStatePushed, value);
  } else if (name == L"disabledcolor") {
    SetStateColor(kControlStateDisabled, value);
  } else if (name == L"bordercolor") {
    SetBorderColor(value, kControlStateNormal);
  } else if (name == L"hotbordercolor") {
    SetBorderColor(value, kControlStateHot);
  } else if (name == L"pushedbordercolor") {
    SetBorderColor(value, kControlStatePushed);
  } else if (name == L"leftbordersize") {
    sideBorderSizes_.left = dpi.ScaleInt(ParseInt(value));
    Invalidate();
  } else if (name == L"topbordersize") {
    sideBorderSizes_.top = dpi.ScaleInt(ParseInt(value));
    Invalidate();
  } else if (name == L"rightbordersize") {
    sideBorderSizes_.right = dpi.ScaleInt(ParseInt(value));
    Invalidate();
  } else if (name == L"bottombordersize") {
    sideBorderSizes_.bottom = dpi.ScaleInt(ParseInt(value));
    Invalidate();
  } else if (name == L"bkimage") {
    SetBkImage(value);
  } else if (name == L"name") {
    SetName(value);
  } else if (name == L"tooltiptext") {
    SetToolTipText(value);
  } else if (name == L"tooltiptextid") {
    SetToolTipTextId(value);
  } else if (name == L"dataid") {
    SetDataId(value);
  } else if (name == L"menupopup") {
    SetMenuPopup(value);
  } else if (name == L"menualign") {
    SetMenuAlign(value);
  } else if (name == L"enabled") {
    SetEnabled(IsTrue(value));
  } else if (name == L"mouse") {
    SetMouseEnabled(IsTrue(value));
  } else if (name == L"keyboard") {
    SetKeyboardEnabled(IsTrue(value));
  } else if (name == L"visible") {
    SetVisible(IsTrue(value));
  } else if (name == L"fadevisible") {
    SetFadeVisible(IsTrue(value));
  } else if (name == L"float") {
    bool isFloat = IsTrue(value);
    if (isFloat != float_) {
      float_ = isFloat;
      ArrangeAncestor();
    }
  } else if (name == L"menu") {
    SetContextMenuUsed(IsTrue(value));
  } else if (name == L"cache") {
    cache_ = IsTrue(value);
  } else if (name == L"nofocus") {
    noFocus_ = true;
  } else if (name == L"alpha") {
    SetAlpha(ParseInt(value));
  } else if (name == L"normalimage") {
    SetStateImage(kControlStateNormal, value);
  } else if (name == L"hotimage") {
    SetStateImage(kControlStateHot, value);
  } else if (name == L"pushedimage") {
    SetStateImage(kControlStatePushed, value);
  } else if (name == L"disabledimage") {
    SetStateImage(kControlStateDisabled, value);
  } else if (name == L"forenormalimage") {
    SetForeStateImage(kControlStateNormal, value);
  } else if (name == L"forehotimage") {
    SetForeStateImage(kControlStateHot, value);
  } else if (name == L"forepushedimage") {
    SetForeStateImage(kControlStatePushed, value);
  } else if (name == L"foredisabledimage") {
    SetForeStateImage(kControlStateDisabled, value);
  } else if (name == L"fadealpha") {
    animations_.SetFadeAlpha(IsTrue(value));
  } else if (name == L"fadehot") {
    animations_.SetFadeHot(IsTrue(value));
  } else if (name == L"fadewidth") {
    animations_.SetFadeWidth(IsTrue(value));
  } else if (name == L"fadeheight") {
    animations_.SetFadeHeight(IsTrue(value));
  } else if (name == L"fadeinoutxfromleft") {
    animations_.SetFadeInOutX(IsTrue(value), false);
  } else if (name == L"fadeinoutxfromright") {
    animations_.SetFadeInOutX(IsTrue(value), true);
  } else if (name == L"fadeinoutyfromtop") {
    animations_.SetFadeInOutY(IsTrue(value), false);
  } else if (name == L"fadeinoutyfrombottom") {
    animations_.SetFadeInOutY(IsTrue(value), true);
  } else if (name == L"receivepointer") {
    SetReceivePointer(IsTrue(value));
  } else if (name == L"tabstop") {
    tabStop_ = IsTrue(value);
  } else if (name == L"loadingimage") {
    SetLoadingImage(value);
  } else if (name == L"loadingbkcolor") {
    SetLoadingBkColor(value);
  }
}

void Control::ApplyClassAttributes(const std::wstring& classes) {
  if (g_classDepth >= kMaxClassDepth) return;
  ++g_classDepth;
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  size_t pos = 0;
  while (pos < classes.size() && !alive.expired()) {
    size_t end = classes.find(L' ', pos);
    if (end == std::wstring::npos) end = classes.size();
    std::wstring className = classes.substr(pos, end - pos);
    pos = end + 1;
    if (className.empty()) continue;
    std::wstring text = framework_access::GetGlobalClassAttributes(className);
    if (text.empty() && window_) text = window_access::GetClassAttributes(window_, className);
    if (!text.empty()) ApplyAttributeList(text);
  }
  --g_classDepth;
}

void Control::ApplyAttributeList(const std::wstring& list) {
  std::weak_ptr<nbase::WeakFlag> alive = GetWeakFlag();
  size_t pos = 0;
  while (pos < list.size()) {
    size_t equals = list.find(L'=', pos);
    if (equals == std::wstring::npos || equals == pos) return;
    std::wstring name = list.substr(pos, equals - pos);
    if (name.find_first_of(L" \t\r\n") != std::wstring::npos) return;
    if (equals + 1 >= list.size() || list[equals + 1] != L'"') return;
    size_t close = list.find(L'"', equals + 2);
    if (close == std::wstring::npos) return;
    SetAttribute(name, list.substr(equals + 2, close - equals - 2));
    // An attribute's listeners may have destroyed the control.
    if (alive.expired()) return;
    if (close + 2 < list.size() && list[close + 1] == L' ') {
      pos = close + 2;
    } else {
      return;
    }
  }
}

bool Control::OnEventApplyAttribute(const std::wstring& receiver, const std::wstring& attributes, EventArgs*) {
  Control* target = nullptr;
  const bool local = receiver.size() >= 2 && receiver[0] == L'.' && (receiver[1] == L'\\' || receiver[1] == L'/');
  if (local) {
    // Only a box has descendants to search.
    if (auto* box = dynamic_cast<Box*>(this)) target = box->FindChildByName(receiver.substr(2));
  } else if (window_) {
    target = window_access::FindControlByName(window_, receiver);
  }
  if (target) target->ApplyAttributeList(attributes);
  return true;
}

}  // namespace ui
