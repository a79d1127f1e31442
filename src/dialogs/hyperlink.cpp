#include "dialogs/hyperlink.h"

#include "dialogs/pictures.h"
#include "dialogs/placement.h"
#include "platform/platform.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace brimble {

QString TForm6::prefix(int item) {
    // Backslashes, as the links are written on Windows; the leading blank parts the link from
    // text before the caret.
    switch (item) {
    case File: return QStringLiteral(" file:\\\\");
    case EMail: return QStringLiteral(" mailto:");
    case Http: return QStringLiteral(" http:\\\\");
    case Ftp: return QStringLiteral(" ftp:\\\\");
    }
    return QString();
}

TForm6::TForm6(Platform& platform, Insert insert, Guard guard, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      platform_(platform), insert_(std::move(insert)), guard_(std::move(guard)) {
    if (!guard_)
        guard_ = [](const std::function<void()>& f) { f(); };
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Insert HyperLink"));
    setModal(false);
    setFixedSize(kClientSize);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(13);
    f.setBold(true);
    setFont(f);

    group_ = new QGroupBox(QStringLiteral("Link to"), this);
    group_->setObjectName(QStringLiteral("RadioGroup1"));
    group_->setAccessibleName(QStringLiteral("Link to"));
    group_->setGeometry(13, 6, 398, 45);
    auto* columns = new QGridLayout(group_);
    columns->setContentsMargins(8, 2, 8, 2);
    buttons_ = new QButtonGroup(this);
    const QString captions[] = {QStringLiteral("File"), QStringLiteral("E-mail"),
                                QStringLiteral("HTTP"), QStringLiteral("FTP")};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(captions[i], group_);
        b->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        b->setAccessibleName(captions[i]);
        columns->addWidget(b, 0, i);
        buttons_->addButton(b, i);
    }
    item(File)->setChecked(true);

    edit_ = new QLineEdit(prefix(File), this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setAccessibleName(QStringLiteral("Link"));
    edit_->setGeometry(13, 60, 378, 24);

    button1_ = new QPushButton(QStringLiteral("..."), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setAccessibleName(QStringLiteral("Browse"));
    button1_->setToolTip(QStringLiteral("Browse"));
    button1_->setGeometry(394, 61, 20, 22);

    speed_ = new QToolButton(this);
    speed_->setObjectName(QStringLiteral("SpeedButton1"));
    speed_->setIcon(dialogPicture(QStringLiteral("tick"), 26));
    speed_->setIconSize(QSize(26, 26));
    speed_->setAutoRaise(true); // flat
    speed_->setToolTip(QStringLiteral("Insert"));
    speed_->setAccessibleName(QStringLiteral("Insert"));
    speed_->setGeometry(201, 93, 32, 32);

    // Only a change of the chosen item writes a prefix; choosing the same one again does not.
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            guard_([this] { RadioGroup1Click(); });
    });
    connect(button1_, &QPushButton::clicked, this, [this] { guard_([this] { Button1Click(); }); });
    connect(speed_, &QToolButton::clicked, this,
            [this] { guard_([this] { SpeedButton1Click(); }); });
}

QRadioButton* TForm6::item(int i) const { return qobject_cast<QRadioButton*>(buttons_->button(i)); }

int TForm6::itemIndex() const { return buttons_->checkedId(); }

void TForm6::RadioGroup1Click() { edit_->setText(prefix(itemIndex())); }

void TForm6::Button1Click() {
    const QString path = platform_.openFileName(QString(), QString());
    if (!path.isEmpty())
        edit_->setText(edit_->text() + path);
}

void TForm6::SpeedButton1Click() {
    insert_(edit_->text());
    hide();
}

void TForm6::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnFirstShow(*this, placed_);
}

} // namespace brimble
