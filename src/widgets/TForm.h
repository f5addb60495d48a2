#pragma once

#include <QWidget>

class QMenuBar;

// A window caption: the title, a run of blanks and a full stop.
inline QString windowCaption(const QString& title, int blanks)
{
    return title + QString(blanks, QLatin1Char(' ')) + QLatin1Char('.');
}

enum class TBorderStyle {
    bsNone,     // no title bar, no frame
    bsSingle,   // fixed size, minimise, maximise and close boxes
    bsDialog,   // fixed size, close box only
    bsSizeable, // resizable, all boxes
};

// A window of the program. It is created hidden, lives until the program
// ends and is only shown and hidden. Its controls lie on client(), below the
// menu bar when it has one. Closing it hides it; closing the application's
// main window ends the program.
class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget* owner);

    // Sets caption, border, client size, the windows' font and icon. Windows
    // keep their size unless sizeable; a maximisable one may still be maximised.
    void initWindow(const QString& caption, TBorderStyle style, QSize clientSize, bool maximisable = false);

    QWidget* client() const { return m_client; }
    void setCaption(const QString& caption) { setWindowTitle(caption); }
    void setBorderStyle(TBorderStyle style);
    // Sets the size of the client area (below the menu bar).
    void setClientSize(int width, int height);
    QSize clientSize() const;
    void setMenuBar(QMenuBar* menuBar);
    QMenuBar* menuBar() const { return m_menuBar; }

    // Show makes the window visible and brings it to the front.
    void Show();
    void Hide() { hide(); }
    void Close() { close(); }

    // Handlers; each runs through the guard.
    virtual void FormCreate() {}

protected:
    virtual void FormShow() {}
    virtual void FormActivate() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int menuHeight() const;
    void centreOnScreen();
    void keepRestoredSize();

    QWidget* m_client;
    QMenuBar* m_menuBar = nullptr;
    bool m_fixedSize = false;
    bool m_fixedWhenRestored = false;
    QSize m_restoredSize;
};
