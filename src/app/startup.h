#pragma once

#include <memory>

namespace brimble {

class Platform;
class SessionEnd;
class TForm1;

// The program's windows, made once in their order; afterwards only shown and hidden.
class Program {
public:
    explicit Program(Platform& platform);
    ~Program();
    // Makes the windows, runs the start-up sequence and goes to the tray.
    void start();
    TForm1& mainWindow() { return *form1_; }

private:
    Platform& platform_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<SessionEnd> sessionEnd_;
};

} // namespace brimble
