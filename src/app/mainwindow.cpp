#include "app/mainwindow.h"

#include "app/autorun.h"
#include "app/errorboundary.h"
#include "app/tray.h"
#include "editor/memoeditor.h"
#include "editor/memolist.h"
#include "platform/platform.h"
#include "reminders/popups.h"
#include "reminders/scheduler.h"
#include "store/datetime.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace brimble {

namespace {

QWidget* panel(QWidget* parent, const char* name) {
    auto* w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace

TForm1::TForm1(Platform& platform, QWidget* parent) : QMainWindow(parent), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brimble! (version 1.0)"));
    setWindowIcon(brimbleIcon());
    resize(600, 516);
    setMinimumSize(600, 515);
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSize(8);
    f.setStyleHint(QFont::SansSerif);
    setFont(f);
    setBackgroundRole(QPalette::Window);

    popups_ = std::make_unique<PopupManager>(db_, platform_, *this, this);
    scheduler_ = std::make_unique<Scheduler>(db_, platform_, *popups_, this);
    CTI_ = std::make_unique<TTrayIcon>(this);
    // The start-at-log-on component reads its state when the window is loaded.
    AR_ = std::make_unique<TAutoRun>(platform_);
    AR_->load();

    buildMenus();
    buildClientArea();
    editor_ = std::make_unique<MemoEditor>(
        db_, platform_,
        MemoEditorHosts{listHost_, editorHost_, panel1_, panel3_, panel4_, toolBar2Host_,
                        panel7_},
        [this](bool on) { scheduler_->setEnabled(on); },
        [](const std::function<void()>& step) { ErrorBoundary::run(step); });
    // The pop-up commands of the lower toolbar.
    connect(editor_->ToolButton6(), &QToolButton::clicked, this,
            ErrorBoundary::wrap([this] { popups_->ToolButton6Click(); }));
    connect(editor_->ToolButton4(), &QToolButton::clicked, this,
            ErrorBoundary::wrap([this] { popups_->ToolButton4Click(); }));
    connect(editor_->ToolButton8(), &QToolButton::clicked, this,
            ErrorBoundary::wrap([this] { popups_->tileit(); }));
    connect(editor_->ToolButton7(), &QToolButton::clicked, this,
            ErrorBoundary::wrap([this] { popups_->cascadeit(); }));
    connect(editor_->ToolButton9(), &QToolButton::clicked, this,
            ErrorBoundary::wrap([this] { popups_->ToolButton9Click(); }));

    timer2_.setObjectName(QStringLiteral("Timer2"));
    timer2_.setInterval(1000);
    connect(&timer2_, &QTimer::timeout, this, ErrorBoundary::wrap([this] { Timer2Timer(); }));
    timer2_.start();

    connect(CTI_.get(), &TTrayIcon::openRequested, this,
            ErrorBoundary::wrap([this] { openFromTray(); }));
    connect(CTI_.get(), &TTrayIcon::popupsClicked, this,
            ErrorBoundary::wrap([this] { popupsClick(); }));
    connect(CTI_.get(), &TTrayIcon::exitRequested, this, [this] { close(); });
    // "Arrange" acts on the pop-up windows.
    connect(CTI_.get(), &TTrayIcon::tileRequested, this,
            ErrorBoundary::wrap([this] { popups_->tileit(); }));
    connect(CTI_.get(), &TTrayIcon::cascadeRequested, this,
            ErrorBoundary::wrap([this] { popups_->cascadeit(); }));

    // A desktop may gain a tray after start (a panel restarted or an extension enabled).
    trayWatch_.setInterval(3000);
    connect(&trayWatch_, &QTimer::timeout, this, [this] { watchTray(); });
}

TForm1::~TForm1() = default;

void TForm1::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    connect(menuItem(file, "Exit2", QStringLiteral("E&xit")), &QAction::triggered, this,
            [this] { close(); });
    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    // The items are enabled once their windows are handed in.
    customize1_ = menuItem(options, "Customize1", QStringLiteral("&Customize"));
    customize1_->setEnabled(false);
    connect(customize1_, &QAction::triggered, this,
            ErrorBoundary::wrap([this] { Customize1Click(); }));
    editHistory1_ = menuItem(options, "EditHistory1", QStringLiteral("&Edit History"));
    editHistory1_->setEnabled(false);
    connect(editHistory1_, &QAction::triggered, this,
            ErrorBoundary::wrap([this] { EditHistory1Click(); }));
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    about1_ = menuItem(help, "About1", QStringLiteral("&About"));
    about1_->setEnabled(false);
    connect(about1_, &QAction::triggered, this, ErrorBoundary::wrap([this] { About1Click(); }));
}

