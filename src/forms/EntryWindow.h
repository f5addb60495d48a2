#pragma once

#include <QColor>
#include <QString>

class QRect;
class QWidget;
class TDataSet;
class TLabel;
class TMaskEdit;

// Pieces the goods and sales windows share: their labels, the customer
// search box with its check on Enter, and the save and delete buttons.
namespace EntryWindow {

// Title background of the marked grid columns: the system colour for
// inactive caption text.
inline const QColor kInactiveCaptionText(212, 208, 200);

// The big title in a window's top panel: "MS Sans Serif" bold, 24 pixels.
TLabel* titleLabel(QWidget* parent, int left, int top, const QString& caption);
// A label of an entry row: "MS Sans Serif" bold, 11 pixels.
TLabel* rowLabel(QWidget* parent, int left, int top, const QString& caption);

// The customer search box: a masked edit for a code "P0" plus two digits,
// showing "P0" and two blanks at start.
TMaskEdit* customerSearchBox(QWidget* parent, const QRect& bounds);

// Enter in a search box: when the searched code is not the code the view
// stands on, says so in an application message box. True when they match.
bool checkCustomerCode(const QString& searched, const QString& current);

// The save button. With nothing being edited the data is already stored and
// `alreadySaved` says so. A post that fails is never reported as saved: a
// post-error handler that explained the failure ends it silently, any other
// error reaches the error report with its own message.
void saveView(TDataSet* view, const QString& alreadySaved);

// The delete button: asks "Mau dihapus ? " and deletes the current record
// on Yes. An empty view has nothing left to delete, which "Data sudah
// dihapus" says; any other failure reaches the error report.
void deleteCurrent(TDataSet* view);

}
