#pragma once

#include "widgets/TForm.h"

#include <optional>

class QFrame;
class QLineEdit;
class QPushButton;
class TImage;
class TLabel;
class TStatusBar;
class TTimer;

// The login window, the application's main window: closing it ends the program.
class TFormPassword : public TForm {
    Q_OBJECT
public:
    explicit TFormPassword(QWidget* owner);

    TImage* Image2;
    TLabel* Label4;
    TLabel* Label5;
    TLabel* Label3;
    TLabel* Label1;
    QLineEdit* eNama;
    TImage* Image1;
    TLabel* Label2;
    QLineEdit* ePassword;
    QFrame* StatusBar2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    TStatusBar* StatusBar1;
    TTimer* Timer1;

    void Timer1Timer();
    void Image1Click();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    struct Rejection {
        QString text;
        unsigned flags;
    };
    // Why the attempt is refused, or nothing when the pair is accepted.
    std::optional<Rejection> rejection() const;
};

extern TFormPassword* FormPassword;
