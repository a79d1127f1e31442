#include "editor/datepicker.h"

#include "store/datetime.h"

namespace brimble {

TDatePicker::TDatePicker(QWidget* parent) : QDateEdit(parent) {
    setObjectName(QStringLiteral("DTP1"));
    setCalendarPopup(true);
    applyFormat();
}

QString TDatePicker::qtFormat() {
    // Qt prints "/" as it stands, so the locale's separator goes in quoted.
    QString sep = QString(formatSettings().dateSeparator);
    if (sep == QLatin1String("'"))
        sep = QStringLiteral("''");
    const QString q = QLatin1Char('\'') + sep + QLatin1Char('\'');
    return QStringLiteral("dd") + q + QStringLiteral("MM") + q + QStringLiteral("yy ddd");
}

void TDatePicker::applyFormat() { setDisplayFormat(qtFormat()); }

} // namespace brimble
