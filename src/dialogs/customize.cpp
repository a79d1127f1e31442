#include "dialogs/customize.h"
#include "dialogs/placement.h"

#include "dialogs/pictures.h"
#include "platform/platform.h"
#include "store/view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>
#include <limits>

namespace brimble {

namespace {

QColor fromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

quint32 toBgr(const QColor& c) {
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

// The image buttons' pictures: a letter for the font, a swatch for the colours.
// Drawn at twice the size, so they stay sharp on scaled screens; the ink follows a dark palette.
QPixmap doubleSized() {
    QPixmap pm(48, 48);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    return pm;
}

bool darkPalette() { return QGuiApplication::palette().color(QPalette::Window).lightness() < 128; }

QIcon letterPicture(const QString& letter) {
    QPixmap pm = doubleSized();
    QPainter p(&pm);
    QFont f(QStringLiteral("Times New Roman"));
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(darkPalette() ? QColor(0x9c, 0xb8, 0xff) : QColor(0, 0, 128));
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, letter);
    return QIcon(pm);
}

QIcon swatchPicture(const QColor& colour) {
    QPixmap pm = doubleSized();
    QPainter p(&pm);
    p.setPen(QGuiApplication::palette().color(QPalette::ButtonText));
    p.setBrush(colour);
    p.drawRect(3, 3, 17, 17);
    return QIcon(pm);
}

QToolButton* imageButton(QWidget* parent, const char* name, const QString& hint, QPoint at) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true); // flat
    b->setIconSize(QSize(24, 24));
    b->setGeometry(QRect(at, QSize(32, 32)));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    return b;
}

QLabel* label(QWidget* parent, const QString& text, QPoint at) {
    auto* l = new QLabel(text, parent);
    l->adjustSize();
    l->move(at);
    return l;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(QLatin1String(name));
    c->setAccessibleName(text);
    c->adjustSize();
    c->move(at);
    return c;
}

} // namespace

TForm2::TForm2(View& config, Platform& platform, CustomizeTargets targets, Guard guard,
               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      config_(config), platform_(platform), targets_(std::move(targets)),
      guard_(std::move(guard)) {
    if (!guard_)
        guard_ = [](const std::function<void()>& f) { f(); };
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Customize"));
    setModal(false);
    setFixedSize(kClientSize);
    build();
    run([this] { loadconfig(); });
}

void TForm2::build() {
    QFont body = font();
    // Fully resolved, so the group boxes' bold caption font does not reach their contents.
    body.setResolveMask(QFont::AllPropertiesResolved);
    QFont caption = body;
    caption.setBold(true);
    caption.setPixelSize(13);

    group1_ = new QGroupBox(QStringLiteral("Pop windows"), this);
    group1_->setObjectName(QStringLiteral("GroupBox1"));
    group1_->setGeometry(8, 4, 271, 171);
    group2_ = new QGroupBox(QStringLiteral("Misc"), this);
    group2_->setObjectName(QStringLiteral("GroupBox2"));
    group2_->setGeometry(8, 180, 271, 102);

    label(group1_, QStringLiteral("Tiling"), {14, 26});
    cb2_ = checkBox(group1_, "cb2", QStringLiteral("Cascade"), {26, 44});
    cb1_ = checkBox(group1_, "cb1", QStringLiteral("Tile"), {26, 66});
    label(group1_, QStringLiteral("Timer Repeat"), {14, 100});
    sp1_ = new QSpinBox(group1_);
    sp1_->setObjectName(QStringLiteral("sp1"));
    sp1_->setAccessibleName(QStringLiteral("Timer Repeat"));
    // No bounds: any integer goes to the scan timer.
    sp1_->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    sp1_->setSingleStep(1);
    sp1_->setGeometry(26, 120, 73, 22);
    label(group1_, QStringLiteral("Sec"), {106, 124});
    label(group1_, QStringLiteral("Font"), {160, 26});
    sb1_ = imageButton(group1_, "SpeedButton1", QStringLiteral("Font"), {164, 44});
    sb1_->setIcon(letterPicture(QStringLiteral("F")));
    sb2_ = imageButton(group1_, "SpeedButton2", QStringLiteral("Font Color"), {202, 44});

    label(group2_, QStringLiteral("Selector Color"), {14, 26});
    sb4_ = imageButton(group2_, "SpeedButton4", QStringLiteral("Selector Color"), {26, 46});
    cb5_ = checkBox(group2_, "cb5", QStringLiteral("Autorun on Start"), {120, 54});

    sb3_ = imageButton(this, "SpeedButton3", QStringLiteral("Save config"),
                       {(kClientSize.width() - 32) / 2, 285});
    sb3_->setIcon(dialogPicture(QStringLiteral("tick"), 24));

    // The captions are bold; what the groups hold keeps the dialog's own font.
    for (QGroupBox* g : {group1_, group2_}) {
        g->setFont(caption);
        for (QWidget* w : g->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            w->setFont(body);
            if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w))
                w->adjustSize();
        }
    }

    // The state before the table is read.
    cb2_->setChecked(true);
    cb1_->setChecked(false);
    sp1_->setValue(kInitialSeconds);
    cb5_->setChecked(true);
    sb2_->setIcon(swatchPicture(fromBgr(settings_.font.color)));
    sb4_->setIcon(swatchPicture(fromBgr(settings_.selColor)));

    // A change of state, by the user or from code, runs the box's handler; setting the state
    // a box already has runs nothing.
    connect(cb1_, &QCheckBox::toggled, this, [this] { run([this] { cb1Click(); }); });
    connect(cb2_, &QCheckBox::toggled, this, [this] { run([this] { cb2Click(); }); });
    connect(cb5_, &QCheckBox::toggled, this, [this] { run([this] { cb5Click(); }); });
    connect(sp1_, &QSpinBox::textChanged, this, [this] {
        if (!loading_)
            run([this] { sp1Change(); });
    });
    connect(sb1_, &QToolButton::clicked, this, [this] { run([this] { SpeedButton1Click(); }); });
    connect(sb2_, &QToolButton::clicked, this, [this] { run([this] { SpeedButton2Click(); }); });
    connect(sb3_, &QToolButton::clicked, this, [this] { run([this] { SpeedButton3Click(); }); });
    connect(sb4_, &QToolButton::clicked, this, [this] { run([this] { SpeedButton4Click(); }); });
}

