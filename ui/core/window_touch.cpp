// Touch (WM_TOUCH) and pointer (WM_POINTER*) input. The functions come from the
// run-time table; when one is missing the message passes unhandled.
#include <vector>

#include "ui/core/control.h"
#include "ui/core/touch_input_api.h"
#include "ui/core/window.h"

namespace ui {

namespace {

constexpr float kPressureScale = 1.0f / 1024.0f;

bool SamePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

}  // namespace

LRESULT Window::OnTouch(WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  const TouchInputApi& api = GetTouchInputApi();
  const UINT count = LOWORD(wParam);
  auto touchHandle = reinterpret_cast<HTOUCHINPUT>(lParam);
  if (api.getTouchInputInfo && count > 0) {
    std::vector<TOUCHINPUT> inputs(count);
    if (api.getTouchInputInfo(touchHandle, count, inputs.data(), sizeof(TOUCHINPUT)) &&
        inputs[0].dwID != 0) {
      const TOUCHINPUT& input = inputs[0];
      POINT point = {input.x / 100, input.y / 100};
      ScreenToClient(hwnd_, &point);
      if (input.dwFlags & TOUCHEVENTF_DOWN) {
        if (!pushed_) {
          TakeNativeFocus();
          SetLastMousePos(point);
          if (Control* control = FindOwnControlAtPoint(point)) {
            touch_ = control;
            control->SetFocus();
            if (touch_ == control) {
              CaptureMouse();
              SendControlEvent(control, touchdown, 0, lParam);
            }
          }
        }
      } else if (input.dwFlags & TOUCHEVENTF_MOVE) {
        if (!pushed_ && !SamePoint(point, lastMousePos_)) {
          SetLastMousePos(point);
          if (touch_ && UpdateHover(point) && touch_) SendControlEvent(touch_, touchmove, 0, lParam);
        }
      } else if (input.dwFlags & TOUCHEVENTF_UP) {
        ReleasePushedControl();
        SetLastMousePos(point);
        ReleaseMouse();
        if (touch_) {
          Control* touched = touch_;
          SendControlEvent(touched, touchup, 0, lParam);
          touch_ = nullptr;
        }
      }
    }
  }
  if (api.closeTouchInputHandle) api.closeTouchInputHandle(touchHandle);
  return 0;
}

LRESULT Window::OnPointer(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  if (!IS_POINTER_PRIMARY_WPARAM(wParam)) {
    handled = true;  // only the primary contact drives the controls
    return 0;
  }
  const TouchInputApi& api = GetTouchInputApi();
  const UINT32 pointerId = GET_POINTERID_WPARAM(wParam);
  POINTER_INPUT_TYPE type = PT_POINTER;
  if (!api.getPointerType || !api.getPointerType(pointerId, &type)) return 0;
  POINT screen = {};
  float pressure = 0.0f;
  if (type == PT_TOUCH) {
    POINTER_TOUCH_INFO info = {};
    if (!api.getPointerTouchInfo || !api.getPointerTouchInfo(pointerId, &info)) return 0;
    screen = info.pointerInfo.ptPixelLocation;
    pressure = static_cast<float>(info.pressure) * kPressureScale;
  } else if (type == PT_PEN) {
    POINTER_PEN_INFO info = {};
    if (!api.getPointerPenInfo || !api.getPointerPenInfo(pointerId, &info)) return 0;
    screen = info.pointerInfo.ptPixelLocation;
    pressure = static_cast<float>(info.pressure) * kPressureScale;
  } else {
    return 0;  // mouse pointers become ordinary mouse messages
  }
  POINT point = screen;
  ScreenToClient(hwnd_, &point);

  bool sent = false;
  bool receives = false;
  auto send = [&](Control* control, EventType event) {
    sent = true;
    receives = control->IsReceivePointer();
    DispatchEvent(control, event, wParam, lParam, 0, pressure);
  };
  switch (message) {
    case WM_POINTERUPDATE:
      if (pushed_) {
        handled = true;
        return 0;
      }
      if (!SamePoint(point, lastMousePos_)) {
        SetLastMousePos(point);
        if (touch_ && UpdateHover(point) && touch_) send(touch_, pointermove);
      }
      break;
    case WM_POINTERDOWN:
      if (pushed_) {
        handled = true;
        return 0;
      }
      TakeNativeFocus();
      SetLastMousePos(point);
      if (Control* control = FindOwnControlAtPoint(point)) {
        touch_ = control;
        control->SetFocus();
        if (touch_ == control) {
          CaptureMouse();
          send(control, pointerdown);
        }
      }
      break;
    default:  // WM_POINTERUP, WM_POINTERLEAVE, WM_POINTERCAPTURECHANGED
      ReleasePushedControl();
      SetLastMousePos(point);
      if (message != WM_POINTERLEAVE) ReleaseMouse();
      if (touch_) {
        Control* touched = touch_;
        send(touched, pointerup);
        touch_ = nullptr;
      }
      break;
  }
  // Controls that take pointer input consume the message; for the others Windows
  // goes on to produce mouse messages.
  if (sent && receives) handled = true;
  return 0;
}

}  // namespace ui
