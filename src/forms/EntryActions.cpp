#include "forms/EntryActions.h"

#include "app/MessageBoxes.h"
#include "data/DataSet.h"
#include "data/controls/TDBComboBox.h"

namespace EntryActions {

void postOrSay(TDataSet* view, const QString& failureMessage)
{
    try {
        view->Post();
    } catch (...) {
        ShowMessage(failureMessage);
    }
}

void confirmAndDelete(const std::function<void()>& deleteRecords)
{
    try {
        if (MessageDlg(QStringLiteral("Mau dihapus ? "), mbYes | mbNo) == mrYes)
            deleteRecords();
    } catch (...) {
        ShowMessage(QStringLiteral("Data sudah dihapus"));
    }
}

// Text the user typed and that is not yet in the record stays shown.
void clearShownText(TDBComboBox* combo)
{
    if (!combo->Pending())
        combo->setEditText(QString());
}

} // namespace EntryActions
