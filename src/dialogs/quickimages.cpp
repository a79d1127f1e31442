#include "dialogs/quickimages.h"

#include "dialogs/placement.h"

#include <QFile>
#include <QMouseEvent>
#include <QPixmap>

// Resources of a static library must be registered by name from outside any namespace.
static void registerQuickImages() { Q_INIT_RESOURCE(quickimages); }

namespace brimble {

namespace {

struct Place {
    int left, top;
    pictures::Kind kind;
};

using pictures::Kind;
// Image1 ... Image25: where each sits and what kind of picture it holds.
constexpr Place kPlaces[Temoticon::kCount] = {
    {78, 6, Kind::Emf},    {6, 6, Kind::Emf},     {150, 6, Kind::Emf},   {224, 6, Kind::Emf},
    {294, 6, Kind::Emf},   {4, 232, Kind::Jpeg},  {76, 232, Kind::Jpeg}, {148, 234, Kind::Jpeg},
    {222, 234, Kind::Jpeg}, {292, 234, Kind::Jpeg}, {2, 302, Kind::Jpeg}, {76, 304, Kind::Jpeg},
    {150, 306, Kind::Jpeg}, {222, 306, Kind::Jpeg}, {294, 306, Kind::Jpeg}, {78, 82, Kind::Emf},
    {6, 80, Kind::Emf},    {152, 86, Kind::Emf},  {226, 84, Kind::Emf},  {296, 84, Kind::Emf},
    {4, 158, Kind::Emf},   {80, 160, Kind::Emf},  {154, 158, Kind::Gif}, {226, 158, Kind::Gif},
    {296, 156, Kind::Gif},
};
constexpr int kSide = 66;

QString resourceName(int n, Kind kind) {
    const char* ext = kind == Kind::Emf ? "emf" : kind == Kind::Jpeg ? "jpg" : "gif";
    return QStringLiteral(":/quickimages/image%1.%2").arg(n).arg(QLatin1String(ext));
}

} // namespace

void QuickImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

Temoticon::Temoticon(Insert insert, Guard guard, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      insert_(std::move(insert)), guard_(std::move(guard)) {
    if (!guard_)
        guard_ = [](const std::function<void()>& f) { f(); };
    setObjectName(QStringLiteral("emoticon"));
    setWindowTitle(QStringLiteral("Quick Images"));
    setModal(false);
    setFixedSize(kClientSize);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    for (int n = 1; n <= kCount; ++n) {
        auto* img = new QuickImage(this);
        const QString name = QStringLiteral("Image%1").arg(n);
        img->setObjectName(name);
        img->setAccessibleName(name);
        img->setGeometry(kPlaces[n - 1].left, kPlaces[n - 1].top, kSide, kSide);
        img->setScaledContents(true); // stretched to the square, shape not kept
        connect(img, &QuickImage::doubleClicked, this,
                [this, n] { guard_([this, n] { Image1DblClick(n); }); });
        images_[size_t(n - 1)] = img;
    }
    label_ = new QLabel(QStringLiteral("Double click on selected image"), this);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setAccessibleName(label_->text());
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(16);
    f.setBold(true);
    label_->setFont(f);
    label_->setAlignment(Qt::AlignCenter);
    label_->setGeometry(0, kClientSize.height() - 20, kClientSize.width(), 20);
}

void Temoticon::load() {
    if (loaded_)
        return;
    loaded_ = true;
    static bool registered = (registerQuickImages(), true);
    (void)registered;
    for (int n = 1; n <= kCount; ++n) {
        const Kind kind = kPlaces[n - 1].kind;
        QFile file(resourceName(n, kind));
        file.open(QIODevice::ReadOnly);
        pictures::Picture& p = pictures_[size_t(n - 1)];
        p = pictures::Picture::load(kind, file.readAll());
        images_[size_t(n - 1)]->setPixmap(QPixmap::fromImage(p.image()));
    }
}

const pictures::Picture& Temoticon::picture(int n) {
    load();
    return pictures_.at(size_t(n - 1));
}

void Temoticon::Image1DblClick(int n) {
    insert_(picture(n));
    hide();
}

void Temoticon::showEvent(QShowEvent* event) {
    guard_([this] { load(); });
    QDialog::showEvent(event);
    centreOnFirstShow(*this, placed_);
}

} // namespace brimble
