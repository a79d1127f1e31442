// The Edit History window and the About box in the whole program.
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "dialogs/aboutbox.h"
#include "dialogs/historywindow.h"
#include "editor/memolist.h"
#include "store/connection.h"
#include "store/view.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class Wiring : public ::testing::Test {
protected:
    void SetUp() override { platform.programPath = file.directory() + "brimble"; }
    void TearDown() override {
        if (program && !program->mainWindow().closed())
            program->mainWindow().close();
        program.reset();
        ErrorBoundary::install(nullptr);
    }
    void addDone(const QString& text) {
        Connection c;
        c.setConnectionString(file.connectionString());
        c.open();
        View v(c, "bm", "setup");
        v.open();
        v.append();
        v.setValue("datetime", 46000.5);
        v.setValue("memo", text);
        v.setValue("done", true);
        v.post();
    }
    Program& start() {
        program = std::make_unique<Program>(platform);
        program->start();
        QApplication::processEvents();
        return *program;
    }
    QAction* item(const char* name) {
        return program->mainWindow().findChild<QAction*>(QLatin1String(name));
    }
    test::TempDb file;
    test::FakePlatform platform;
    std::unique_ptr<Program> program;
};

TEST_F(Wiring, TheMenuItemsShowTheWindowsMadeHiddenAtStartUp) {
    addDone("history memo");
    Program& p = start();
    ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
    TForm3& history = p.editHistoryWindow();
    Tabout& about = p.aboutBox();
    EXPECT_FALSE(history.isVisible());
    EXPECT_FALSE(about.isVisible());
    // The history window works on the main window's history view.
    EXPECT_EQ(history.DBCtrlGrid1()->model()->rowCount(), 1);

    ASSERT_TRUE(item("EditHistory1") && item("About1"));
    ASSERT_TRUE(item("EditHistory1")->isEnabled());
    ASSERT_TRUE(item("About1")->isEnabled());
    item("EditHistory1")->trigger();
    EXPECT_TRUE(history.isVisible());
    item("About1")->trigger();
    EXPECT_TRUE(about.isVisible());
    // Modeless: both at once, and nothing blocks the rest of the program.
    EXPECT_TRUE(history.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    about.hide();
    item("About1")->trigger();
    EXPECT_TRUE(about.isVisible());
}

} // namespace
