// Condition files: a file of valid code page 950 text (every character, as
// the page marker's table sees it, mapped) always loads. A file whose lines
// all end in CR LF (a last line may have no end) and that loads saves back to
// the same characters, through the text box text and a real file. A file
// that does not load gives a Failure with a number and a description, and the
// file on disk is not touched.

#include "conditionfile.h"
#include "conditiontext.h"
#include "big5table.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
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

// Every character is one the code page maps: a lone lead byte or an
// unmapped pair makes the text invalid.
bool isValidBig5(const QByteArray &bytes)
{
    const std::u16string characters = Big5Table::instance().decode(bytes);
    return characters.find(Big5Table::Unmapped) == std::u16string::npos;
}

QString decoded(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-950", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
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
    check(text.ok() || !isValidBig5(bytes), "a file of valid code page 950 text was refused");
    if (!text.ok()) {
        check(text.failure().number != 0 && text.failure().description.contains(path), "failure does not name the file");
        check(readAll(path) == bytes, "a failed load changed the file");
        return 0;
    }
    const Result<QByteArray> again = ConditionText::toFileBytes(text.value());
    check(again.ok(), "loaded text cannot be stored again");
    // The bytes may differ where a character has two codes; the characters may not.
    if (hasCrLfEnds(bytes))
        check(decoded(again.value()) == decoded(bytes), "text box round trip changed a CR LF file");
    const Status saved = ConditionFile::save(path, text.value());
    check(saved.ok(), "loaded text cannot be saved");
    check(readAll(path) == again.value(), "saved file differs from the text's bytes");
    return 0;
}
