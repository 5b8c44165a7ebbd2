// Condition files: a file whose lines all end in CR LF (a last line may have
// no end) and that loads, saves back to the very same bytes, through the
// text box text and a real file. A file that does not load gives a Failure
// with a number and a description, and the file on disk is not touched.

#include "conditionfile.h"
#include "conditiontext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {
void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_conditionfile: %s\n", what);
        std::abort();
    }
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "cannot read the file back");
    return file.readAll();
}

// Every CR is followed by LF: a CR LF file (lone LFs belong to their line).
bool hasCrLfEnds(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))
            return false;
    return true;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = QDir(dir.path()).filePath(u"cond.txt"_qs);
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input file");
        file.write(bytes);
    }
    const Result<QString> text = ConditionFile::load(path);
    if (!text.ok()) {
        check(text.failure().number != 0 && text.failure().description.contains(path), "failure does not name the file");
        check(readAll(path) == bytes, "a failed load changed the file");
        return 0;
    }
    const Result<QByteArray> again = ConditionText::toFileBytes(text.value());
    check(again.ok(), "loaded text cannot be stored again");
    if (hasCrLfEnds(bytes))
        check(again.value() == bytes, "text box round trip changed a CR LF file");
    const Status saved = ConditionFile::save(path, text.value());
    check(saved.ok(), "loaded text cannot be saved");
    check(readAll(path) == again.value(), "saved file differs from the text's bytes");
    return 0;
}
