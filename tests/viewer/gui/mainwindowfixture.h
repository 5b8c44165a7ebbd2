#pragma once

// A program folder made by the collection generator, and the real windows
// registered as the desktop program registers them.

#include "editorforms.h"
#include "forms.h"
#include "frmini.h"
#include "frmtamvexmain.h"
#include "frmtamvexmaintesting.h"
#include "graphicalbutton.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "programfolder.h"
#include "resultgrid.h"

#include <QComboBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineView>

struct ShownMessage {
    QString prompt;
    QString caption;
};

class MainWindowFixture {
public:
    explicit MainWindowFixture(bool emptyCollection = false)
    {
        QStringList args{QStringLiteral(TAMVEX_SOURCE_DIR "/collection/make_collection.py"), m_dir.path()};
        if (emptyCollection)
            args.insert(1, QStringLiteral("--empty"));
        QProcess::execute(QStringLiteral("/usr/bin/python3"), args);
        setProgramFolderOverride(m_dir.path());
        // The windows keep per-user settings (the variant switch): never the
        // real user's.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path() + QStringLiteral("/settings"));
        Forms::reset();
        Forms::registerForm(QStringLiteral("FrmIni"), [] { return new FrmIni; });
        Forms::registerForm(QStringLiteral("FrmTamvexMain"), [] { return new FrmTamvexMain; });
        registerEditorForms();
        MessageBox::setObserver([this](const QString &p, const QString &c) { messages.append({p, c}); });
    }
    ~MainWindowFixture()
    {
        Forms::reset();
        MessageBox::setObserver({});
        setProgramFolderOverride(QString());
    }

    QString folder() const { return m_dir.path(); }

    // Start screen, then its search button, as the reader does it.
    FrmTamvexMain *openMainWindow()
    {
        auto *start = Forms::instance<FrmIni>(QStringLiteral("FrmIni"));
        start->Show();
        start->cmdQuery->click();
        return static_cast<FrmTamvexMain *>(Forms::existing(QStringLiteral("FrmTamvexMain")));
    }

    // Waits until the browser has loaded what it was last asked for.
    static bool waitForPage(FrmTamvexMain *main)
    {
        QSignalSpy loaded(main->LblDesc(), &QWebEngineView::loadFinished);
        for (int i = 0; i < 100 && main->LblDesc()->url() != QUrl::fromLocalFile(main->navigatedPath()); ++i)
            QTest::qWait(50);
        return loaded.wait(10000) || !main->LblDesc()->page()->isLoading();
    }

    static QVariant evaluate(FrmTamvexMain *main, const QString &script)
    {
        QVariant result;
        bool done = false;
        main->LblDesc()->page()->runJavaScript(script, [&](const QVariant &v) {
            result = v;
            done = true;
        });
        for (int i = 0; i < 200 && !done; ++i)
            QTest::qWait(25);
        return result;
    }

    QList<ShownMessage> messages;

private:
    QTemporaryDir m_dir;
};
