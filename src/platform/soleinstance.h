#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace brimble {

// One running copy per database. Started again (by hand while the log-on copy waits in the
// tray, say), the program asks the running copy to show its window and ends, instead of
// popping every memo twice and racing it for the same rows.
class SoleInstance : public QObject {
    Q_OBJECT
public:
    // `key` names what a copy works on: its database file. Links to the file are followed, so
    // two copies that reach one file by different paths are still one.
    explicit SoleInstance(const QString& key, QObject* parent = nullptr);
    ~SoleInstance() override;

    // True when no other copy answered: this one now takes the requests. False when another
    // copy of this user runs on the same key; it has been asked to show itself. Anything
    // that goes wrong here lets the program run, never keeps it from starting.
    bool claim();
    const QString& serverName() const { return name_; }

signals:
    // Another start asked this copy to show itself.
    void activationRequested();

private:
    void takeRequest();

    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace brimble
