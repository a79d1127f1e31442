// The Customize dialog and its settings over a real database file.
#include "dialogs/config.h"
#include "dialogs/customize.h"
#include "store/database.h"
#include "store/dberror.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class Customize : public ::testing::Test {
protected:
    void SetUp() override {
        db.ADOConnection1.setConnectionString(file.connectionString());
        db.ADOConnection1.open();
    }
    void TearDown() override {
        form.reset();
        db.config.close();
    }
    // Changes the stored row before the dialog reads it.
    void setStored(const QString& column, const QVariant& value) {
        View v(db.ADOConnection1, "config", "setup");
        v.open();
        v.edit();
        v.setValue(column, value);
        v.post();
    }
    void emptyTable() {
        View v(db.ADOConnection1, "config", "setup");
        v.open();
        v.deleteRow();
    }
    View& stored() {
        check = std::make_unique<View>(db.ADOConnection1, "config", "check");
        check->open();
        return *check;
    }
    TForm2& start() {
        db.config.open();
        CustomizeTargets t{
            [this](int ms) { intervals << ms; },
            [this] { arranged << "tile"; },
            [this] { arranged << "cascade"; },
            [this](bool on) { autoruns << on; },
            [this](quint32 bgr) { listColors << bgr; },
        };
        form = std::make_unique<TForm2>(db.config, platform, t, [this](const std::function<void()>& f) {
            try {
                f();
            } catch (const std::exception& e) {
                errors << QString::fromUtf8(e.what());
            }
        });
        return *form;
    }
    void typeSeconds(const QString& text) {
        form->sp1()->selectAll();
        QTest::keyClick(form->sp1(), Qt::Key_Backspace);
        QTest::keyClicks(form->sp1(), text);
    }

    test::TempDb file;
    test::FakePlatform platform;
    Database db;
    std::unique_ptr<View> check;
    std::unique_ptr<TForm2> form;
    QStringList errors, arranged;
    QList<int> intervals;
    QList<bool> autoruns;
    QList<quint32> listColors;
};

TEST(StyleCode, IsTheSumOfTheFlagsAndReadsOnlyTheLowFourBits) {
    EXPECT_EQ(fstyle2str(0), "0");
    EXPECT_EQ(fstyle2str(fsBold | fsItalic), "3");
    EXPECT_EQ(fstyle2str(fsBold | fsItalic | fsUnderline | fsStrikeOut), "15");
    EXPECT_EQ(str2fstyle("5"), FontStyles(fsBold | fsUnderline));
    EXPECT_EQ(str2fstyle("17"), FontStyles(fsBold));
    EXPECT_EQ(str2fstyle("-1"), FontStyles(15));
    for (FontStyles s = 0; s < 16; ++s)
        EXPECT_EQ(str2fstyle(fstyle2str(s)), s);
    for (const char* bad : {"", "bold", "1.5", "99999999999"}) {
        try {
            str2fstyle(bad);
            ADD_FAILURE() << bad;
        } catch (const ConvertError& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("'%1' is not a valid integer value").arg(bad));
        }
    }
    EXPECT_THROW(secondsToMs(2147484), ConvertError);
    EXPECT_EQ(secondsToMs(2147483), 2147483000);
    EXPECT_THROW(secondsToMs(-2147484), ConvertError);
}

TEST_F(Customize, TheDeliveredRowIsAppliedAtCreation) {
    TForm2& f = start();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    const PopupSettings& s = f.settings();
    EXPECT_EQ(s.font.name, "MS Sans Serif");
    EXPECT_EQ(s.font.color, 0u);
    EXPECT_EQ(s.font.size, 8);
    EXPECT_EQ(s.font.style, 0u);
    EXPECT_EQ(s.font.charset, 1);
    EXPECT_EQ(s.bgColor, 8454143);
    EXPECT_EQ(s.selColor, 12639424u);
    EXPECT_EQ(s.colorType, 0);
    // Autorun starts checked: unchecking it and the explicit switch both say off.
    EXPECT_FALSE(f.cb5()->isChecked());
    ASSERT_FALSE(autoruns.isEmpty());
    EXPECT_TRUE(std::all_of(autoruns.begin(), autoruns.end(), [](bool on) { return !on; }));
    EXPECT_EQ(listColors, QList<quint32>{12639424u});
    // formtile true: Cascade stays, nothing is arranged.
    EXPECT_TRUE(f.cb2()->isChecked());
    EXPECT_FALSE(f.cb1()->isChecked());
    EXPECT_TRUE(arranged.isEmpty());
    EXPECT_EQ(f.sp1()->value(), 10);
    EXPECT_EQ(intervals, QList<int>{10000});
}

