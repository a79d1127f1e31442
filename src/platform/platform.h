#pragma once

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QTextDocument;
class QWidget;

namespace brimble {

// Where the start-at-log-on value lives: the user's own place or the machine-wide one.
enum class AutorunRoot { CurrentUser, LocalMachine };

// The registry's Run keys on Windows, XDG autostart entries elsewhere. Every call reports
// failure by its result and never throws: the caller ignores failures silently.
class AutorunStore {
public:
    virtual ~AutorunStore() = default;
    // The text of the value `name`, or nullopt when the key or the value is missing or unreadable.
    virtual std::optional<QString> read(AutorunRoot root, const QString& name) = 0;
    // Writes `text` as the value `name`. The machine-wide key is never created.
    virtual bool write(AutorunRoot root, const QString& name, const QString& text) = 0;
    virtual bool remove(AutorunRoot root, const QString& name) = 0;
};

// Everything that touches the world outside the process. The program gets the real one;
// tests get a fake that records what was asked and answers the dialogs.
class Platform {
public:
    virtual ~Platform() = default;

    virtual QDateTime now() const = 0;
    // The local date and time as days since 30 December 1899, the time of day as the
    // fraction: what `now()` says, where the platform may read it more cheaply.
    virtual double nowDays() const {
        const QDateTime t = now();
        const double day = double(QDate(1899, 12, 30).daysTo(t.date()));
        const double frac = t.time().msecsSinceStartOfDay() / 86400000.0;
        return day >= 0 ? day + frac : day - frac;
    }
    virtual QString programFilePath() const = 0;
    // The folder of the memo database, with its trailing separator. The program's own folder
    // unless the platform knows better (an installed program keeps it in the user's data).
    virtual QString databaseDirectory() const {
        return QDir::toNativeSeparators(QFileInfo(programFilePath()).absolutePath() + QLatin1Char('/'));
    }
    virtual QSize primaryScreenSize() const = 0;
    // The screens' rectangles on the desktop, the primary one first.
    virtual QList<QRect> screenGeometries() const {
        return {QRect(QPoint(0, 0), primaryScreenSize())};
    }
    virtual void beep() = 0;

    virtual void showError(const QString& text) = 0;
    virtual void showInformation(const QString& text) = 0;

    // Dialogs: nullopt / empty when the user cancels.
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    virtual QString openFileName(const QString& caption, const QString& filter) = 0;
    virtual QString openPictureName() = 0;
    // Prints the document on a printer the user chooses; false when cancelled or failed.
    virtual bool printDocument(const QTextDocument& document) = 0;

    // Opens a link or a file with its default action. The result is only informative.
    virtual bool shellOpen(const QString& target) = 0;
    // Starts the desktop's character map program; false when none is found.
    virtual bool startCharacterMap() = 0;

    virtual AutorunStore& autorunStore() = 0;
    virtual bool trayAvailable() const = 0;
};

} // namespace brimble
