#pragma once

#include "app/TViewStyle.h"
#include "widgets/TForm.h"

class QGroupBox;
class TLabel;
class TSpeedButton;
class TStyledView;
class TTimer;

// The credits window: an endless credit roll over a still stone background.
class TFAbout : public TForm {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* owner);

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    TStyledView* StyledView2;
    TLabel* Label4;
    TLabel* Label3;
    TSpeedButton* SpeedButton1;
    TTimer* Timer1;
    TViewStyle ViewStyle1;

    void FormCreate() override;
    void Timer1Timer();
    void Label1Click();
    void SpeedButton1Click();

    // The author's contact address, shown by Label3 and opened as "mailto:".
    static const QString ContactAddress;

protected:
    void FormShow() override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void buildRoll();

    bool m_rollPending = false;
};

extern TFAbout* FAbout;