TEST_F(Customize, StoredTileAutorunAndSecondsAreApplied) {
    setStored("formtile", false);
    setStored("autorun", true);
    setStored("repeatsecond", 25);
    setStored("pfontstyle", "5");
    TForm2& f = start();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_TRUE(f.cb1()->isChecked());
    EXPECT_FALSE(f.cb2()->isChecked());
    EXPECT_EQ(arranged, QStringList{"tile"});
    EXPECT_TRUE(f.cb5()->isChecked());
    EXPECT_EQ(autoruns, QList<bool>{true});
    EXPECT_EQ(intervals.last(), 25000);
    EXPECT_EQ(f.settings().font.style, FontStyles(fsBold | fsUnderline));
}

TEST_F(Customize, AValueThatCannotBeConvertedStopsLoadingAtItsColumn) {
    setStored("pfontsize", QVariant());
    setStored("pfontname", "Arial");
    TForm2& f = start();
    EXPECT_EQ(errors, QStringList{"Could not convert variant of type (Null) into type (Integer)"});
    EXPECT_EQ(f.settings().font.name, "Arial"); // read before the failing column
    EXPECT_EQ(f.settings().font.size, 8);       // the earlier value
    EXPECT_EQ(f.settings().selColor, 0x00C0DCC0u);
    EXPECT_TRUE(intervals.isEmpty() && autoruns.isEmpty() && listColors.isEmpty());
    EXPECT_TRUE(f.cb5()->isChecked());
    EXPECT_EQ(f.sp1()->value(), 10);
}

TEST_F(Customize, ABadStyleOrNoRowIsReportedAndTheDialogIsMade) {
    setStored("pfontstyle", "bold");
    start();
    EXPECT_EQ(errors, QStringList{"'bold' is not a valid integer value"});
    EXPECT_TRUE(intervals.isEmpty());
    form.reset();
    db.config.close();
    errors.clear();

    emptyTable();
    TForm2& f = start();
    EXPECT_EQ(errors, QStringList{"Could not convert variant of type (Null) into type (String)"});
    EXPECT_TRUE(f.cb2()->isChecked());
}

TEST_F(Customize, EachClickOnTheTilingBoxesArrangesOnceAndLeavesThemOpposite) {
    TForm2& f = start();
    arranged.clear();
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(f.cb1(), Qt::LeftButton);
        EXPECT_NE(f.cb1()->isChecked(), f.cb2()->isChecked());
    }
    EXPECT_EQ(arranged, (QStringList{"tile", "cascade", "tile", "cascade"}));
    arranged.clear();
    QTest::mouseClick(f.cb2(), Qt::LeftButton); // Cascade off
    QTest::mouseClick(f.cb2(), Qt::LeftButton); // and on again
    EXPECT_EQ(arranged, (QStringList{"tile", "cascade"}));
    EXPECT_FALSE(f.cb1()->isChecked());
}

TEST_F(Customize, TheSecondsBoxSetsTheIntervalOnEveryChange) {
    TForm2& f = start();
    f.show();
    intervals.clear();
    typeSeconds("");
    EXPECT_EQ(intervals.last(), 0); // empty: the scan stops
    typeSeconds("5");
    EXPECT_EQ(intervals.last(), 5000);
    typeSeconds("0");
    EXPECT_EQ(intervals.last(), 0);
    typeSeconds("2000000"); // no upper bound
    EXPECT_EQ(intervals.last(), 2000000000);
    // A negative count stops the scan rather than reaching the timer as a negative interval.
    f.sp1()->setValue(-5);
    EXPECT_EQ(intervals.last(), 0);
    EXPECT_TRUE(std::all_of(intervals.begin(), intervals.end(), [](int ms) { return ms >= 0; }));
    // A product that overflows is refused and leaves the interval.
    const auto before = intervals.size();
    f.sp1()->setValue(3000000);
    EXPECT_EQ(errors, QStringList{"Integer overflow"});
    EXPECT_EQ(intervals.size(), before);
}

TEST_F(Customize, OverflowingStoredSecondsAreReportedOnce) {
    setStored("repeatsecond", 3000000);
    start();
    EXPECT_EQ(errors, QStringList{"Integer overflow"});
    EXPECT_TRUE(intervals.isEmpty());
}

