#pragma once

#include "tamvexform.h"

#include <QStringList>

#include <functional>

class GraphicalButton;
class QLabel;

// The start screen: a full-window picture with two picture buttons. The
// search button opens the main window; the second button opens the
// demonstration page in a browser when the installation provides
// "index-logo2.jpg". Optional pictures in the program folder replace the
// design ones at each load.
class FrmIni : public TamvexForm {
    Q_OBJECT
public:
    FrmIni();

    // Starts a program with its arguments; returns false when it could not
    // be started. Tests replace it to see the command line.
    using Launcher = std::function<bool(const QString &program, const QStringList &arguments)>;
    static void setLauncher(Launcher launcher);

    // The browser path of installations made for Windows.
    static QString fixedBrowserPath();

    void cmdQuery_Click();
    void cmdSet_Click();

    GraphicalButton *cmdQuery = nullptr;
    GraphicalButton *cmdSet = nullptr;
    QPixmap backgroundPicture() const;

protected:
    void Form_Load() override;

private:
    void setBackgroundPicture(const QPixmap &picture);
    void applyButtonPicture(GraphicalButton *button, const QString &tail);
    void openDemonstrationPage();

    QLabel *m_background = nullptr;
};
