#pragma once

#include "reminders/hooks.h"
#include "store/database.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QMenu;
class QSplitter;

namespace brimble {

class Platform;
class PopupManager;
class Scheduler;
class TAutoRun;
class TTrayIcon;
class MemoEditor;

// The main window: a frame that owns the database, the reminders, the tray icon and the
// autorun component for the whole run, and routes their events. The behaviour lives in the
// subsystems' own classes.
class TForm1 : public QMainWindow, public MemoListHooks {
    Q_OBJECT
public:
    explicit TForm1(Platform& platform, QWidget* parent = nullptr);
    ~TForm1() override;

    // Start-up sequence; each failing step is reported and the later database steps skipped.
    void FormCreate();
    // Goes to the tray (or, with no tray on this desktop, minimized to the taskbar).
    void startInTray();

    // Tray menu "Open Brimble".
    void openFromTray();
    // Another start of the program asked this copy to show itself: out of the tray as "Open
    // Brimble" does, or to the front when the window is open already.
    void anotherStart();
    // Runs before the window hides into the tray.
    void CTIMinimizeToTray();
    void FormActivate();
    void popupsClick();
    // The clock line's tick.
    void Timer2Timer();
    // Options > "Customize", Options > "Edit History" and Help > "About": show their
    // windows, modeless.
    void Customize1Click();
    void EditHistory1Click();
    void About1Click();
    // The windows those items show, made after the main window; giving one enables its item.
    void setCustomizeWindow(QWidget* window);
    void setEditHistoryWindow(QWidget* window);
    void setAboutWindow(QWidget* window);

    void gridchange2() override;
    void setEditorColor(int bgr) override;
    // The colour of the memo list's selected panel (0x00BBGGRR).
    void setListSelectionColor(quint32 bgr);

    Database& database() { return db_; }
    Scheduler& scheduler() { return *scheduler_; }
    PopupManager& popups() { return *popups_; }
    TTrayIcon& tray() { return *CTI_; }
    TAutoRun& autorun() { return *AR_; }
    MemoEditor& editor() { return *editor_; }
    QTimer& Timer2() { return timer2_; }
    QLabel& Label2() { return *label2_; }
    const QString& programDirectory() const { return programDir_; }
    // Whether the window lives in the tray now (hidden or, with no tray, minimized).
    bool inTray() const { return inTray_; }
    bool closed() const { return closed_; }
    // Just started with no tray: a window that comes up normal now was put so by the window
    // manager, and is minimized again.
    bool stillStartingMinimized() const;

    // Places that later work fills: the memo list, the editor and its toolbars.
    QWidget* Panel1() const { return panel1_; }
    QWidget* Panel3() const { return panel3_; }
    QWidget* Panel4() const { return panel4_; }
    QWidget* Panel7() const { return panel7_; }
    QWidget* listHost() const { return listHost_; }
    QWidget* editorHost() const { return editorHost_; }
    QWidget* toolBar2Host() const { return toolBar2Host_; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildClientArea();
    void FormClose();
    void hideToTray();
    void watchTray();

    Platform& platform_;
    Database db_;
    std::unique_ptr<PopupManager> popups_;
    std::unique_ptr<Scheduler> scheduler_;
    std::unique_ptr<TTrayIcon> CTI_;
    std::unique_ptr<TAutoRun> AR_;
    std::unique_ptr<MemoEditor> editor_; // goes before the views it is bound to
    QTimer timer2_;
    QTimer trayWatch_;
    QElapsedTimer startingMinimized_; // valid from a start with no tray until minimized
    QString programDir_;

    QLabel* label2_ = nullptr;
    QWidget* panel1_ = nullptr;
    QWidget* panel3_ = nullptr;
    QWidget* panel4_ = nullptr;
    QWidget* panel7_ = nullptr;
    QWidget* listHost_ = nullptr;
    QWidget* editorHost_ = nullptr;
    QWidget* toolBar2Host_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QAction* customize1_ = nullptr;
    QAction* editHistory1_ = nullptr;
    QAction* about1_ = nullptr;
    QWidget* form2_ = nullptr;
    QWidget* form3_ = nullptr;
    QWidget* about_ = nullptr;

    bool inTray_ = false;
    bool shownOnce_ = false;
    bool closed_ = false;
    bool hiding_ = false;
};

} // namespace brimble
