#include "fakeplatform.h"

#include <QTextDocument>

namespace brimble::test {

bool FakePlatform::printDocument(const QTextDocument& document) {
    printed << document.toPlainText();
    return true;
}

} // namespace brimble::test
