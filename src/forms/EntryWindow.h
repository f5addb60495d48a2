#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

class QRect;
class QWidget;
class TDataSet;
class TDBComboBox;
class TDBEdit;
class TLabel;
class TMaskEdit;

// Pieces the data entry windows share: their labels, the customer search
// box with its check on Enter, the save and delete buttons and the emptying
// of a combo box on activation.
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

// A key in a search box: on Enter, when the searched code is not the code
// the view stands on (`current`), says so in an application message box;
// when they match, enables `entry`.
void searchBoxKey(QChar key, const TMaskEdit* box, const TDBEdit* current, QWidget* entry);

// The save button. With nothing being edited the data is already stored and
// `alreadySaved` says so. A post that fails is never reported as saved: a
// post-error handler that explained the failure ends it silently, any other
// error reaches the error report with its own message.
void saveView(TDataSet* view, const QString& alreadySaved);

// The delete button: asks "Mau dihapus ? " and on Yes deletes the current
// record of each view in turn, where `deletes` (if given) agrees. An empty
// view has nothing left to delete, which "Data sudah dihapus" says, and the
// views after it are left alone; any other failure reaches the error report.
void deleteCurrent(const QList<TDataSet*>& views, const std::function<bool(TDataSet*)>& deletes = {});

// Empties what a combo box shows; the record keeps its value (the edits do
// the same with TDBEdit::ClearShownText). Text typed and not yet in the
// record stays shown.
void clearShownText(TDBComboBox* combo);

}
