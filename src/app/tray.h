#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

namespace brimble {

// The notification-area icon `CTI` with its menu `PopupMenu1`. The right button opens the
// menu; a left click or a double-click does nothing, since the menu has no default item.
class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QObject* parent = nullptr);

    void show();
    void hide();
    bool isVisible() const { return icon_.isVisible(); }
    QMenu& PopupMenu1() { return menu_; }
    QAction& popups() { return *popups_; }
    QString toolTip() const { return icon_.toolTip(); }
    QSystemTrayIcon& icon() { return icon_; }

signals:
    void openRequested();
    void popupsClicked();
    void cascadeRequested();
    void tileRequested();
    void exitRequested();

private:
    QSystemTrayIcon icon_;
    QMenu menu_;
    QAction* popups_ = nullptr;
};

// The program's icon, drawn here so no image plugin is needed.
QIcon brimbleIcon();

} // namespace brimble
