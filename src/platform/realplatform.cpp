#include "platform/realplatform.h"

#include "platform/autorunstore.h"
#include "platform/datalocation.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <algorithm>
#include <memory>

#include <cstdlib>

namespace brimble {

namespace {

QString boxTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Brimble!") : name;
}

bool isWindowsPath(const QString& s) {
    const bool drive = s.size() >= 3 && s.at(0).isLetter() && s.at(0).unicode() < 128 &&
                       s.at(1) == u':' && (s.at(2) == u'\\' || s.at(2) == u'/');
    return drive || s.startsWith(QStringLiteral("\\\\"));
}

// Shows the selected picture beside Qt's file dialog.
void addPreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("picturePreview"));
    preview->setAlignment(Qt::AlignCenter);
    preview->setFixedSize(180, 180);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& f) {
        QImageReader reader(f);
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > preview->width() || size.height() > preview->height()))
            reader.setScaledSize(size.scaled(preview->size(), Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (image.isNull()) {
            preview->setPixmap(QPixmap());
            preview->setText(QFileInfo(f).isFile() ? QObject::tr("(no preview)") : QString());
        } else {
            preview->setPixmap(QPixmap::fromImage(image));
        }
    });
}

} // namespace

RealPlatform::RealPlatform() : autorun_(makeAutorunStore()) {}

RealPlatform::~RealPlatform() = default;

QDateTime RealPlatform::now() const { return QDateTime::currentDateTime(); }

QString RealPlatform::programFilePath() const {
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString RealPlatform::databaseDirectory() const {
    if (databaseDir_.isEmpty())
        databaseDir_ = brimble::databaseDirectory(databasePlacesFor(programFilePath()));
    return databaseDir_;
}

QSize RealPlatform::primaryScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

double localNowDays() {
    // The offset of local time from UTC is read again once a second, or at once when the
    // system clock jumps: a change of time zone shows within a second, a change of the clock
    // at the next read. Reading the zone for every row of a scan is what costs.
    static QElapsedTimer mono;
    static qint64 offsetMs = 0, atUtc = 0, atMono = 0;
    static bool known = false;
    if (!mono.isValid())
        mono.start();
    const qint64 utc = QDateTime::currentMSecsSinceEpoch();
    const qint64 elapsed = mono.elapsed();
    if (!known || elapsed - atMono >= 1000 || std::abs((utc - atUtc) - (elapsed - atMono)) > 100) {
        offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()) * 1000;
        atUtc = utc;
        atMono = elapsed;
        known = true;
    }
    // Days since 30 December 1899 (25569 days before 1 January 1970), local time.
    const qint64 local = utc + offsetMs;
    const qint64 day = local >= 0 ? local / 86400000 : -((-local + 86399999) / 86400000);
    const double frac = double(local - day * 86400000) / 86400000.0;
    const double days = double(day + 25569);
    return days >= 0 ? days + frac : days - frac;
}

double RealPlatform::nowDays() const { return localNowDays(); }

QList<QRect> RealPlatform::screenGeometries() const {
    QList<QRect> out;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        out << primary->geometry();
    for (const QScreen* s : QGuiApplication::screens())
        if (s != primary)
            out << s->geometry();
    return out;
}

void RealPlatform::beep() { QApplication::beep(); }

void RealPlatform::showError(const QString& text) {
    QMessageBox::critical(owner_, boxTitle(), text);
}

QWidget* RealPlatform::dialogOwner() const {
    // A dialog belongs to the window the user is working in (Customize, not the hidden main
    // window), so that it stays above it. Pop-ups are tool windows that may go at any tick:
    // never theirs.
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && active->windowType() != Qt::Tool)
        return active;
    return owner_;
}

void RealPlatform::showInformation(const QString& text) {
    // The platform's own information box, with its own caption.
    QMessageBox::information(dialogOwner(), QMessageBox::tr("Information"), text);
}

std::optional<QFont> RealPlatform::chooseFont(const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, dialogOwner());
    if (!ok)
        return std::nullopt;
    return font;
}

std::optional<QColor> RealPlatform::chooseColor(const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, dialogOwner());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

QString RealPlatform::openFileName(const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(dialogOwner(), caption, QString(), filter);
}

QString RealPlatform::openPictureName() {
    // The system's own dialogs take no preview pane, so Qt's dialog is used.
    QFileDialog dialog(dialogOwner());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(pictureFilters());
    addPreview(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

bool RealPlatform::printDocument(const QTextDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, dialogOwner());
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return printMemo(document, printer);
}

bool RealPlatform::shellOpen(const QString& target) {
    const QUrl url = shellOpenUrl(target);
    return url.isValid() && !url.isEmpty() && QDesktopServices::openUrl(url);
}

bool RealPlatform::startCharacterMap() {
    const QString program = characterMapProgram();
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

bool RealPlatform::trayAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

QUrl shellOpenUrl(const QString& target) {
    const QString text = target.trimmed();
    if (text.isEmpty())
        return QUrl();
    if (isWindowsPath(text) || QDir::isAbsolutePath(text))
        return QUrl::fromLocalFile(QDir::fromNativeSeparators(text));
    const QUrl url(text, QUrl::TolerantMode);
    // A one-letter scheme is a drive letter, not a scheme.
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + text, QUrl::TolerantMode);
    if (text.startsWith(QStringLiteral("ftp."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("ftp://") + text, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(QDir::fromNativeSeparators(text)).absoluteFilePath());
}

QString characterMapProgram() {
#ifdef Q_OS_WIN
    return QStringLiteral("charmap.exe");
#else
    for (const char* name : {"gucharmap", "gnome-characters", "kcharselect"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
#endif
}

QStringList pictureFilters() {
    struct Kind {
        const char* extension;
        const char* description;
    };
    static const Kind kinds[] = {
        {"gif", "CompuServe GIF Image"}, {"jpg", "JPEG Image File"}, {"jpeg", "JPEG Image File"},
        {"bmp", "Bitmaps"},              {"ico", "Icons"},           {"emf", "Enhanced Metafiles"},
        {"wmf", "Metafiles"},
    };
    QStringList all, filters;
    for (const Kind& k : kinds) {
        const QString pattern = QStringLiteral("*.") + QLatin1String(k.extension);
        all << pattern;
        filters << QLatin1String(k.description) + QStringLiteral(" (") + pattern + u')';
    }
    filters.prepend(QStringLiteral("All (") + all.join(u' ') + u')');
    return filters;
}

bool printMemo(const QTextDocument& document, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // Laid out again for the printer: its resolution, the page inside 200-dot margins.
    const std::unique_ptr<QTextDocument> doc(document.clone());
    doc->setDefaultFont(document.defaultFont());
    doc->documentLayout()->setPaintDevice(&printer);
    doc->setDocumentMargin(0);
    const QSizeF body(std::max(1, printer.width() - 2 * kPrintMargin),
                      std::max(1, printer.height() - 2 * kPrintMargin));
    doc->setPageSize(body); // lines are not split between pages
    const int pages = std::max(1, doc->pageCount());
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage())
            return false;
        painter.save();
        const QRectF area(QPointF(0, page * body.height()), body);
        painter.translate(kPrintMargin, kPrintMargin - area.top());
        painter.setClipRect(area);
        doc->drawContents(&painter, area);
        painter.restore();
    }
    return painter.end() && printer.printerState() != QPrinter::Error;
}

} // namespace brimble
