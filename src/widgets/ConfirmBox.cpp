#include "ConfirmBox.h"

#include "MessageBoxes.h"

#include <QMessageBox>

bool ConfirmOkCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return execAndReactivate(box) == QMessageBox::Ok;
}
