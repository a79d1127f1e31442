#pragma once

#include "platform/platform.h"

#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <memory>

class QPrinter;

namespace brimble {

// The local date and time as days since 30 December 1899, read cheaply enough for every row
// of a scan; it follows changes of the system clock and of the time zone.
double localNowDays();

// The platform of the running program: Qt's clock, screens, dialogs, printing, desktop
// services and tray, and this system's autorun store. Dialogs and message boxes belong to
// the owner window once one is set.
class RealPlatform : public Platform {
public:
    RealPlatform();
    ~RealPlatform() override;

    void setOwner(QWidget* owner) { owner_ = owner; }
    QWidget* owner() const { return owner_; }

    QDateTime now() const override;
    QString programFilePath() const override;
    // Beside the program first, else the user's copy of the installed template; taken once.
    QString databaseDirectory() const override;
    QSize primaryScreenSize() const override;
    double nowDays() const override;
    QList<QRect> screenGeometries() const override;
    void beep() override;

    // Titled with the application's name.
    void showError(const QString& text) override;
    void showInformation(const QString& text) override;

    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    // `filter` in Qt's form ("Text files (*.txt);;All files (*)"); empty means all files.
    QString openFileName(const QString& caption, const QString& filter) override;
    // Qt's own file dialog, which can show a preview of the selected picture.
    QString openPictureName() override;
    bool printDocument(const QTextDocument& document) override;

    bool shellOpen(const QString& target) override;
    bool startCharacterMap() override;

    AutorunStore& autorunStore() override { return *autorun_; }
    bool trayAvailable() const override;

private:
    QWidget* dialogOwner() const;

    QPointer<QWidget> owner_;
    std::unique_ptr<AutorunStore> autorun_;
    mutable QString databaseDir_;
};

// What shellOpen hands to the desktop: a URL as it stands, a path as a file URL, and
// "www." / "ftp." addresses with their scheme. An empty URL for an empty text.
QUrl shellOpenUrl(const QString& target);

// The character map program to start: "charmap.exe" on Windows, elsewhere the full path of
// the first found of gucharmap, gnome-characters and kcharselect; empty when none is found.
QString characterMapProgram();

// The picture dialog's file types: all of them at once, then one per extension.
QStringList pictureFilters();

// Paper kept free at each edge of the printable area, in printer dots.
constexpr int kPrintMargin = 200;

// Prints a memo as it looks: its formatting and pictures, wrapped inside the margins and
// continued over as many pages as it needs; an empty memo prints one blank page. False when
// the printer fails.
bool printMemo(const QTextDocument& document, QPrinter& printer);

} // namespace brimble