int TForm2::seconds() const {
    bool ok = false;
    const int v = sp1_->text().trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

void TForm2::cb1Click() { cb2_->setChecked(!cb1_->isChecked()); }

void TForm2::cb2Click() {
    // The one place that arranges, whichever box the user clicked.
    if (cb2_->isChecked()) {
        cb1_->setChecked(false);
        if (targets_.cascadeit)
            targets_.cascadeit();
    } else {
        cb1_->setChecked(true);
        if (targets_.tileit)
            targets_.tileit();
    }
}

void TForm2::sp1Change() {
    const int ms = secondsToMs(seconds());
    // A negative count stops the scan like 0 does; the timer never gets a negative interval.
    if (targets_.setScanIntervalMs)
        targets_.setScanIntervalMs(ms < 0 ? 0 : ms);
}

void TForm2::cb5Click() {
    if (targets_.setAutoRun)
        targets_.setAutoRun(cb5_->isChecked());
}

void TForm2::SpeedButton1Click() {
    const auto chosen = platform_.chooseFont(settings_.font.toQFont());
    if (!chosen)
        return;
    settings_.font.takeFrom(*chosen);
}

std::optional<quint32> TForm2::pickColor() {
    const auto chosen = platform_.chooseColor(lastColor_);
    if (!chosen || !chosen->isValid())
        return std::nullopt;
    lastColor_ = *chosen;
    return toBgr(*chosen);
}

void TForm2::SpeedButton2Click() {
    if (const auto c = pickColor()) {
        settings_.font.color = *c;
        sb2_->setIcon(swatchPicture(fromBgr(*c)));
    }
}

void TForm2::SpeedButton4Click() {
    // Stored as the setting; the memo list takes it when the settings are read at start-up.
    if (const auto c = pickColor()) {
        settings_.selColor = *c;
        sb4_->setIcon(swatchPicture(fromBgr(*c)));
    }
}

void TForm2::SpeedButton3Click() {
    saveConfig(config_, settings_, ConfigChoices{cb1_->isChecked(), cb5_->isChecked(), seconds()});
    platform_.showInformation(QStringLiteral("Config saved!"));
}

void TForm2::loadconfig() {
    PopupFont& f = settings_.font;
    f.name = configText(config_, QStringLiteral("pfontname"));
    f.color = quint32(configInt(config_, QStringLiteral("pfontcolor")));
    sb2_->setIcon(swatchPicture(fromBgr(f.color)));
    f.size = configInt(config_, QStringLiteral("pfontsize"));
    f.style = str2fstyle(configText(config_, QStringLiteral("pfontstyle")));
    f.charset = configInt(config_, QStringLiteral("pfontcharset")) & 0xFF;

    settings_.bgColor = configInt(config_, QStringLiteral("pbgcolor"));
    settings_.selColor = quint32(configInt(config_, QStringLiteral("selcolor")));
    sb4_->setIcon(swatchPicture(fromBgr(settings_.selColor)));
    settings_.colorType = configInt(config_, QStringLiteral("popcolortype"));

    const bool autorun = configBool(config_, QStringLiteral("autorun"));
    cb5_->setChecked(autorun);
    // Set in both cases, whatever the box's own handler did.
    if (targets_.setAutoRun)
        targets_.setAutoRun(autorun);

    if (targets_.setListSelectionColor)
        targets_.setListSelectionColor(settings_.selColor);

    if (!configBool(config_, QStringLiteral("formtile")))
        cb1_->setChecked(true);
    else
        cb1_->setChecked(false);

    const int secs = configInt(config_, QStringLiteral("repeatsecond"));
    // The box's change handler would apply the same interval; it is applied once, here, so a
    // count that overflows is reported once.
    loading_ = true;
    sp1_->setValue(secs);
    loading_ = false;
    sp1Change();
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnFirstShow(*this, placed_);
}

} // namespace brimble
