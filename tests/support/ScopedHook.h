// Global hooks that a test installs are given back when its scope ends, also when an
// early assertion fails, so no hook leaks into later tests.
#pragma once

#include <utility>

// A global variable (RegExLanguageCode, RegExprDefaults) set to a value while it lives.
template <class T> class ScopedValue {
public:
    ScopedValue(T& Target, T Value)
        : FTarget(Target), FSaved(std::exchange(Target, std::move(Value))) {}
    // Keeps the present value, to be given back whatever the test changes in it.
    explicit ScopedValue(T& Target) : FTarget(Target), FSaved(Target) {}
    ~ScopedValue() { FTarget = std::move(FSaved); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& FTarget;
    T FSaved;
};

// A hook installed through its setter, which gives back the hook it replaces
// (SetTextPictureRenderer, SetTickCountSource).
template <class Hook> class ScopedHook {
public:
    template <class Value>
    ScopedHook(Hook (*Set)(Hook), Value&& Installed)
        : FSet(Set), FSaved(Set(Hook(std::forward<Value>(Installed)))) {}
    ~ScopedHook() { FSet(std::move(FSaved)); }
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;

private:
    Hook (*FSet)(Hook);
    Hook FSaved;
};
template <class Hook, class Value> ScopedHook(Hook (*)(Hook), Value&&) -> ScopedHook<Hook>;
