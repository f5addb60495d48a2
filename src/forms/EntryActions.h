#pragma once

#include <QString>

#include <functional>

class QWidget;
class TDataSet;
class TDBComboBox;

// The save and delete actions of the data entry windows and the clearing of
// their entry controls.
namespace EntryActions {

// Posts the view; any failure at all (the silent abort of a rejected key
// included) shows `failureMessage` instead. A successful post shows nothing.
void postOrSay(TDataSet* view, const QString& failureMessage = QStringLiteral("Data sudah disimpan"));

// Asks "Mau dihapus ? " (Yes, No); on Yes runs `deleteRecords`. A failure of
// either shows "Data sudah dihapus".
void confirmAndDelete(const std::function<void()>& deleteRecords);

// Empties what a combo box shows; the record keeps its value (the edits do
// the same with TDBEdit::ClearShownText).
void clearShownText(TDBComboBox* combo);

} // namespace EntryActions
