#include "app/errorboundary.h"

#include "platform/platform.h"

#include <QStringList>
#include <exception>

namespace brimble {

namespace {

Platform* g_platform = nullptr;
bool g_showing = false;
QStringList g_queue;

} // namespace

void ErrorBoundary::install(Platform* platform) { g_platform = platform; }

void ErrorBoundary::report(const QString& text) {
    if (!g_platform)
        return;
    if (g_showing) {
        if (!g_queue.contains(text))
            g_queue << text;
        return;
    }
    g_showing = true;
    g_platform->showError(text);
    while (!g_queue.isEmpty())
        g_platform->showError(g_queue.takeFirst());
    g_showing = false;
}

int ErrorBoundary::pending() { return int(g_queue.size()); }

bool ErrorBoundary::run(const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        report(QString::fromUtf8(e.what()));
    } catch (...) {
        report(QStringLiteral("Unknown error."));
    }
    return false;
}

std::function<void()> ErrorBoundary::wrap(std::function<void()> handler) {
    return [h = std::move(handler)] { run(h); };
}

BrimbleApplication::BrimbleApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool BrimbleApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    ErrorBoundary::run([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace brimble
