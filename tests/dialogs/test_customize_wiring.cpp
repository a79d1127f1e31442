// The Customize dialog in the whole program: what start-up applies and what a restart keeps.
#include "app/autorun.h"
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "dialogs/customize.h"
#include "editor/memoeditor.h"
#include "editor/memolist.h"
#include "reminders/scheduler.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class CustomizeWiring : public ::testing::Test {
protected:
    void SetUp() override { platform.programPath = file.directory() + "brimble"; }
    void TearDown() override {
        stop();
        ErrorBoundary::install(nullptr);
    }
    void stop() {
        if (program && !program->mainWindow().closed())
            program->mainWindow().close();
        program.reset();
    }
    Program& start() {
        program = std::make_unique<Program>(platform);
        program->start();
        QApplication::processEvents();
        return *program;
    }
    quint32 listColor() {
        return program->mainWindow().editor().DBCtrlGrid1()->panels().selectionColor();
    }
    test::TempDb file;
    test::FakePlatform platform;
    std::unique_ptr<Program> program;
};

TEST_F(CustomizeWiring, StartUpAppliesTheRowAndTheMenuShowsTheDialogModeless) {
    // Switched on before: the delivered row says off, so start-up removes it.
    platform.autorun.currentUser[TAutoRun::kValueName] = "/old/brimble";
    Program& p = start();
    ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
    EXPECT_FALSE(p.customizeWindow().cb5()->isChecked());
    EXPECT_TRUE(platform.autorun.currentUser.isEmpty());
    EXPECT_FALSE(p.mainWindow().autorun().autoRun());
    EXPECT_EQ(p.mainWindow().scheduler().intervalMs(), 10000);
    EXPECT_EQ(listColor(), 12639424u);

    TForm2& dialog = p.customizeWindow();
    EXPECT_FALSE(dialog.isVisible());
    auto* item = p.mainWindow().findChild<QAction*>(QStringLiteral("Customize1"));
    ASSERT_TRUE(item && item->isEnabled());
    item->trigger();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The box switches the start at log-on at once, without saving.
    QTest::mouseClick(dialog.cb5(), Qt::LeftButton);
    EXPECT_EQ(platform.autorun.currentUser.value(TAutoRun::kValueName).isEmpty(), false);
    // A negative count stops the scan; the timer is never given a negative interval.
    dialog.sp1()->setValue(-3);
    EXPECT_EQ(p.mainWindow().scheduler().intervalMs(), 0);
    EXPECT_FALSE(p.mainWindow().scheduler().ticking());
    EXPECT_EQ(p.mainWindow().scheduler().timer().interval() >= 0, true);
}

TEST_F(CustomizeWiring, SavedSettingsComeBackAtTheNextStart) {
    Program& p = start();
    TForm2& dialog = p.customizeWindow();
    QTest::mouseClick(dialog.cb1(), Qt::LeftButton); // Tile
    dialog.sp1()->setValue(30);
    platform.colorAnswers.push_back(QColor(0x11, 0x22, 0x33));
    dialog.SpeedButton4()->click();
    dialog.SpeedButton3()->click();
    ASSERT_EQ(platform.informations, QStringList{"Config saved!"});
    EXPECT_EQ(p.mainWindow().scheduler().intervalMs(), 30000);
    // Not recoloured in this run.
    EXPECT_EQ(listColor(), 12639424u);
    stop();

    Program& again = start();
    ASSERT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
    EXPECT_TRUE(again.customizeWindow().cb1()->isChecked());
    EXPECT_FALSE(again.customizeWindow().cb2()->isChecked());
    EXPECT_EQ(again.mainWindow().scheduler().intervalMs(), 30000);
    EXPECT_EQ(listColor(), 0x332211u);
}

} // namespace
