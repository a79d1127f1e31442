#pragma once

#include "reminders/hooks.h"
#include "reminders/popups.h"
#include "reminders/popupwindow.h"
#include "reminders/scheduler.h"
#include "store/connection.h"
#include "store/database.h"
#include "store/datetime.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QApplication>
#include <QRect>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

// Readable rectangles in failure messages (found by argument lookup in Qt's namespace).
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace brimble::test {

// What the main window would do for the reminders, recorded.
struct FakeHooks : MemoListHooks {
    int gridchanges = 0;
    int gridIdx = -1; // the list's current memo at the last gridchange2
    std::vector<int> colors;
    View* list = nullptr;
    void gridchange2() override {
        ++gridchanges;
        gridIdx = list && !list->eof() ? list->intValue("idx") : -1;
    }
    void setEditorColor(int bgr) override { colors.push_back(bgr); }
};

struct Memo {
    QDateTime due = QDateTime(QDate(2026, 12, 9), QTime(10, 15, 0));
    bool repeated = false;
    bool popped = false;
    bool done = false;
    std::optional<QRect> place = QRect(100, 120, 200, 180);
    std::optional<int> bgcolor = 0x00C0FFFF;
    QString memo = QStringLiteral("a memo");
};

// A real database file, the views opened as the main window opens them, and the reminders
// on top, with the clock in the test's hand.
class Reminders : public ::testing::Test {
protected:
    Reminders() {
        formatSettings().shortTimeFormat = QStringLiteral("hh:mm");
        formatSettings().longTimeFormat = QStringLiteral("hh:mm");
        d.ADOConnection1.setConnectionString(tmp.connectionString());
        d.ADOConnection1.open();
        d.config.open();
        d.bms.open();
        d.BM.open();
        d.bmall.open();
        setup.open();
        hooks.list = &d.BM;
    }
    ~Reminders() override {
        popups.release();
        QApplication::processEvents();
    }

    // Appends a memo row and refreshes the views as a save would; returns its idx.
    int add(const Memo& m) {
        setup.append();
        setup.setValue("datetime", toDays(m.due));
        setup.setValue("memo", m.memo);
        setup.setValue("repeated", m.repeated);
        setup.setValue("popped", m.popped);
        setup.setValue("done", m.done);
        if (m.bgcolor)
            setup.setValue("bgcolor", *m.bgcolor);
        if (m.place) {
            setup.setValue("left", m.place->left());
            setup.setValue("top", m.place->top());
            setup.setValue("lebar", m.place->width());
            setup.setValue("tinggi", m.place->height());
        }
        setup.post();
        Database::reopen(setup);
        setup.last();
        const int idx = setup.intValue("idx");
        Database::reopen(d.bms);
        Database::reopen(d.BM);
        return idx;
    }

    // A column of a memo as the file holds it now, read through a connection of its own.
    QVariant inFile(int idx, const char* column) const {
        Connection c;
        c.setConnectionString(tmp.connectionString());
        c.open();
        View v(c, "bm", "check");
        v.open();
        if (!v.locate("idx", idx))
            return {};
        return v.value(column);
    }
    bool poppedInFile(int idx) const { return inFile(idx, "popped").toBool(); }
    QRect placeInFile(int idx) const {
        return QRect(inFile(idx, "left").toInt(), inFile(idx, "top").toInt(),
                     inFile(idx, "lebar").toInt(), inFile(idx, "tinggi").toInt());
    }

    std::vector<int> openIdx() const {
        std::vector<int> out;
        for (const auto& e : popups.poplist())
            out.push_back(e->idx);
        return out;
    }
    PopupWindow* window(std::size_t i) const {
        return qobject_cast<PopupWindow*>(popups.poplist().at(i)->form.data());
    }
    QRect frame(std::size_t i) const { return window(i)->frameGeometry(); }

    // Lets the windows' frames settle at their places, as a user would see them.
    void settle() {
        (void)QTest::qWaitFor(
            [this] {
                for (const auto& e : popups.poplist())
                    if (auto* w = qobject_cast<PopupWindow*>(e->form.data()); w && w->settling())
                        return false;
                return true;
            },
            3000);
    }

    void at(int h, int m, int s = 0) {
        platform.clock = QDateTime(QDate(2026, 12, 9), QTime(h, m, s));
    }
    void tick() { scheduler.Timer1Timer(); }

    TempDb tmp;
    FakePlatform platform;
    FakeHooks hooks;
    Database d;
    View setup{d.ADOConnection1, "bm", "setup"};
    PopupManager popups{d, platform, hooks, nullptr};
    Scheduler scheduler{d, platform, popups};
};

} // namespace brimble::test
