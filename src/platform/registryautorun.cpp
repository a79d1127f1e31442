#include "platform/registryautorun.h"

#include <QSettings>

#ifdef Q_OS_WIN

namespace brimble {

namespace {

QString rootKey(AutorunRoot root) {
    return root == AutorunRoot::CurrentUser ? QStringLiteral("HKEY_CURRENT_USER")
                                            : QStringLiteral("HKEY_LOCAL_MACHINE");
}

const QString kParent = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion");
const QString kRun = QStringLiteral("Run");

// QSettings would make a missing key on write; the Run key is only ever opened.
bool runKeyExists(AutorunRoot root) {
    QSettings parent(rootKey(root) + kParent, QSettings::NativeFormat);
    return parent.childGroups().contains(kRun, Qt::CaseInsensitive);
}

QString runKey(AutorunRoot root) { return rootKey(root) + kParent + u'\\' + kRun; }

// QSettings reads both separators as key levels; a value name holds neither.
bool validName(const QString& name) {
    return !name.isEmpty() && !name.contains(u'\\') && !name.contains(u'/');
}

} // namespace

std::optional<QString> RegistryAutorunStore::read(AutorunRoot root, const QString& name) {
    if (!validName(name) || !runKeyExists(root))
        return std::nullopt;
    QSettings run(runKey(root), QSettings::NativeFormat);
    if (!run.contains(name))
        return std::nullopt;
    return run.value(name).toString();
}

bool RegistryAutorunStore::write(AutorunRoot root, const QString& name, const QString& text) {
    if (!validName(name) || !runKeyExists(root))
        return false;
    QSettings run(runKey(root), QSettings::NativeFormat);
    run.setValue(name, text);
    run.sync();
    return run.status() == QSettings::NoError;
}

bool RegistryAutorunStore::remove(AutorunRoot root, const QString& name) {
    if (!validName(name) || !runKeyExists(root))
        return false;
    QSettings run(runKey(root), QSettings::NativeFormat);
    if (!run.contains(name))
        return false;
    run.remove(name);
    run.sync();
    return run.status() == QSettings::NoError;
}

} // namespace brimble

#endif
