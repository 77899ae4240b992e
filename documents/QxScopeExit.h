#pragma once
// Runs a function when the scope ends, also when it ends by an exception: for restoring editor state
// that a transfer or a series of line changes switched off.

#include <utility>

template <typename Function>
class ScopeExit {
public:
    explicit ScopeExit(Function function) : function_(std::move(function)) {}
    ~ScopeExit() { function_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Function function_;
};
