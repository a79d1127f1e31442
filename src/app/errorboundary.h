#pragma once

#include <QApplication>
#include <functional>

namespace brimble {

class Platform;

// The one place that catches: an exception from any handler, tick or start-up step is shown
// in the error box and the event loop goes on. What was done before the failing step stays.
class ErrorBoundary {
public:
    static void install(Platform* platform);
    // Runs `step`, reporting what it throws. Returns false when it threw.
    static bool run(const std::function<void()>& step);
    // Wraps a handler for a signal connection.
    static std::function<void()> wrap(std::function<void()> handler);
    static void report(const QString& text);
    // Errors raised while an error box is open are not stacked on it (a failing timer would
    // otherwise open a new box every tick); they are shown one at a time once it closes.
    static int pending();
};

// Catches what escapes event handlers (key presses in a bound editor, paint, ...).
class BrimbleApplication : public QApplication {
public:
    BrimbleApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace brimble
