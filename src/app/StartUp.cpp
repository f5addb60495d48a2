#include "app/StartUp.h"

#include "app/UPassword.h"
#include "app/USplash.h"
#include "app/UUtama.h"
#include "app/Ucredits.h"
#include "data/AliasConfig.h"
#include "data/LongWork.h"
#include "errors/Exception.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "forms/UPesanan.h"
#include "reports/Pictures.h"
#include "reports/ui/UTanggal.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TApplication.h"
#include "widgets/TTimer.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>

namespace {

// Keeps the splash painted until its timer closes it; deliberately busy.
void showSplash()
{
    FrmSplash = new TFrmSplash(Application->owner());
    FrmSplash->show();
    FrmSplash->repaint();
    while (FrmSplash->Timer1->Enabled())
        QCoreApplication::processEvents();
}

// A server password that other users of the computer can read is worth
// telling before the program goes on with it.
void warnOfExposedPassword()
{
    const QString warning = AliasConfig::exposedPasswordWarning();
    if (!warning.isEmpty())
        Application->MessageBox(warning, Application->Title(), MB_OK | MB_ICONEXCLAMATION);
}

// The operator sees that a long total goes on: the program does not answer meanwhile.
void showBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

} // namespace

void createForms()
{
    // Every window of the program, the report windows included, carries its icon.
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(Pictures::windowIcon())));
    LongWork::SetIndicator(showBusy);
    Application->CreateForm(FormPassword);
    Application->CreateForm(FormPelanggan);
    Application->CreateForm(FormBarang);
    Application->CreateForm(FormPenjualan);
    Application->CreateForm(FAbout);
    Application->CreateForm(FormUtama);
    Application->CreateForm(FormPesanan);
    Application->CreateForm(FormTanggal);
}

int runProgram(const std::function<void(TApplication&)>& onReady)
{
    TApplication application(QCoreApplication::applicationFilePath());
    if (onReady)
        onReady(application);
    try {
        showSplash();
        warnOfExposedPassword();
        createForms();
        delete FrmSplash;
        FrmSplash = nullptr;
    } catch (const Exception& error) {
        showApplicationError(error);
        return 1;
    } catch (const std::exception& error) {
        showApplicationError(Exception(QString::fromLocal8Bit(error.what())));
        return 1;
    }
    return application.Run();
}
