#include "editor/formatbar.h"

#include "controls/richedit/charattrs.h"
#include "controls/richedit/richedit.h"
#include "controls/richedit/shellrun.h"
#include "editor/toolpictures.h"
#include "platform/platform.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <climits>

namespace brimble {

SizeBox::SizeBox(Platform& platform, QWidget* parent) : QSpinBox(parent), platform_(platform) {
    setRange(INT_MIN, INT_MAX);
    setSingleStep(1);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
}

bool SizeBox::accepts(QChar c) const {
    return c.isDigit() || c == u'+' || c == u'-' || c == locale().decimalPoint().front();
}

void SizeBox::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const QString t = e->text();
    const bool printable = !t.isEmpty() && t.front().isPrint() &&
                           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (enter || (printable && !accepts(t.front()))) {
        platform_.beep();
        e->accept();
        return;
    }
    QSpinBox::keyPressEvent(e);
}

QValidator::State SizeBox::validate(QString& input, int&) const {
    for (QChar c : input)
        if (!accepts(c))
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

int SizeBox::valueFromText(const QString& text) const {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : 0;
}

void SizeBox::fixup(QString&) const {}

int SizeBox::textValue() const { return valueFromText(lineEdit()->text()); }

namespace {

// A button without a hint is still announced by what it does, never by its control name.
QToolButton* button(QToolBar* bar, const char* name, const char* picture, bool check,
                    const QString& hint, const QString& spoken = {}) {
    auto* b = new QToolButton(bar);
    b->setToolTip(hint);
    b->setAccessibleName(hint.isEmpty() ? spoken : hint);
    b->setObjectName(QLatin1String(name));
    b->setIcon(toolPicture(QLatin1String(picture)));
    b->setIconSize(QSize(16, 16));
    b->setFixedSize(23, 22);
    b->setAutoRaise(true);
    b->setCheckable(check);
    bar->addWidget(b);
    return b;
}

void addGap(QToolBar* bar, int width) {
    auto* gap = new QWidget(bar);
    gap->setFixedWidth(width);
    bar->addWidget(gap);
}

} // namespace

FormatBar::FormatBar(TRichEdit& editor, Platform& platform, QWidget* host,
                     MemoEditor::Guard guard)
    : QObject(host), editor_(editor), platform_(platform), guard_(std::move(guard)),
      inserter_(editor, platform) {
    bar_ = new QToolBar(host);
    bar_->setObjectName(QStringLiteral("ToolBar2"));
    bar_->setAccessibleName(QStringLiteral("Formatting"));
    bar_->setMovable(false);
    bar_->setFloatable(false);
    bar_->setIconSize(QSize(16, 16));
    bar_->setContentsMargins(0, 0, 0, 0);
    bar_->layout()->setSpacing(0);
    bar_->layout()->setContentsMargins(0, 0, 0, 0);
    bar_->setGeometry(0, 0, 420, 30);
    tb10_ = button(bar_, "ToolButton10", "italic", true, {}, QStringLiteral("Italic"));
    tb11_ = button(bar_, "ToolButton11", "underline", true, {}, QStringLiteral("Underline"));
    tb12_ = button(bar_, "ToolButton12", "bold", true, {}, QStringLiteral("Bold"));
    addGap(bar_, 8);
    se_ = new SizeBox(platform_, bar_);
    se_->setObjectName(QStringLiteral("SE"));
    se_->setAccessibleName(QStringLiteral("Font size"));
    se_->setFixedWidth(41);
    bar_->addWidget(se_);
    addGap(bar_, 14);
    tb13_ = button(bar_, "ToolButton13", "alignleft", true, {}, QStringLiteral("Align left"));
    tb14_ = button(bar_, "ToolButton14", "aligncenter", true, {}, QStringLiteral("Align center"));
    tb15_ = button(bar_, "ToolButton15", "alignright", true, {}, QStringLiteral("Align right"));
    addGap(bar_, 15);
    tb16_ = button(bar_, "ToolButton16", "charmap", false, QStringLiteral("Insert Character Map"));
    tb17_ = button(bar_, "ToolButton17", "fontcolor", false, QStringLiteral("Font Color"));
    tb18_ = button(bar_, "ToolButton18", "font", false, QStringLiteral("Font"));
    tb19_ = button(bar_, "ToolButton19", "fontbg", false, QStringLiteral("Font bg color"));
    tb20_ = button(bar_, "ToolButton20", "picture", false, QStringLiteral("Insert Image"));
    tb21_ = button(bar_, "ToolButton21", "smiley", false, QStringLiteral("Insert Quick Image"));
    tb25_ = button(bar_, "ToolButton25", "link", false, QStringLiteral("Create Hyperlink"));
    tb26_ = button(bar_, "ToolButton26", "print", false, QStringLiteral("Print Memo"));
    // A disabled button ignores its shortcut, so the key follows the button's state.
    tb26_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));

    auto wire = [this](QToolButton* b, void (FormatBar::*handler)()) {
        connect(b, &QToolButton::clicked, this,
                [this, handler] { guard_([&] { (this->*handler)(); }); });
    };
    wire(tb10_, &FormatBar::ToolButton10Click);
    wire(tb11_, &FormatBar::ToolButton11Click);
    wire(tb12_, &FormatBar::ToolButton12Click);
    wire(tb13_, &FormatBar::ToolButton13Click);
    wire(tb14_, &FormatBar::ToolButton14Click);
    wire(tb15_, &FormatBar::ToolButton15Click);
    wire(tb16_, &FormatBar::ToolButton16Click);
    wire(tb17_, &FormatBar::ToolButton17Click);
    wire(tb18_, &FormatBar::ToolButton18Click);
    wire(tb19_, &FormatBar::ToolButton19Click);
    wire(tb20_, &FormatBar::ToolButton20Click);
    wire(tb21_, &FormatBar::ToolButton21Click);
    wire(tb25_, &FormatBar::ToolButton25Click);
    wire(tb26_, &FormatBar::ToolButton26Click);
    // The box's own signal: it also tells of steps and of values set from the selection.
    connect(se_, &QSpinBox::textChanged, this,
            [this] { guard_([this] { SEChange(); }); });
    se_->installEventFilter(this);
}