TEST_F(Customize, SaveWritesTheRowAndConfirms) {
    TForm2& f = start();
    QTest::mouseClick(f.cb1(), Qt::LeftButton); // Tile
    f.cb5()->setChecked(true);
    f.sp1()->setValue(42);
    QFont bi(QStringLiteral("Arial"), 12);
    bi.setBold(true);
    bi.setItalic(true);
    platform.fontAnswers.push_back(bi);
    platform.colorAnswers.push_back(QColor(1, 2, 3));
    platform.colorAnswers.push_back(QColor(0x40, 0x80, 0xC0));
    f.SpeedButton2()->click();
    f.SpeedButton1()->click();
    f.SpeedButton4()->click();
    f.SpeedButton3()->click();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(platform.informations, QStringList{"Config saved!"});

    View& v = stored();
    EXPECT_EQ(v.recordCount(), 1);
    EXPECT_EQ(v.textValue("pfontname"), "Arial");
    EXPECT_EQ(v.intValue("pfontsize"), 12);
    EXPECT_EQ(v.textValue("pfontstyle"), "3");
    // The colour chosen before the font stays with it.
    EXPECT_EQ(v.intValue("pfontcolor"), 0x030201);
    EXPECT_EQ(v.intValue("pfontcharset"), 1);
    EXPECT_EQ(v.intValue("pbgcolor"), 8454143);
    EXPECT_EQ(v.intValue("selcolor"), 0xC08040);
    EXPECT_FALSE(v.boolValue("formtile"));
    EXPECT_TRUE(v.boolValue("autorun"));
    EXPECT_EQ(v.intValue("repeatsecond"), 42);
    // The selector colour waits for the next start.
    EXPECT_EQ(listColors, QList<quint32>{12639424u});
}

TEST_F(Customize, SaveOnAnEmptyTableCreatesTheRowWithoutAColourType) {
    emptyTable();
    TForm2& f = start();
    errors.clear();
    f.SpeedButton3()->click();
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    View& v = stored();
    ASSERT_EQ(v.recordCount(), 1);
    EXPECT_TRUE(v.isNull("popcolortype"));
    EXPECT_TRUE(v.boolValue("formtile")); // Cascade, as the dialog starts
    EXPECT_EQ(v.intValue("repeatsecond"), 10);
    EXPECT_EQ(v.textValue("pfontname"), "MS Sans Serif");
}

TEST_F(Customize, ARefusedSaveIsReportedWithoutConfirmationAndLeavesNoEdit) {
    TForm2& f = start();
    platform.fontAnswers.push_back(QFont(QString(60, QLatin1Char('x')), 9)); // too long a name
    f.SpeedButton1()->click();
    f.SpeedButton3()->click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(platform.informations.isEmpty());
    EXPECT_FALSE(db.config.editing());
    EXPECT_EQ(stored().textValue("pfontname"), "MS Sans Serif");
}

TEST_F(Customize, TheDialogsOpenOnTheCurrentFontAndTheLastChosenColour) {
    setStored("pfontname", "Arial");
    setStored("pfontsize", 14);
    TForm2& f = start();
    f.SpeedButton1()->click(); // cancelled
    ASSERT_EQ(platform.fontsAsked.size(), 1);
    EXPECT_EQ(platform.fontsAsked[0].family(), "Arial");
    EXPECT_EQ(platform.fontsAsked[0].pointSize(), 14);
    EXPECT_EQ(f.settings().font.name, "Arial");

    f.SpeedButton4()->click(); // cancelled
    platform.colorAnswers.push_back(QColor(Qt::red));
    f.SpeedButton2()->click();
    f.SpeedButton4()->click();
    ASSERT_EQ(platform.colorsAsked.size(), 3);
    EXPECT_EQ(platform.colorsAsked[0], QColor(Qt::black));
    EXPECT_EQ(platform.colorsAsked[1], QColor(Qt::black));
    EXPECT_EQ(platform.colorsAsked[2], QColor(Qt::red));
    EXPECT_EQ(f.settings().font.color, 0x0000FFu);
    EXPECT_EQ(f.settings().selColor, 12639424u); // the last one was cancelled
}

TEST_F(Customize, TheWindowIsAFixedModelessDialog) {
    TForm2& f = start();
    EXPECT_EQ(f.windowTitle(), "Customize");
    EXPECT_EQ(f.size(), TForm2::kClientSize);
    EXPECT_EQ(f.minimumSize(), f.maximumSize());
    EXPECT_FALSE(f.isModal());
    EXPECT_EQ(f.SpeedButton3()->toolTip(), "Save config");
    EXPECT_EQ(f.SpeedButton3()->accessibleName(), "Save config");
}

} // namespace
