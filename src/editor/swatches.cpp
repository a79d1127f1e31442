#include "editor/swatches.h"

#include "controls/richedit/charattrs.h"

#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace brimble {

namespace {

QPixmap rainbow() {
    QPixmap pm(20, 240);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, pm.height());
    const int stops = 6;
    for (int i = 0; i <= stops; ++i)
        g.setColorAt(double(i) / stops, QColor::fromHsv((i % stops) * 60, 255, 255));
    p.fillRect(pm.rect(), g);
    return pm;
}

} // namespace

SwatchStrip::SwatchStrip(QWidget* host) : QObject(host) {
    const int width = host->width() > 0 ? host->width() : 20;
    for (int i = 0; i < kCount; ++i) {
        auto* s = new QWidget(host);
        s->setObjectName(i == 0 ? QStringLiteral("S1") : QStringLiteral("s%1").arg(i + 1));
        s->setGeometry(0, i * kSwatchHeight, width, kSwatchHeight);
        s->setAutoFillBackground(true);
        QPalette pal = s->palette();
        pal.setColor(QPalette::Window, charattr::fromColorRef(kColors[size_t(i)]));
        s->setPalette(pal);
        s->setCursor(Qt::PointingHandCursor);
        s->setAccessibleName(QStringLiteral("Memo color %1").arg(i + 1));
        s->installEventFilter(this);
        swatches_[size_t(i)] = s;
    }
    image1_ = new QLabel(host);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(rainbow());
    image1_->setScaledContents(true);
    image1_->setCursor(Qt::PointingHandCursor);
    image1_->setToolTip(QStringLiteral("Custom Color"));
    image1_->setAccessibleName(QStringLiteral("Custom Color"));
    image1_->installEventFilter(this);
    // The host's height follows the editor; the strip takes whatever is below the swatches.
    host->installEventFilter(this);
    image1_->setGeometry(0, kCount * kSwatchHeight, width,
                         std::max(0, host->height() - kCount * kSwatchHeight));
}

SwatchStrip::~SwatchStrip() {
    for (QWidget* s : swatches_)
        delete s;
    delete image1_;
}

bool SwatchStrip::eventFilter(QObject* watched, QEvent* event) {
    auto* host = qobject_cast<QWidget*>(parent());
    if (watched == host && event->type() == QEvent::Resize) {
        image1_->setGeometry(0, kCount * kSwatchHeight, host->width(),
                             std::max(0, host->height() - kCount * kSwatchHeight));
        for (QWidget* s : swatches_)
            s->resize(host->width(), kSwatchHeight);
    } else if (watched == image1_ && (event->type() == QEvent::MouseButtonPress ||
                                      event->type() == QEvent::MouseButtonRelease)) {
        const auto* me = static_cast<QMouseEvent*>(event); // only mouse events get here
        if (event->type() == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
            imagePressed_ = true;
        } else if (event->type() == QEvent::MouseButtonRelease && imagePressed_ &&
                   me->button() == Qt::LeftButton) {
            imagePressed_ = false;
            if (image1_->rect().contains(me->position().toPoint()))
                emit customClicked();
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < kCount; ++i)
            if (watched == swatches_[size_t(i)]) {
                emit swatchPressed(i);
                return true;
            }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brimble
