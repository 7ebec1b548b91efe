#pragma once
// What the program's logic asks of its surroundings: dialogs, the clock, the
// database engine, the printer, and ending the program. The program and the
// scenario runner each fill it with their own backends.
#include <functional>

namespace wb {

class Dialogs;
class Clock;
class DatabaseEngine;
class Printer;

struct Services {
    Dialogs* dialogs = nullptr;
    Clock* clock = nullptr;
    DatabaseEngine* databases = nullptr;
    Printer* printer = nullptr;
    // Ends the program at once (the event loop quits; nothing is asked).
    std::function<void()> endProgram;
};

}  // namespace wb
