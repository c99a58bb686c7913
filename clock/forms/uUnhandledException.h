#pragma once

#include <exception>
#include <utility>

// The last stop of an exception nothing else handled: its message in the error box (on the main
// thread; elsewhere it goes to the log), after which the program carries on.
void ShowUnhandledException(const std::exception_ptr& failure);

// Runs `work`, showing any exception it raises as above. Event handlers use it so that a failure
// never unwinds through the toolkit's own frames.
template <typename Work> void RunGuarded(Work&& work)
{
    try {
        std::forward<Work>(work)();
    } catch (...) {
        ShowUnhandledException(std::current_exception());
    }
}
