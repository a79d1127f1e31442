#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "app/tray.h"
#include "reminders/popups.h"
#include "reminders/popupwindow.h"
#include "reminders/scheduler.h"
#include "store/connection.h"
#include "store/datetime.h"
#include "store/view.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

// The reminders as the main window drives them: tray items and the switching of the scan.
class Wiring : public ::testing::Test {
protected:
    void SetUp() override {
        platform.programPath = db.directory() + "brimble";
        ErrorBoundary::install(&platform);
        Connection c;
        c.setConnectionString(db.connectionString());
        c.open();
        View v(c, "bm", "setup");
        v.open();
        for (int i = 0; i < 3; ++i) {
            v.append();
            v.setValue("datetime", toDays(platform.clock));
            v.setValue("memo", QStringLiteral("memo %1").arg(i));
            v.setValue("bgcolor", 0x00FFFFFF);
            v.setValue("left", 400);
            v.setValue("top", 300);
            v.setValue("lebar", 200);
            v.setValue("tinggi", 200);
            v.post();
        }
        form = std::make_unique<TForm1>(platform);
        form->FormCreate();
        form->startInTray();
        QApplication::processEvents();
    }
    void TearDown() override {
        if (form && !form->closed())
            form->close();
        form.reset();
        ErrorBoundary::install(nullptr);
    }
    QAction* trayItem(const char* name) {
        return form->tray().PopupMenu1().findChild<QAction*>(QLatin1String(name));
    }
    QRect frame(std::size_t i) { return form->popups().poplist().at(i)->form->frameGeometry(); }
    void settle() {
        (void)QTest::qWaitFor(
            [this] {
                for (const auto& e : form->popups().poplist())
                    if (qobject_cast<PopupWindow*>(e->form.data())->settling())
                        return false;
                return true;
            },
            3000);
    }

    test::TempDb db;
    test::FakePlatform platform;
    std::unique_ptr<TForm1> form;
};

} // namespace

TEST_F(Wiring, TrayArrangeItemsTileAndCascade) {
    form->popups().ToolButton6Click();
    ASSERT_EQ(form->popups().poplist().size(), 3u);
    ASSERT_NE(trayItem("ile1"), nullptr);
    trayItem("ile1")->trigger();
    settle();
    EXPECT_EQ(frame(2), QRect(10, 210, 150, 100));
    trayItem("cascade1")->trigger();
    settle();
    EXPECT_EQ(frame(2), QRect(70, 70, 150, 100));
    EXPECT_TRUE(platform.errors.isEmpty());
}

TEST_F(Wiring, ScanPopsInTheTrayAndPopupsItemSwitchesItOff) {
    ASSERT_TRUE(form->scheduler().ticking());
    form->scheduler().Timer1Timer();
    form->scheduler().Timer1Timer();
    ASSERT_EQ(form->popups().poplist().size(), 2u) << "one memo of the minute per tick";

    form->popupsClick(); // unchecks "Pop-ups"
    EXPECT_FALSE(form->scheduler().ticking());
    EXPECT_TRUE(form->popups().poplist().empty());
    View& bms = form->database().bms;
    Database::reopen(bms);
    for (bms.first(); !bms.eof(); bms.next())
        EXPECT_FALSE(bms.boolValue("popped"));

    // Opening the main window closes every pop-up and keeps the scan off.
    form->popupsClick();
    form->scheduler().Timer1Timer();
    ASSERT_EQ(form->popups().poplist().size(), 1u);
    form->openFromTray();
    EXPECT_TRUE(form->popups().poplist().empty());
    EXPECT_FALSE(form->scheduler().ticking());
}

TEST_F(Wiring, ClosingTheProgramTakesTheOpenPopupsWithIt) {
    form->popups().ToolButton6Click();
    QPointer<QWidget> w = form->popups().poplist().front()->form;
    form->close();
    EXPECT_TRUE(w.isNull());
    EXPECT_TRUE(form->popups().poplist().empty());
}
