#pragma once

#include <QObject>
#include <functional>

namespace brimble {

// Turns the end of the session (logout, SIGTERM, SIGINT) into a normal close of the main
// window, so the shutdown steps run and nothing is lost.
class SessionEnd : public QObject {
    Q_OBJECT
public:
    explicit SessionEnd(std::function<void()> close, QObject* parent = nullptr);
    ~SessionEnd() override;

private:
    std::function<void()> close_;
};

} // namespace brimble
