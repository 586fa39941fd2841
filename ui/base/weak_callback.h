// Weak callbacks: callbacks that point back at their owner and do nothing once the
// owner is gone or has cancelled them.
//
// Every owner carries a liveness token (WeakFlag) that it alone holds strongly. Each
// callback it hands out keeps only a weak reference to that token; a call whose token
// is gone returns the result type's zero value without touching the owner. No
// registration is needed, so a control deleted while a timer task or an event still
// refers to it is safe.
//
// Owners, callbacks and their calls live on the user-interface thread; only the
// reference counts are atomic, so weak references may be copied or tested anywhere.
#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace nbase {

// The liveness token. It carries no data: only its reference counts matter.
class WeakFlag {};

// A callable guarded by a weak reference to its owner's flag.
template <typename Callable>
class WeakCallback {
 public:
  WeakCallback(std::weak_ptr<WeakFlag> flag, Callable callable)
      : flag_(std::move(flag)), callable_(std::move(callable)) {}

  // Calls the bound callable while the owner's flag lives; otherwise returns the
  // result type's zero value (false, a null pointer, nothing for void).
  template <typename... Args>
  std::invoke_result_t<Callable&, Args&&...> operator()(Args&&... args) const {
    using Result = std::invoke_result_t<Callable&, Args&&...>;
    if (flag_.expired()) {
      if constexpr (std::is_void_v<Result>) {
        return;
      } else {
        return Result{};
      }
    }
    return std::invoke(callable_, std::forward<Args>(args)...);
  }

  // True when the weak reference is empty or its flag has been cancelled or destroyed.
  bool Expired() const { return flag_.expired(); }

  const std::weak_ptr<WeakFlag>& Flag() const { return flag_; }

 private:
  std::weak_ptr<WeakFlag> flag_;
  // Bound callables may keep state between calls, as a plain callable would.
  mutable Callable callable_;
};

// Base of every object that hands out callbacks bound to itself.
class SupportWeakCallback {
 public:
  SupportWeakCallback() = default;
  // A copy is a different owner: callbacks bound to the original must not keep
  // running on its behalf, so the copy starts without a flag and assignment keeps
  // the target's own flag.
  SupportWeakCallback(const SupportWeakCallback&) {}
  SupportWeakCallback& operator=(const SupportWeakCallback&) { return *this; }
  virtual ~SupportWeakCallback() = default;

  // A weak reference to this object's flag, creating the flag on first use or after
  // it was cancelled. Every call returns the same flag until then.
  std::weak_ptr<WeakFlag> GetWeakFlag() {
    if (!flag_) flag_ = std::make_shared<WeakFlag>();
    return flag_;
  }

  // Wraps a callable so that it runs only while this object's current flag lives.
  template <typename Callable>
  WeakCallback<std::decay_t<Callable>> ToWeakCallback(Callable&& callable) {
    return WeakCallback<std::decay_t<Callable>>(GetWeakFlag(), std::forward<Callable>(callable));
  }

  // Whether a weak reference was requested and is still live; an object that never
  // handed out a callback has no flag.
  bool HasWeakFlag() const { return flag_ != nullptr; }

 protected:
  // Drops this object's flag: every weak reference handed out so far expires at once.
  void ReleaseWeakFlag() { flag_.reset(); }

 private:
  std::shared_ptr<WeakFlag> flag_;
};

// A flag object that owners hold as a member to cancel their own pending callbacks
// while they live (for instance an animation player's timer task).
class WeakCallbackFlag final : public SupportWeakCallback {
 public:
  // Expires every callback bound through this flag so far; callbacks bound later work.
  void Cancel() { ReleaseWeakFlag(); }
};

// Binds a member function to its object (further arguments bound or left open with
// std::placeholders) and guards it with the object's weak flag:
//   Bind(&Control::OnClick, this, std::placeholders::_1)
template <typename Method, typename Owner, typename... Args>
auto Bind(Method method, Owner* owner, Args&&... args) {
  static_assert(std::is_base_of_v<SupportWeakCallback, Owner>, "the owner must support weak callbacks");
  return owner->ToWeakCallback(std::bind(method, owner, std::forward<Args>(args)...));
}

// The same binding guarded by a separate flag object instead of the owner itself.
template <typename Method, typename Owner, typename... Args>
auto Bind(WeakCallbackFlag& flag, Method method, Owner* owner, Args&&... args) {
  return flag.ToWeakCallback(std::bind(method, owner, std::forward<Args>(args)...));
}

}  // namespace nbase
