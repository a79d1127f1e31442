#include "platform/soleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace brimble {

namespace {

constexpr int kWaitMs = 1000;
constexpr char kShow[] = "show\n";

QString userName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name;
}

} // namespace

SoleInstance::SoleInstance(const QString& key, QObject* parent) : QObject(parent) {
    // Local socket names are shared by every user of the machine: the user is part of the name.
    // The same file reached through a link, a bind mount's other name or "..": one key.
    const QFileInfo file(key);
    const QString canonical = file.canonicalFilePath();
    const QString where = canonical.isEmpty() ? QDir::cleanPath(file.absoluteFilePath()) : canonical;
    const QByteArray id = (where + QLatin1Char('\n') + userName()).toUtf8();
    name_ = QStringLiteral("brimble-") +
            QString::fromLatin1(
                QCryptographicHash::hash(id, QCryptographicHash::Sha256).toHex().left(24));
}

SoleInstance::~SoleInstance() = default;

bool SoleInstance::claim() {
    if (server_)
        return true;
    {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(kWaitMs)) {
            probe.write(kShow);
            probe.waitForBytesWritten(kWaitMs);
            probe.disconnectFromServer();
            return false;
        }
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A copy that crashed leaves its socket behind, and nobody answers on it.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_, &QLocalServer::newConnection, this, &SoleInstance::takeRequest);
    return true;
}

void SoleInstance::takeRequest() {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        auto read = [this, s] {
            if (s->canReadLine() && s->readLine() == kShow)
                emit activationRequested();
        };
        connect(s, &QLocalSocket::readyRead, this, read);
        read(); // the request may have arrived with the connection
    }
}

} // namespace brimble
