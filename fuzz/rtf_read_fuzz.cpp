// Reads any bytes as RTF. Besides crashes and hangs it checks that what the writer makes
// reads back to a document that writes the same bytes again.
#include "rtf/rtf.h"

#include <QByteArray>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTextDocument doc;
    if (!brimble::rtf::read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), doc))
        return 0;
    (void)brimble::rtf::plainText(doc);
    const QByteArray once = brimble::rtf::write(doc);
    QTextDocument again;
    if (!brimble::rtf::read(QByteArrayView(once), again))
        std::abort();
    const QByteArray twice = brimble::rtf::write(again);
    if (once != twice) {
        std::fprintf(stderr, "written RTF does not read back the same:\n%s\n----\n%s\n",
                     once.constData(), twice.constData());
        std::abort();
    }
    return 0;
}