FormatBar::~FormatBar() {
    se_->removeEventFilter(this);
    delete bar_;
}

bool FormatBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == se_) {
        if (event->type() == QEvent::FocusIn)
            SEEnter();
        else if (event->type() == QEvent::FocusOut)
            SEExit();
    }
    return QObject::eventFilter(watched, event);
}

void FormatBar::follow() {
    dialogFont_ = QFont(editor_.faceName());
    dialogFont_.setPointSize(std::max(1, editor_.size()));
    const int st = editor_.style();
    dialogFont_.setBold(st & charattr::kBold);
    dialogFont_.setItalic(st & charattr::kItalic);
    dialogFont_.setUnderline(st & charattr::kUnderline);
    dialogFont_.setStrikeOut(st & charattr::kStrikeOut);
    dialogCharset_ = editor_.charset();
    dialogColor_ = editor_.textColor();

    se_->setValue(editor_.size());
    tb12_->setChecked(st & charattr::kBold);
    tb10_->setChecked(st & charattr::kItalic);
    tb11_->setChecked(st & charattr::kUnderline);
    const int a = editor_.paraAlignment();
    tb13_->setChecked(a == 0);
    tb14_->setChecked(a == 2);
    tb15_->setChecked(a == 1);
}

void FormatBar::toggleStyle(QToolButton* b, int bit) {
    const int st = editor_.style();
    editor_.setStyle(b->isChecked() ? st | bit : st & ~bit);
}

void FormatBar::ToolButton10Click() { toggleStyle(tb10_, charattr::kItalic); }
void FormatBar::ToolButton11Click() { toggleStyle(tb11_, charattr::kUnderline); }
void FormatBar::ToolButton12Click() { toggleStyle(tb12_, charattr::kBold); }

void FormatBar::align(int alignment, QToolButton* raise1, QToolButton* raise2) {
    editor_.setParaAlignment(alignment);
    raise1->setChecked(false);
    raise2->setChecked(false);
}

void FormatBar::ToolButton13Click() { align(0, tb14_, tb15_); }
void FormatBar::ToolButton14Click() { align(2, tb13_, tb15_); }
void FormatBar::ToolButton15Click() { align(1, tb13_, tb14_); }

void FormatBar::SEChange() {
    if (sefocus_)
        editor_.setSize(se_->textValue());
}

void FormatBar::ToolButton16Click() {
    shellrun(platform_, QStringLiteral("charmap.exe"), {}, {}, kShowNormalActivate);
}

void FormatBar::ToolButton17Click() {
    // Automatic text shows as the window-text colour; confirming makes that colour explicit.
    const auto chosen = platform_.chooseColor(charattr::fromColorRef(editor_.textColor()));
    if (chosen)
        editor_.setTextColor(charattr::colorRef(*chosen));
}

void FormatBar::ToolButton19Click() {
    const auto chosen = platform_.chooseColor(charattr::fromColorRef(editor_.backColor()));
    if (chosen)
        editor_.setBackColor(charattr::colorRef(*chosen));
}

void FormatBar::ToolButton18Click() {
    const auto chosen = platform_.chooseFont(dialogFont_);
    if (!chosen)
        return;
    const QFont& f = *chosen;
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : dialogFont_.pointSizeF();
    editor_.setSize(int(points));
    // The dialog keeps no character set or colour of its own: those of the last sync.
    editor_.setCharset(dialogCharset_);
    editor_.setTextColor(dialogColor_);
    editor_.setFaceName(f.family());
    int bits = 0;
    if (f.bold())
        bits |= charattr::kBold;
    if (f.italic())
        bits |= charattr::kItalic;
    if (f.underline())
        bits |= charattr::kUnderline;
    if (f.strikeOut())
        bits |= charattr::kStrikeOut;
    editor_.setStyle(bits);
}

void FormatBar::print() {
    platform_.printDocument(*editor_.document()); // the printing layer reports its own failures
}

void FormatBar::ToolButton26Click() { print(); }

void FormatBar::ToolButton20Click() { inserter_.insertImageFile(); }

void FormatBar::ToolButton21Click() {
    if (showQuickImages_)
        showQuickImages_();
}

void FormatBar::ToolButton25Click() {
    if (showHyperLink_)
        showHyperLink_();
}

void FormatBar::setDialogs(std::function<void()> quickImages, std::function<void()> hyperLink) {
    showQuickImages_ = std::move(quickImages);
    showHyperLink_ = std::move(hyperLink);
}

} // namespace brimble
