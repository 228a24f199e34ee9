// Lets others learn that an object is gone: a watcher taken from Watch()
// expires when the object is destroyed. Painters hold such watchers on the
// canvas and the bitmap they draw onto, so they stop instead of drawing onto
// freed memory. A copy is a new object with a token of its own.
#pragma once

#include <memory>

class TLifetime {
public:
    TLifetime() = default;
    TLifetime(const TLifetime&) : TLifetime() {}
    TLifetime& operator=(const TLifetime&) { return *this; }

    using TWatcher = std::weak_ptr<const void>;
    TWatcher Watch() const { return FToken; }

private:
    std::shared_ptr<const int> FToken = std::make_shared<const int>(0);
};
