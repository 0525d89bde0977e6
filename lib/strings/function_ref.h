// A callable passed down a call without being copied or allocated: the caller's function object
// must outlive the call it is passed to (a lambda written in the argument list does).
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

namespace qv {

template <class Signature>
class FunctionRef;

template <class R, class... Args>
class FunctionRef<R(Args...)> {
  public:
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, FunctionRef> &&
                                                std::is_invocable_r_v<R, F &, Args...>>>
    FunctionRef(F &&f) noexcept  // NOLINT: converts implicitly, as std::function does
        : object_(const_cast<void *>(static_cast<const void *>(std::addressof(f)))),
          call_([](void *object, Args... args) -> R {
              return (*static_cast<std::remove_reference_t<F> *>(object))(std::forward<Args>(args)...);
          }) {}

    R operator()(Args... args) const { return call_(object_, std::forward<Args>(args)...); }

  private:
    void *object_;
    R (*call_)(void *, Args...);
};

}  // namespace qv
