#pragma once

#include "platform/platform.h"
#include "printers.h"

#include <QMap>
#include <QStringList>
#include <deque>

namespace brimble::test {

// Autorun store kept in memory, with switchable failures.
class FakeAutorunStore : public AutorunStore {
public:
    QMap<QString, QString> currentUser, localMachine;
    bool failWrites = false;

    std::optional<QString> read(AutorunRoot root, const QString& name) override {
        const auto& m = root == AutorunRoot::CurrentUser ? currentUser : localMachine;
        if (!m.contains(name))
            return std::nullopt;
        return m.value(name);
    }
    bool write(AutorunRoot root, const QString& name, const QString& text) override {
        if (failWrites)
            return false;
        (root == AutorunRoot::CurrentUser ? currentUser : localMachine)[name] = text;
        return true;
    }
    bool remove(AutorunRoot root, const QString& name) override {
        return (root == AutorunRoot::CurrentUser ? currentUser : localMachine).remove(name) > 0;
    }
};

// Records what the program asked of the outside world and answers dialogs from queues.
// No modal window is ever shown.
class FakePlatform : public Platform {
public:
    QDateTime clock = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0));
    QString programPath = QStringLiteral("/opt/brimble/brimble");
    QSize screen = QSize(1024, 768);
    bool tray = true;

    int beeps = 0;
    QStringList errors, informations, opened, printed;
    int charmapStarts = 0;
    std::deque<std::optional<QFont>> fontAnswers;
    // What the font and colour dialogs were opened on, in order.
    QList<QFont> fontsAsked;
    QList<QColor> colorsAsked;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<QString> fileAnswers, pictureAnswers;
    FakeAutorunStore autorun;

    QDateTime now() const override { return clock; }
    QString programFilePath() const override { return programPath; }
    QSize primaryScreenSize() const override { return screen; }
    void beep() override { ++beeps; }
    void showError(const QString& text) override { errors << text; }
    void showInformation(const QString& text) override { informations << text; }
    std::optional<QFont> chooseFont(const QFont& initial) override {
        fontsAsked << initial;
        return take(fontAnswers);
    }
    std::optional<QColor> chooseColor(const QColor& initial) override {
        colorsAsked << initial;
        return take(colorAnswers);
    }
    QString openFileName(const QString&, const QString&) override {
        return fileAnswers.empty() ? QString() : take(fileAnswers);
    }
    QString openPictureName() override {
        return pictureAnswers.empty() ? QString() : take(pictureAnswers);
    }
    bool printDocument(const QTextDocument& document) override;
    bool shellOpen(const QString& target) override {
        opened << target;
        return true;
    }
    bool startCharacterMap() override {
        ++charmapStarts;
        return true;
    }
    AutorunStore& autorunStore() override { return autorun; }
    bool trayAvailable() const override { return tray; }

private:
    template <typename T> static T take(std::deque<T>& q) {
        if (q.empty())
            return T{};
        T v = std::move(q.front());
        q.pop_front();
        return v;
    }
};

} // namespace brimble::test
