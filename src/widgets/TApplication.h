#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class Exception;
class QWidget;
class TForm;

// The application object: title, main window, the hidden owner of every
// window, the message loop and its end, and the default error report.
class TApplication : public QObject {
    Q_OBJECT
public:
    // Sets itself up as the program-wide Application; derives the title from
    // the program file's name.
    explicit TApplication(const QString& programFile);
    ~TApplication() override;

    // "C:/x/SALES.EXE" or "/usr/bin/sales.exe" gives "Sales" / "sales": the
    // folder is dropped, the name cut at its first full stop, and every
    // character after the first turned to lower case.
    static QString titleFromProgramFile(const QString& programFile);

    const QString& Title() const { return m_title; }
    QWidget* owner() const { return m_owner; }
    TForm* MainForm() const { return m_mainForm; }
    const QList<TForm*>& forms() const { return m_forms; }

    // The window-creation operation: builds the window, makes the first one
    // the main window, then runs its creation handler through the guard.
    template <class Form>
    void CreateForm(Form*& reference)
    {
        reference = new Form(m_owner);
        adopt(reference);
    }

    // Shows the main window and runs the message loop until Terminate;
    // then hides and destroys every window, the last created first.
    int Run();
    void Terminate();
    bool Terminated() const { return m_terminated; }
    void ProcessMessages();

    // The default error report: EAbort is dropped; any other error is shown
    // in an application message box with the error icon.
    void ShowException(const Exception& error);
    // The platform message box owned by the hidden owner window: every other
    // window is disabled while it shows; afterwards the active window and its
    // focused control are restored.
    int MessageBox(const QString& text, const QString& caption, unsigned flags);

    // Whether the program's single taskbar entry is shown: exactly while one
    // of its windows is visible.
    bool taskbarEntryVisible() const { return m_taskbarEntryVisible; }

    // Destroys every window, the last created first.
    void destroyForms();

Q_SIGNALS:
    void formCreated(TForm* form);
    void taskbarEntryChanged(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void adopt(TForm* form);
    void updateTaskbarEntry();

    QString m_title;
    QWidget* m_owner;
    TForm* m_mainForm = nullptr;
    QList<TForm*> m_forms;
    bool m_terminated = false;
    bool m_taskbarEntryVisible = false;
};

extern TApplication* Application;

// Text of the "Application Error" box for an error that escaped start-up.
QString applicationErrorText(const Exception& error);
// Shows the "Application Error" box (task-modal, no owner).
void showApplicationError(const Exception& error);
