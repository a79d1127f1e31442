// The main window as assistive tools, the keyboard and dark themes meet it.
#include "app/errorboundary.h"
#include "app/mainwindow.h"
#include "controls/richedit/dbrichedit.h"
#include "controls/spinedit/spinbutton.h"
#include "controls/spinedit/timespinedit.h"
#include "dialogs/aboutbox.h"
#include "editor/datepicker.h"
#include "editor/memoeditor.h"
#include "editor/memolist.h"
#include "editor/toolpictures.h"
#include "store/database.h"
#include "store/view.h"
#include "support/fakeplatform.h"
#include "support/tempdb.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        platform.programPath = db.directory() + "brimble";
        ErrorBoundary::install(&platform);
        form = std::make_unique<TForm1>(platform);
        form->FormCreate();
        form->startInTray();
        form->openFromTray();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
    }
    void TearDown() override {
        if (!form->closed())
            form->close();
        form.reset();
        ErrorBoundary::install(nullptr);
    }
    static QString spokenName(QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        return a ? a->text(QAccessible::Name) : QString();
    }
    MemoEditor& editor() { return form->editor(); }

    test::TempDb db;
    test::FakePlatform platform;
    std::unique_ptr<TForm1> form;
};

// Something the user can press, type into or pick from.
bool isControl(QWidget* w) {
    if (w->objectName().startsWith(QLatin1String("qt_")))
        return false; // Qt's own parts of a composite control
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(p))
            return false; // the edit inside a spin box is announced with the box
    return w->focusPolicy() != Qt::NoFocus || qobject_cast<QAbstractButton*>(w) ||
           w->cursor().shape() == Qt::PointingHandCursor || w->inherits("brimble::TTimerSpeedButton");
}

} // namespace

TEST_F(Desktop, EveryControlOfTheMainWindowHasASpokenName) {
    QStringList bad;
    int controls = 0;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (qobject_cast<QMenu*>(w) || !isControl(w))
            continue;
        ++controls;
        const QString name = spokenName(w);
        if (name.trimmed().isEmpty() || name == w->objectName())
            bad << QStringLiteral("%1 (%2): '%3'")
                       .arg(w->objectName(), QLatin1String(w->metaObject()->className()), name);
    }
    EXPECT_TRUE(bad.isEmpty()) << bad.join("\n").toStdString();
    EXPECT_GT(controls, 30); // the walk saw the window's controls, not an empty frame
    // Controls without a hint say what they hold or do.
    EXPECT_EQ(spokenName(editor().DTP1()), "Due date");
    EXPECT_EQ(spokenName(editor().SPT()), "Due time");
    EXPECT_EQ(spokenName(editor().memo1()), "Memo text");
    EXPECT_EQ(spokenName(editor().DBCtrlGrid1()), "Memos");
    EXPECT_EQ(spokenName(form->findChild<QToolButton*>("ToolButton10")), "Italic");
    EXPECT_EQ(spokenName(form->findChild<QToolButton*>("ToolButton13")), "Align left");
    // A control with a hint is announced by it.
    EXPECT_EQ(spokenName(editor().ToolButton1()), "Create new memo");
    EXPECT_EQ(editor().ToolButton1()->toolTip(), "Create new memo");
}

TEST_F(Desktop, MenusHaveOneMnemonicEachAndKeepTheirCaptions) {
    const QList<QAction*> top = form->menuBar()->actions();
    QStringList captions, keys;
    for (QAction* a : top) {
        captions << QString(a->text()).remove('&');
        keys << QString(QKeySequence::mnemonic(a->text()).toString());
        QStringList itemCaptions, itemKeys;
        for (QAction* item : a->menu()->actions()) {
            itemCaptions << QString(item->text()).remove('&');
            itemKeys << QKeySequence::mnemonic(item->text()).toString();
        }
        for (const QString& k : itemKeys)
            EXPECT_FALSE(k.isEmpty()) << itemCaptions.join(", ").toStdString();
        EXPECT_EQ(QSet<QString>(itemKeys.begin(), itemKeys.end()).size(), itemKeys.size());
        if (captions.last() == "Options") {
            EXPECT_EQ(itemCaptions, QStringList({"Customize", "Edit History"}));
        }
    }
    EXPECT_EQ(captions, QStringList({"File", "Options", "Help"}));
    EXPECT_EQ(keys, QStringList({"Alt+F", "Alt+O", "Alt+H"}));
}

