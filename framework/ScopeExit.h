#pragma once
// Runs an action when the scope is left, unless released first: the undo of a half-done operation that
// has several ways out.

#include <utility>

namespace corvane {

template <typename Action> class CScopeExit
{
public:
    explicit CScopeExit(Action action) : action_(std::move(action)) {}
    ~CScopeExit()
    {
        if (armed_)
            action_();
    }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

    // The operation succeeded: nothing is undone.
    void Release() { armed_ = false; }

private:
    Action action_;
    bool armed_ = true;
};

} // namespace corvane