namespace {

void showModeless(QWidget* window) {
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void TForm1::setCustomizeWindow(QWidget* window) {
    form2_ = window;
    customize1_->setEnabled(window != nullptr);
}

void TForm1::setEditHistoryWindow(QWidget* window) {
    form3_ = window;
    editHistory1_->setEnabled(window != nullptr);
}

void TForm1::setAboutWindow(QWidget* window) {
    about_ = window;
    about1_->setEnabled(window != nullptr);
}

void TForm1::Customize1Click() { showModeless(form2_); }

void TForm1::EditHistory1Click() { showModeless(form3_); }

void TForm1::About1Click() { showModeless(about_); }

void TForm1::buildClientArea() {
    auto* central = panel(this, "client");
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    splitter_ = new QSplitter(Qt::Horizontal, central);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(8);
    splitter_->setChildrenCollapsible(false);

    // The memo list and the editor side are filled by the memo list work.
    listHost_ = panel(splitter_, "DBCtrlGrid1Host");
    listHost_->setMinimumWidth(60);
    new QVBoxLayout(listHost_);
    listHost_->layout()->setContentsMargins(0, 0, 0, 0);

    panel3_ = panel(splitter_, "Panel3");
    auto* side = new QVBoxLayout(panel3_);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(0);
    label2_ = new QLabel(panel3_);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setAlignment(Qt::AlignCenter);
    label2_->setFixedHeight(19);
    QFont clock(QStringLiteral("Arial"));
    clock.setPixelSize(16);
    clock.setBold(true);
    label2_->setFont(clock);
    side->addWidget(label2_);
    toolBar2Host_ = panel(panel3_, "ToolBar2Host");
    toolBar2Host_->setFixedHeight(30);
    side->addWidget(toolBar2Host_);
    auto* middle = panel(panel3_, "middle");
    auto* mid = new QHBoxLayout(middle);
    mid->setContentsMargins(0, 0, 0, 0);
    mid->setSpacing(0);
    editorHost_ = panel(middle, "memo1Host");
    new QVBoxLayout(editorHost_);
    editorHost_->layout()->setContentsMargins(0, 0, 0, 0);
    mid->addWidget(editorHost_, 1);
    panel7_ = panel(middle, "Panel7");
    panel7_->setFixedWidth(20);
    mid->addWidget(panel7_);
    side->addWidget(middle, 1);
    panel4_ = panel(panel3_, "Panel4");
    panel4_->setFixedHeight(41);
    side->addWidget(panel4_);

    splitter_->addWidget(listHost_);
    splitter_->addWidget(panel3_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({171, 600 - 171 - 8});
    outer->addWidget(splitter_, 1);

    panel1_ = panel(central, "Panel1");
    panel1_->setFixedHeight(47);
    outer->addWidget(panel1_);
    setCentralWidget(central);
}

void TForm1::FormCreate() {
    // 1. A connection left open is closed first.
    db_.ADOConnection1.close();
    // 2. The database's directory, with its trailing separator, for the whole run: the
    // program's own, or the user's data folder when the program is installed.
    programDir_ = platform_.databaseDirectory();
    // 3-4. Tiling margins and the empty pop-up list are set up with the reminders.
    // 5. Every `t` and `tt` prints hours and minutes.
    formatSettings().shortTimeFormat = QStringLiteral("hh:mm");
    formatSettings().longTimeFormat = QStringLiteral("hh:mm");
    Timer2Timer();
    // 6. Connect, then the views in their order; a failure stops the database steps only.
    ErrorBoundary::run([this] {
        db_.ADOConnection1.setConnectionString(Connection::connectionStringFor(programDir_));
        db_.ADOConnection1.open();
        db_.config.open();
        db_.bms.open();
        scheduler_->resetpop();
        db_.BM.open();
        db_.bmall.open();
    });
}

void TForm1::startInTray() {
    if (platform_.trayAvailable()) {
        CTI_->show();
        inTray_ = true;
        hide();
    } else {
        // No notification area: stay reachable as a minimized window in the taskbar.
        inTray_ = true;
        showMinimized();
        startingMinimized_.start(); // after our own change of state: the next is the system's
        trayWatch_.start();
    }
}

bool TForm1::stillStartingMinimized() const {
    // Some window managers (openbox) map a window normal whatever state it asks to start in;
    // for a moment after start, coming up normal is theirs, not the user's restoring it.
    constexpr qint64 kStartGraceMs = 1500;
    return startingMinimized_.isValid() && startingMinimized_.elapsed() <= kStartGraceMs;
}

void TForm1::watchTray() {
    if (!platform_.trayAvailable())
        return;
    trayWatch_.stop();
    CTI_->show();
    if (inTray_ && isMinimized())
        hide();
}

void TForm1::Timer2Timer() {
    label2_->setText(formatDateTime(patterns::clock, platform_.now()));
}

void TForm1::CTIMinimizeToTray() {
    popups_->closepop();
    scheduler_->setEnabled(true);
}

void TForm1::openFromTray() {
    scheduler_->setEnabled(false);
    popups_->closepop();
    if (db_.BM.isOpen() && !db_.BM.isEmpty())
        setEditorColor(db_.BM.intValue(QStringLiteral("bgcolor")));
    inTray_ = false;
    if (isMinimized() || !isVisible())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TForm1::anotherStart() {
    if (inTray_) {
        openFromTray();
        return;
    }
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TForm1::FormActivate() { editor_->FormActivate(); }

void TForm1::popupsClick() {
    QAction& item = CTI_->popups();
    if (item.isChecked()) {
        item.setChecked(false);
        scheduler_->setEnabled(false);
        popups_->closepop();
    } else {
        item.setChecked(true);
        scheduler_->setEnabled(true);
    }
}

void TForm1::gridchange2() { editor_->gridchange2(); }

void TForm1::setEditorColor(int bgr) {
    // Called when the list's view was re-opened under the editor ("Open Brimble", closing the
    // pop-ups): the editor shows the current memo's colour, and its date row follows.
    editor_->setEditorColor(quint32(bgr));
    editor_->showCurrentDateRow();
}

void TForm1::setListSelectionColor(quint32 bgr) { editor_->DBCtrlGrid1()->setSelectionColor(bgr); }

void TForm1::hideToTray() {
    if (hiding_)
        return;
    hiding_ = true;
    ErrorBoundary::run([this] { CTIMinimizeToTray(); });
    inTray_ = true;
    if (platform_.trayAvailable()) {
        CTI_->show();
        // Hiding from inside the state change confuses some window managers: do it next.
        QTimer::singleShot(0, this, [this] {
            hide();
            hiding_ = false;
        });
    } else {
        hiding_ = false;
        trayWatch_.start();
    }
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !closed_) {
        auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const bool wasMinimized = change->oldState() & Qt::WindowMinimized;
        if (isMinimized() && !wasMinimized && !inTray_) {
            hideToTray();
        } else if (!isMinimized() && inTray_ && !platform_.trayAvailable() &&
                   stillStartingMinimized()) {
            QTimer::singleShot(0, this, [this] {
                if (!isMinimized())
                    setWindowState(windowState() | Qt::WindowMinimized);
            });
        } else if (!isMinimized() && wasMinimized && inTray_ && !platform_.trayAvailable()) {
            // Restored from the taskbar where there is no tray: as "Open Brimble".
            ErrorBoundary::run([this] { openFromTray(); });
        }
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ErrorBoundary::run([this] { FormActivate(); });
    }
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TForm1::FormClose() {
    // 1. No memo stays marked as popped in the file.
    ErrorBoundary::run([this] {
        if (db_.bms.isOpen())
            Database::clearPopped(db_.bms);
    });
    // 2. The entries go; the windows go with the main window.
    popups_->release();
    // 3. Views in their order, then the connection.
    for (View* v : {&db_.BM, &db_.bms, &db_.config, &db_.bmall})
        ErrorBoundary::run([v] { v->close(); });
    db_.ADOConnection1.close();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!closed_) {
        closed_ = true;
        scheduler_->setEnabled(false);
        timer2_.stop();
        FormClose();
        CTI_->hide();
    }
    event->accept();
    // Closing the main window ends the program, whichever windows are still open.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

} // namespace brimble
