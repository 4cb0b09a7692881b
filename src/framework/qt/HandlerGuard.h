// Running event handlers so that a failure never leaves them.
//
// An exception that escapes a handler is shown in the error box (the
// application title, the stop icon, one "OK" button); the rest of that
// handler is skipped and the program goes on. Exceptions must never travel
// through Qt's event dispatch, so every entry from Qt into a handler of the
// windows goes through RunGuarded (or a Guarded wrapper).
#pragma once

#include <QString>
#include <exception>
#include <type_traits>
#include <utility>

namespace framework {

// The text of an exception for the user: the CP932 message of
// framework::Exception converted, else what() read as UTF-8.
QString ExceptionMessage(const std::exception& e);

// The error box's text for `message`: a "." is appended when the message's
// last character sorts after "." (so "abc" and a Japanese message get one,
// "abc." and "abc!" do not). An empty message stays empty.
QString ErrorBoxText(const QString& message);

// Shows the exception that is being handled in the error box. Call only
// inside a catch block.
void ShowCurrentException() noexcept;

// Runs `handler`; an exception that leaves it is shown in the error box.
// Returns false when the handler failed.
template <class F>
bool RunGuarded(F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

namespace detail {
// Calls `handler` with `args` when it takes them, else without. A function
// template of its own: clang 14 compiles a discarded branch inside a lambda
// nested in a generic lambda as well.
template <class F, class... A>
void CallWithArgumentsIfTaken(F& handler, A&&... args) {
    if constexpr (std::is_invocable_v<F&, A...>)
        handler(std::forward<A>(args)...);
    else
        handler();
}
}  // namespace detail

// Wraps `handler` into a callable for a Qt connection that runs it through
// RunGuarded, passing on the signal's arguments:
//   connect(button, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
template <class F>
auto Guarded(F handler) {
    return [handler = std::move(handler)](auto&&... args) mutable {
        RunGuarded([&] {
            detail::CallWithArgumentsIfTaken(handler, std::forward<decltype(args)>(args)...);
        });
    };
}

}  // namespace framework
