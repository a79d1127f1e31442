#pragma once

#include "controls/richedit/dbrichedit.h"
#include "controls/spinedit/timespinedit.h"
#include "editor/datepicker.h"
#include "editor/formatbar.h"
#include "editor/memoeditor.h"
#include "editor/memolist.h"
#include "editor/memolistmodel.h"
#include "editor/navigator.h"
#include "editor/swatches.h"
#include "pictures/picture.h"
#include "rtf/rtf.h"
#include "store/database.h"
#include "store/datetime.h"
#include "store/dberror.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace brimble::test {

// The main window's hosts in a plain window, a real database file and the editor on top.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.ADOConnection1.setConnectionString(file.connectionString());
        db.ADOConnection1.open();
    }
    void TearDown() override {
        editor.reset();
        window.reset();
    }

    // Stores a pending memo directly in the file and returns its idx.
    int addMemo(double when, const QString& text = {}, int bgcolor = 0x00FFFFFF,
                bool repeated = false, bool done = false) {
        View v(db.ADOConnection1, "bm", "setup");
        v.open();
        v.append();
        v.setValue("datetime", when);
        v.setValue("memo", text);
        v.setValue("bgcolor", bgcolor);
        v.setValue("repeated", repeated);
        v.setValue("done", done);
        v.setValue("left", 1);
        v.setValue("top", 2);
        v.setValue("tinggi", 30);
        v.setValue("lebar", 40);
        v.post();
        return v.intValue("idx");
    }

    // Opens the views as start-up does and builds the editor in a shown window.
    void start() {
        db.bms.open();
        db.BM.open();
        db.bmall.open();
        window = std::make_unique<QWidget>();
        window->resize(600, 470);
        auto* outer = new QVBoxLayout(window.get());
        outer->setContentsMargins(0, 0, 0, 0);
        auto* top = new QHBoxLayout;
        outer->addLayout(top, 1);
        hosts.list = new QWidget(window.get());
        hosts.list->setFixedWidth(171);
        new QVBoxLayout(hosts.list);
        hosts.list->layout()->setContentsMargins(0, 0, 0, 0);
        top->addWidget(hosts.list);
        hosts.panel3 = new QWidget(window.get());
        auto* side = new QVBoxLayout(hosts.panel3);
        side->setContentsMargins(0, 0, 0, 0);
        hosts.toolBar2 = new QWidget(hosts.panel3);
        hosts.toolBar2->setFixedHeight(30);
        side->addWidget(hosts.toolBar2);
        auto* middle = new QHBoxLayout;
        side->addLayout(middle, 1);
        hosts.editor = new QWidget(hosts.panel3);
        new QVBoxLayout(hosts.editor);
        middle->addWidget(hosts.editor, 1);
        hosts.panel7 = new QWidget(hosts.panel3);
        hosts.panel7->setFixedWidth(20);
        middle->addWidget(hosts.panel7);
        hosts.panel4 = new QWidget(hosts.panel3);
        hosts.panel4->setFixedHeight(41);
        side->addWidget(hosts.panel4);
        top->addWidget(hosts.panel3, 1);
        hosts.panel1 = new QWidget(window.get());
        hosts.panel1->setFixedHeight(47);
        outer->addWidget(hosts.panel1);
        editor = std::make_unique<MemoEditor>(
            db, platform, hosts, [this](bool on) { schedulerCalls.push_back(on); },
            [this](const std::function<void()>& f) {
                try {
                    f();
                } catch (const DbError& e) {
                    errors << e.text();
                } catch (const pictures::PictureError& e) {
                    errors << e.text();
                }
            });
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The row as the file holds it now.
    struct Stored {
        double datetime = 0;
        QString memo;
        int bgcolor = 0, left = 0, top = 0, tinggi = 0, lebar = 0;
        bool repeated = false, done = false;
        bool found = false;
    };
    Stored stored(int idx) {
        View v(db.ADOConnection1, "bm", "check");
        v.open();
        Stored s;
        if (!v.locate("idx", idx))
            return s;
        s.found = true;
        s.datetime = v.dateValue("datetime");
        s.memo = v.textValue("memo");
        s.bgcolor = v.intValue("bgcolor");
        s.left = v.intValue("left");
        s.top = v.intValue("top");
        s.tinggi = v.intValue("tinggi");
        s.lebar = v.intValue("lebar");
        s.repeated = v.boolValue("repeated");
        s.done = v.boolValue("done");
        return s;
    }
    static QString plain(const QString& rtfText) {
        QTextDocument d;
        rtf::read(rtfText, d);
        return d.toPlainText();
    }

    void clickPanel(int row) {
        TDBCtrlGrid* g = editor->DBCtrlGrid1();
        const QRect r = g->visualRect(g->model()->index(row, 0));
        ASSERT_TRUE(r.isValid()) << "row " << row << " has no panel";
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    void typeIntoEditor(const QString& text) {
        editor->memo1()->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(editor->memo1(), text);
    }
    int currentIdx() const { return db.BM.intValue("idx"); }

    // Buttons as the state table names them.
    bool newOn() const { return editor->ToolButton1()->isEnabled(); }
    bool deleteOn() const { return editor->ToolButton2()->isEnabled(); }
    bool saveOn() const { return editor->ToolButton3()->isEnabled(); }

    static double days(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
        return toDays(QDateTime(QDate(y, m, d), QTime(h, min, s)));
    }

    TempDb file;
    FakePlatform platform;
    Database db;
    MemoEditorHosts hosts;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<MemoEditor> editor;
    std::vector<bool> schedulerCalls;
    QStringList errors;
};

} // namespace brimble::test
