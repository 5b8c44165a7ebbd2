#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QWidget>

// A window with the life cycle the program's windows expect: it can be
// loaded (its load step runs) without being shown, shown modeless, hidden
// and unloaded. Showing or hiding a window that is not loaded loads it
// first. Closing it through its title bar unloads it. The program ends when
// the last loaded window is unloaded (see Forms), not when the last visible
// one is hidden.
class TamvexForm : public QWidget {
    Q_OBJECT
public:
    explicit TamvexForm(const QString &formName, QWidget *parent = nullptr);
    ~TamvexForm() override;

    const QString &formName() const { return m_formName; }
    bool isLoaded() const { return m_loaded; }

    void Load();
    void Show();
    void Hide();
    // Runs the unload step, hides the window and drops it: the next use
    // makes a new window in its design state.
    void Unload();

    // Outer position and size in twips (frame and title bar included), as a
    // window sets them on itself. A window that is not on screen yet has no
    // frame to measure: its size is then taken as the inner size and made
    // the outer one as soon as the window manager has framed it.
    void setOuterGeometryTwips(double left, double top, double width, double height);

    // The colour of the window wherever its design picture does not reach.
    void setBackgroundColour(const QColor &colour);

protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QString m_formName;
    bool m_loaded = false;
    bool m_unloading = false;
    QSize m_pendingOuterSize; // in pixels, until the frame is known

    void applyPendingOuterSize();
};
