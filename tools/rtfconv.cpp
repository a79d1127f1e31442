// rtfconv: the codec from the command line.
//   rtfconv --text FILE       plain text of an RTF file, lines joined with CR LF
//   rtfconv --rtf FILE        an RTF file read and written again
//   rtfconv --from-text FILE  a plain text file (UTF-8) written as RTF
// "-" reads standard input. The result goes to standard output.
#include "rtf/rtf.h"

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

bool slurp(const char* path, QByteArray& data, std::string& error) {
    const bool stdinput = std::strcmp(path, "-") == 0;
    FILE* f = stdinput ? stdin : std::fopen(path, "rb");
    if (!f) {
        error = std::strerror(errno);
        return false;
    }
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, qsizetype(n));
    const bool failed = std::ferror(f);
    if (failed)
        error = std::strerror(errno);
    if (!stdinput)
        std::fclose(f);
    return !failed;
}

int usage() {
    std::fputs("usage: rtfconv --text FILE | --rtf FILE | --from-text FILE  (\"-\" is standard input)\n",
               stderr);
    return 2;
}

void put(const QByteArray& bytes) { std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout); }

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return usage();
    const std::string mode = argv[1];
    if (mode != "--text" && mode != "--rtf" && mode != "--from-text")
        return usage();
    const char* path = argv[2];
    const std::string shown = std::strcmp(path, "-") == 0 ? "standard input" : path;

    QByteArray data;
    std::string error;
    if (!slurp(path, data, error)) {
        std::fprintf(stderr, "rtfconv: cannot read %s: %s\n", shown.c_str(), error.c_str());
        return 1;
    }
    // The process ends right after: the operating system frees the document faster than its
    // destructor would. (Held by a static, it is no leak to a leak checker.)
    static QTextDocument* const document = new QTextDocument;
    QTextDocument& doc = *document;
    if (mode == "--from-text") {
        doc.setPlainText(QString::fromUtf8(data));
        put(brimble::rtf::write(doc));
        return 0;
    }
    if (!brimble::rtf::read(QByteArrayView(data), doc)) {
        std::fprintf(stderr, "rtfconv: %s is not RTF (it does not begin with {\\rtf)\n", shown.c_str());
        return 1;
    }
    if (mode == "--text")
        put(brimble::rtf::plainText(doc).toUtf8());
    else
        put(brimble::rtf::write(doc));
    return std::fflush(stdout) == 0 ? 0 : 1;
}
