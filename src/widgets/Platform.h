#pragma once
// The few platform services the handlers use besides widgets: the system
// beep and the busy pointer. Tests count beeps through a recording subclass.

namespace kel {

class Platform {
public:
    virtual ~Platform() = default;
    virtual void beep();
    virtual void busyPointer();
    virtual void normalPointer();
};

} // namespace kel