// A shortcut clicks its button the animated way: the click lands a moment later.
static void press(QWidget* w, Qt::Key key) {
    QTest::keyClick(w, key, Qt::ControlModifier);
    QTest::qWait(250);
}

TEST_F(Desktop, CtrlNSAndPRunTheirCommandsOnlyWhileEnabled) {
    QWidget* list = editor().DBCtrlGrid1();
    QWidget* memo = editor().memo1();
    QToolButton* create = editor().ToolButton1();
    QToolButton* save = editor().ToolButton3();
    QToolButton* print = form->findChild<QToolButton*>("ToolButton26");
    View& bm = form->database().BM;

    ASSERT_EQ(QApplication::activeWindow(), form.get());
    create->setEnabled(false);
    press(list, Qt::Key_N);
    ASSERT_EQ(bm.recordCount(), 0);
    create->setEnabled(true);
    press(list, Qt::Key_N);
    ASSERT_EQ(bm.recordCount(), 1);

    memo->setFocus();
    QTest::keyClicks(memo, "call Bob");
    ASSERT_TRUE(save->isEnabled());
    save->setEnabled(false);
    press(memo, Qt::Key_S);
    EXPECT_FALSE(bm.textValue("memo").contains("call Bob"));
    save->setEnabled(true);
    press(memo, Qt::Key_S);
    EXPECT_TRUE(bm.textValue("memo").contains("call Bob"));

    print->setEnabled(false);
    press(memo, Qt::Key_P);
    EXPECT_TRUE(platform.printed.isEmpty());
    print->setEnabled(true);
    press(memo, Qt::Key_P);
    ASSERT_EQ(platform.printed.size(), 1);
    EXPECT_TRUE(platform.printed[0].contains("call Bob"));
    EXPECT_TRUE(platform.errors.isEmpty()) << platform.errors.join("\n").toStdString();
}

namespace {

// Mean lightness of the drawn (mostly opaque) pixels of a picture.
int inkLightness(const QImage& image) {
    long sum = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 160) {
                sum += c.lightness();
                ++n;
            }
        }
    return n ? int(sum / n) : -1;
}

class DarkPalette {
public:
    DarkPalette() : saved_(QApplication::palette()) {
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2e));
        dark.setColor(QPalette::WindowText, QColor(0xe8, 0xe8, 0xe8));
        dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x38));
        dark.setColor(QPalette::ButtonText, QColor(0xe8, 0xe8, 0xe8));
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x22));
        dark.setColor(QPalette::Text, QColor(0xe8, 0xe8, 0xe8));
        QApplication::setPalette(dark);
    }
    ~DarkPalette() { QApplication::setPalette(saved_); }

private:
    QPalette saved_;
};

} // namespace

TEST(Pictures, ToolbarPicturesStayVisibleOnADarkPaletteAndSharpWhenScaled) {
    const QIcon italic = toolPicture("italic");
    const int lightInk = inkLightness(italic.pixmap(QSize(16, 16)).toImage());
    ASSERT_GE(lightInk, 0);
    EXPECT_LT(lightInk, 100); // dark letters on a light toolbar
    {
        DarkPalette dark;
        EXPECT_GT(inkLightness(italic.pixmap(QSize(16, 16)).toImage()), 160);
        const QImage off = italic.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
        int drawn = 0;
        for (int y = 0; y < off.height(); ++y)
            for (int x = 0; x < off.width(); ++x)
                drawn += off.pixelColor(x, y).alpha() > 0 && off.pixelColor(x, y).lightness() > 100;
        EXPECT_GT(drawn, 10) << "a disabled picture vanishes on the dark toolbar";
        // The time box's arrows too.
        EXPECT_GT(inkLightness(TSpinButton::defaultUpGlyph().toImage()), 160);
    }
    // Drawn for the screen's scale, not stretched from the design size.
    for (qreal scale : {1.5, 2.0}) {
        const QPixmap pm = toolPicture("save").pixmap(QSize(20, 20), scale);
        EXPECT_EQ(pm.size(), QSize(20, 20) * scale) << scale;
        EXPECT_EQ(pm.deviceIndependentSize().toSize(), QSize(20, 20));
    }
}

TEST(Pictures, AboutTextFollowsADarkPalette) {
    DarkPalette dark;
    Tabout about;
    const QColor window = about.palette().color(QPalette::Window);
    for (QLabel* label : {about.Label1(), about.Label2()}) {
        const QColor text = label->palette().color(QPalette::WindowText);
        EXPECT_GT(std::abs(text.lightness() - window.lightness()), 100)
            << label->text().toStdString() << " is hard to read";
    }
}
