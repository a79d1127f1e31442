#include "dialogs/aboutbox.h"
#include "dialogs/placement.h"

#include "dialogs/pictures.h"

#include <QEvent>
#include <QLabel>
#include <QToolButton>

namespace brimble {

namespace {

// `colour` invalid: the palette's text colour, which stays readable on light and dark themes.
QLabel* label(QWidget* parent, const char* name, const QString& text, int pixels, QColor colour) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(true);
    l->setFont(f);
    if (colour.isValid()) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
    }
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

QStringList Tabout::creditLines() {
    return {
        QString(),
        QStringLiteral("Brimble!"),
        QStringLiteral("reminders for the desktop"),
        QString(),
        QStringLiteral("Written in C++ with Qt"),
        QStringLiteral("Memos kept by SQLCipher"),
        QString(),
        QStringLiteral("Thank you for using it!"),
    };
}

Tabout::Tabout(TCreditsPanel::Clock clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("About"));
    setModal(false);
    setFixedSize(kClientSize);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(0, 0, kClientSize.width(), kPanelHeight);

    label1_ = label(panel, "Label1", QStringLiteral("Brimble!"), 21, creditsBlue(palette()));
    label1_->setGeometry(1, 14, kClientSize.width() - 2, 28);
    label2_ = label(panel, "Label2", QStringLiteral("Version 1.0"), 16, QColor());
    label2_->setGeometry(1, 44, kClientSize.width() - 2, 20);

    credits_ = new TCreditsPanel(creditLines(), std::move(clock), panel);
    credits_->move(1, kPanelHeight - 1 - TCreditsPanel::kSize.height());

    button_ = new QToolButton(this);
    button_->setObjectName(QStringLiteral("SpeedButton1"));
    button_->setIcon(dialogPicture(QStringLiteral("tick"), 26));
    button_->setIconSize(QSize(26, 26));
    button_->setAutoRaise(true); // flat
    button_->setToolTip(QStringLiteral("Close"));
    button_->setAccessibleName(QStringLiteral("Close"));
    button_->setGeometry((kClientSize.width() - 32) / 2,
                         kPanelHeight + (kClientSize.height() - kPanelHeight - 32) / 2, 32, 32);
    connect(button_, &QToolButton::clicked, this, &QWidget::hide);
}

void Tabout::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // A theme switched while the program runs.
    if (event->type() == QEvent::PaletteChange && label1_) {
        QPalette p = label1_->palette();
        p.setColor(QPalette::WindowText, creditsBlue(palette()));
        label1_->setPalette(p);
    }
}

void Tabout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnFirstShow(*this, placed_);
}

} // namespace brimble
