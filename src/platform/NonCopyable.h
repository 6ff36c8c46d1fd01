#pragma once

namespace platform {

/// Private base of a class whose objects are never copied or assigned: they own what they
/// hold, or others keep pointers to them. Moving is ruled out with copying.
class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

} // namespace platform
