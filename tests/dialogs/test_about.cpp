// The About box and its scrolling credits.
#include "dialogs/aboutbox.h"

#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

using namespace brimble;

namespace {

TEST(CreditsScroll, SkipsLeadingBlanksAndCyclesOnePixelPerStep) {
    const CreditsScroll s({"", "  ", "a", "", "b"}, 16, 76);
    EXPECT_EQ(s.lines(), QStringList({"a", "", "b"}));
    EXPECT_EQ(s.cycle(), 76 + 3 * 16);
    EXPECT_EQ(s.offsetAt(0), 0);
    EXPECT_EQ(s.offsetAt(29), 0);
    EXPECT_EQ(s.offsetAt(30), 1);
    EXPECT_EQ(s.offsetAt(30 * 123), 123);
    EXPECT_EQ(s.offsetAt(30 * 124), 0); // moved by the whole cycle: back to the start
    EXPECT_EQ(s.offsetAt(30 * (124 * 1000 + 5)), 5);
    EXPECT_EQ(CreditsScroll({"", ""}, 16, 76).cycle(), 76);
}

// Rows of an image holding the given colour, as [first, last]; {-1, -1} for none.
std::pair<int, int> rowsWith(const QImage& img, QColor colour, int* left = nullptr,
                             int* right = nullptr) {
    int first = -1, last = -1, l = img.width(), r = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (QColor(img.pixel(x, y)) == colour) {
                if (first < 0)
                    first = y;
                last = y;
                l = std::min(l, x);
                r = std::max(r, x);
            }
    if (left)
        *left = l;
    if (right)
        *right = r;
    return {first, last};
}

TEST(CreditsScroll, DrawsCentredLinesRisingFromBelowTheArea) {
    const CreditsScroll s({"Brimble!"}, 16, 60);
    QFont f;
    f.setPixelSize(13);
    f.setBold(true);
    auto frame = [&](int offset) {
        QImage img(120, 60, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setFont(f);
        p.setPen(Qt::blue);
        s.draw(p, img.rect(), offset);
        return img;
    };
    EXPECT_EQ(rowsWith(frame(0), Qt::blue).first, -1); // still below the bottom edge
    int left = 0, right = 0;
    const auto rows = rowsWith(frame(30), Qt::blue, &left, &right);
    ASSERT_GE(rows.first, 30);
    EXPECT_LT(rows.second, 30 + 16);
    EXPECT_LE(std::abs(left - (119 - right)), 2); // centred
    EXPECT_EQ(rowsWith(frame(31), Qt::blue).first, rows.first - 1);
    EXPECT_EQ(rowsWith(frame(60 + 16), Qt::blue).first, -1); // gone over the top
}

struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Paint;
        return false;
    }
};

class About : public ::testing::Test {
protected:
    void TearDown() override { box.reset(); }
    Tabout& make() {
        box = std::make_unique<Tabout>([this] { return now; });
        return *box;
    }
    void show() {
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    }
    qint64 now = 0;
    std::unique_ptr<Tabout> box;
};

TEST_F(About, LayoutAndTheTickButtonHides) {
    Tabout& a = make();
    EXPECT_FALSE(a.isVisible()); // made hidden
    show();
    EXPECT_EQ(a.windowTitle(), "About");
    EXPECT_EQ(a.size(), QSize(260, 183));
    EXPECT_EQ(a.minimumSize(), a.maximumSize());
    EXPECT_FALSE(a.isModal());
    EXPECT_FALSE(a.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(a.Label1()->text(), "Brimble!");
    EXPECT_EQ(a.Label1()->font().pixelSize(), 21);
    EXPECT_TRUE(a.Label1()->font().bold());
    EXPECT_EQ(a.Label1()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(a.Label2()->text(), "Version 1.0");
    EXPECT_EQ(a.Label2()->font().pixelSize(), 16);
    EXPECT_EQ(a.Panel2()->size(), QSize(258, 78));
    EXPECT_EQ(a.Panel2()->geometry().bottom(), Tabout::kPanelHeight - 2);
    EXPECT_EQ(a.Panel2()->creditsFont().pixelSize(), 13);
    EXPECT_EQ(a.SpeedButton1()->size(), QSize(32, 32));
    EXPECT_GE(a.SpeedButton1()->y(), Tabout::kPanelHeight);
    EXPECT_FALSE(a.SpeedButton1()->icon().isNull());
    a.SpeedButton1()->click();
    EXPECT_FALSE(a.isVisible());
    show(); // and it comes back
    EXPECT_TRUE(a.isVisible());
}

TEST_F(About, CreditsContinueWhereTheCycleHasReachedAndOnlyAnimateWhileShown) {
    Tabout& a = make();
    TCreditsPanel* panel = a.Panel2();
    const int cycle = panel->scroll().cycle();
    ASSERT_GT(cycle, 100);
    EXPECT_FALSE(panel->animating()); // hidden: no timer waking the program

    // First shown after the program has run for a while: mid-cycle, text in sight.
    const int reached = panel->scroll().areaHeight() / 2 + 10;
    now = qint64(7 * cycle + reached) * CreditsScroll::kStepMs;
    show();
    EXPECT_TRUE(panel->animating());
    EXPECT_EQ(panel->offset(), reached);
    EXPECT_NE(rowsWith(panel->grab().toImage(), QColor(0, 0, 255)).first, -1);

    // Hidden and shown again: the cycle went on meanwhile, it did not start over.
    a.hide();
    EXPECT_FALSE(panel->animating());
    now += 20 * CreditsScroll::kStepMs;
    show();
    EXPECT_TRUE(panel->animating());
    EXPECT_EQ(panel->offset(), reached + 20);

    // While shown, the panel is redrawn at the clock's pace.
    const auto before = rowsWith(panel->grab().toImage(), QColor(0, 0, 255));
    now += 3 * CreditsScroll::kStepMs;
    EXPECT_EQ(rowsWith(panel->grab().toImage(), QColor(0, 0, 255)).first, before.first - 3);
    PaintCounter paints;
    panel->installEventFilter(&paints);
    QTest::qWait(10 * CreditsScroll::kStepMs);
    EXPECT_GE(paints.count, 3);
}

} // namespace
