#pragma once
// A subsystem of the main window: a small class holding the window and
// implementing the handlers of its topic. connect() wires its handlers to the
// controls' events; Form1's constructor installs each subsystem once.
namespace wb {

class Form1;

class Subsystem {
public:
    explicit Subsystem(Form1& form) : f(form) {}
    virtual ~Subsystem() = default;
    Subsystem(const Subsystem&) = delete;
    Subsystem& operator=(const Subsystem&) = delete;
    virtual void connect() = 0;

protected:
    Form1& f;
};

}  // namespace wb
