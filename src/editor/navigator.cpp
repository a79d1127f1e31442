#include "editor/navigator.h"

#include "editor/memolistmodel.h"
#include "editor/toolpictures.h"
#include "store/view.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace brimble {

namespace {

struct ButtonDef {
    const char* name;
    const char* picture;
    const char* hint;
};

constexpr std::array<ButtonDef, 4> kButtons{{
    {"nbFirst", "first", "First record"},
    {"nbPrior", "prior", "Prior record"},
    {"nbNext", "next", "Next record"},
    {"nbLast", "last", "Last record"},
}};

} // namespace

TDBNavigator::TDBNavigator(MemoListModel& model, Guard guard, QWidget* parent)
    : QWidget(parent), model_(model), guard_(std::move(guard)) {
    setObjectName(QStringLiteral("DBNavigator1"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(kButtons[i].name));
        b->setIcon(toolPicture(QLatin1String(kButtons[i].picture)));
        b->setIconSize(QSize(20, 20));
        b->setToolTip(QLatin1String(kButtons[i].hint));
        b->setAccessibleName(QLatin1String(kButtons[i].hint));
        b->setAutoRaise(false);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(b, &QToolButton::clicked, this, [this, i] { press(Button(i)); });
        row->addWidget(b);
        buttons_[i] = b;
    }
    connect(&model_, &MemoListModel::cursorMoved, this, &TDBNavigator::refresh);
    refresh();
}

void TDBNavigator::press(Button b) {
    guard_([this, b] {
        View& v = model_.view();
        if (!v.isOpen())
            return;
        switch (b) {
        case First: v.first(); break;
        case Prior: v.prior(); break;
        case Next: v.next(); break;
        case Last: v.last(); break;
        }
        emit clicked2(b);
    });
}

void TDBNavigator::refresh() {
    const int count = model_.rowCount();
    const int row = model_.currentRow();
    const bool any = count > 0 && row >= 0;
    buttons_[First]->setEnabled(any && row > 0);
    buttons_[Prior]->setEnabled(any && row > 0);
    buttons_[Next]->setEnabled(any && row < count - 1);
    buttons_[Last]->setEnabled(any && row < count - 1);
}

} // namespace brimble
