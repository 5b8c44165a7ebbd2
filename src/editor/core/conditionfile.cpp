#include "conditionfile.h"

#include <QCoreApplication>

#include "conditiontext.h"
#include "wholefilewrite.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr auto anyWriteBit = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

Failure fileFailure(int number, const QString &path, const QString &reason)
{
    return Failure{number, QCoreApplication::translate("ConditionFile", "%1：%2").arg(path, reason)};
}

QString noFileChosen()
{
    return QCoreApplication::translate("ConditionFile", "沒有選擇檔案；請先在檔案清單中點選檔案。");
}

// Why a file cannot be read, in the reader's words where we know them.
QString unreadableReason(const QString &path, const QFile &file)
{
    if (path.endsWith(QLatin1Char('/')))
        return noFileChosen();
    const QFileInfo info(path);
    if (!info.exists())
        return QCoreApplication::translate("ConditionFile", "找不到這個檔案（可能已被移除或改名）。");
    if (!info.isFile())
        return QCoreApplication::translate("ConditionFile", "這不是檔案。");
    return QCoreApplication::translate("ConditionFile", "無法讀取這個檔案（%1）。").arg(file.errorString());
}

// Where a path cannot take a new file, the reason; empty when it can.
QString unwritableReason(const QString &path)
{
    if (path.endsWith(QLatin1Char('/')))
        return noFileChosen();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return QCoreApplication::translate("ConditionFile", "這不是檔案。");
    if (info.exists() && !(info.permissions() & anyWriteBit))
        return QCoreApplication::translate("ConditionFile", "這個檔案是唯讀的。");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return QCoreApplication::translate("ConditionFile", "資料夾 %1 已不存在或不是資料夾。").arg(folder.filePath());
    return QString();
}
}

namespace ConditionFile {

QString fullPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

Result<QString> load(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return fileFailure(FailureNumber::FileIo, path, unreadableReason(path, file));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fileFailure(FailureNumber::FileIo, path, QCoreApplication::translate("ConditionFile", "讀取失敗（%1）。").arg(file.errorString()));
    Result<QString> text = ConditionText::fromFileBytes(bytes);
    if (!text)
        return fileFailure(text.failure().number, path, text.failure().description);
    return text;
}

Status save(const QString &path, const QString &text)
{
    if (const QString reason = unwritableReason(path); !reason.isEmpty())
        return fileFailure(FailureNumber::PathAccess, path, reason);
    const Result<QByteArray> bytes = ConditionText::toFileBytes(text);
    if (!bytes)
        return fileFailure(bytes.failure().number, path, bytes.failure().description);
    const WholeFileWriteOutcome written = WholeFileWrite::write(path, bytes.value());
    if (!written.written)
        return fileFailure(FailureNumber::PathAccess, path,
                           written.touched ? QCoreApplication::translate("ConditionFile", "寫入失敗（%1）；檔案可能只寫入了一部分。").arg(written.reason)
                                           : QCoreApplication::translate("ConditionFile", "寫入失敗（%1）；檔案未變更。").arg(written.reason));
    return Status();
}
}
