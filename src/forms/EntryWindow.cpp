#include "forms/EntryWindow.h"

#include "data/DataSet.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TMaskEdit.h"
#include "widgets/Fonts.h"
#include "widgets/MessageBoxes.h"
#include "widgets/TApplication.h"
#include "widgets/TLabel.h"

namespace EntryWindow {

namespace {
const QString kSansSerif = QStringLiteral("MS Sans Serif");
}

TLabel* titleLabel(QWidget* parent, int left, int top, const QString& caption)
{
    return new TLabel(parent, left, top, caption, pixelFont(kSansSerif, 24, fsBold), Qt::black);
}

TLabel* rowLabel(QWidget* parent, int left, int top, const QString& caption)
{
    return new TLabel(parent, left, top, caption, pixelFont(kSansSerif, 11, fsBold), Qt::black);
}

TMaskEdit* customerSearchBox(QWidget* parent, const QRect& bounds)
{
    auto* box = new TMaskEdit(parent);
    box->setGeometry(bounds);
    box->SetEditMask(QStringLiteral("P\\000;1;_"));
    box->SetText(QStringLiteral("P0  "));
    return box;
}

void searchBoxKey(QChar key, const TMaskEdit* box, const TDBEdit* current, QWidget* entry)
{
    if (key != QLatin1Char('\r'))
        return;
    if (box->Text() == current->Text())
        entry->setEnabled(true);
    else
        Application->MessageBox(QStringLiteral("Kode Pelanggan tidak ada dalam file!"),
                                QStringLiteral("information"), MB_OK | MB_ICONASTERISK);
}

void saveView(TDataSet* view, const QString& alreadySaved)
{
    if (view->State() != dsEdit && view->State() != dsInsert) {
        ShowMessage(alreadySaved);
        return;
    }
    view->Post();
}

void deleteCurrent(const QList<TDataSet*>& views, const std::function<bool(TDataSet*)>& deletes)
{
    if (MessageDlg(QStringLiteral("Mau dihapus ? "), mbYes | mbNo) != mrYes)
        return;
    for (TDataSet* view : views) {
        if (view->IsEmpty()) {
            ShowMessage(QStringLiteral("Data sudah dihapus"));
            return;
        }
        if (!deletes || deletes(view))
            view->Delete();
    }
}

void clearShownText(TDBComboBox* combo)
{
    if (!combo->Pending())
        combo->setEditText(QString());
}

}
