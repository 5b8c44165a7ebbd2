#pragma once

// Helpers for causing faults in a program folder made by the collection
// generator (see MainWindowFixture), and for reading what the reader sees.

#include "mainwindowfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QLineEdit>
#include <QLabel>

namespace Faults {

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Removes whatever stands at path: file, link, FIFO or folder tree.
inline void clear(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// Every message shown so far, one per line.
inline QString allPrompts(const QList<ShownMessage> &messages)
{
    QStringList prompts;
    for (const ShownMessage &m : messages)
        prompts << m.prompt;
    return prompts.join(u'\n');
}

inline QByteArray withoutMarks(QByteArray page)
{
    page.replace(QByteArrayLiteral("<font color=red>"), QByteArray());
    page.replace(QByteArrayLiteral("</font>"), QByteArray());
    return page;
}

inline QByteArray big5(const QString &text)
{
    QStringEncoder encoder("windows-950");
    return encoder.encode(text);
}

// Waits until the browser shows what it was last asked for. Polls instead of
// waiting for a load signal that may have come already.
inline bool pageShown(FrmTamvexMain *main, int timeoutMs = 60000)
{
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (main->LblDesc()->url() == QUrl::fromLocalFile(main->navigatedPath()) && !main->LblDesc()->page()->isLoading())
            return true;
        QTest::qWait(20);
    }
    return false;
}

// Sets the query box and presses Enter in it, as the reader does.
inline void search(FrmTamvexMain *main, const QString &text)
{
    main->TxtQuery()->setEditText(text);
    QTest::keyClick(main->TxtQuery(), Qt::Key_Return);
}
}
