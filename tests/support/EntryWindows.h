#pragma once

// The program's windows over a temporary database, as start-up creates them,
// for tests of the data entry windows, and the user's ways of working them:
// clicking, typing, choosing from a combo box, all through the windows as
// the platform delivers input (RealInput.h). Tests that start from reset()
// get tables holding exactly the rows they give, every view back in browse
// state on its first record and no window visible.

#include "RealInput.h"
#include "StartUpMessage.h"
#include "TestDatabase.h"
#include "app/StartUp.h"
#include "app/UUtama.h"
#include "data/controls/TDBGrid.h"
#include "forms/UBarang.h"
#include "forms/UPelanggan.h"
#include "forms/UPenjualan.h"
#include "forms/UPesanan.h"
#include "widgets/TApplication.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace test {

struct OrderLine {
    double number;
    QString customer;
    QVariant price = QVariant();
    QVariant quantity = QVariant();
};

class EntryWindows {
public:
    EntryWindows()
    {
        m_app = std::make_unique<TApplication>(QStringLiteral("pwangsa"));
        answerDateLimitMessage();
        createForms();
        FormUtama->LoginSucceeded(); // the menu works; the login window has tests of its own
    }

    void reset(const QStringList& customers, const QList<OrderLine>& lines = {})
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            w->hide();
        QTest::qWait(0);  // lets the deactivations arrive before the next showing
        for (TDataSet* view : views())
            if (view->State() != dsBrowse)
                view->Cancel();
        db.exec(QStringLiteral("DELETE FROM DataBarang"));
        db.exec(QStringLiteral("DELETE FROM DataPelanggan"));
        for (const QString& code : customers)
            db.addCustomer(code, QStringLiteral("NAMA ") + code);
        for (const OrderLine& line : lines)
            db.addLine(line.number, line.customer, line.price, line.quantity);
        for (TDataSet* view : views()) {
            view->Refresh();
            view->First();
        }
    }

    // Shows a window as its menu entry does and waits until it is active.
    static bool show(TForm* form)
    {
        form->Show();
        QApplication::setActiveWindow(form);
        return QTest::qWaitForWindowActive(form);
    }

    static QList<TDataSet*> views()
    {
        return {FormPelanggan->Pelanggan, FormBarang->Barang, FormPenjualan->Penjualan};
    }

    // The values of one field of a table, sorted.
    QVariantList column(const QString& table, const QString& field) const
    {
        return db.exec(QStringLiteral("SELECT \"%1\" FROM %2 ORDER BY 1").arg(field, table));
    }

    TestDatabase db;

private:
    std::unique_ptr<TApplication> m_app;
};

// The part of a control that shows its text: the edit part of a combo box.
inline QWidget* editPart(QWidget* control)
{
    auto* combo = qobject_cast<QComboBox*>(control);
    return combo && combo->lineEdit() ? combo->lineEdit() : control;
}

// Clicks a button (or any control) at its centre, through its window.
inline void click(QWidget* button)
{
    clickAt(button);
}

// Clicks into a control as an operator does before typing: near the right
// end of its text area (in a combo box, of its edit part), so the caret
// lands after the text.
inline void clickInto(QWidget* control)
{
    QWidget* area = editPart(control);
    clickAt(area, QPoint(area->width() - 4, area->height() / 2));
}

// Clicks into a control and types.
inline void typeInto(QWidget* control, const QString& text)
{
    clickInto(control);
    type(text);
}

// Clicks into a control, selects all its text (Ctrl+A) and types over it.
inline void typeOver(QWidget* control, const QString& text)
{
    clickInto(control);
    key(Qt::Key_A, Qt::ControlModifier);
    type(text);
}

// Types into a masked box from its first position (literals are skipped).
inline void typeFromStart(QLineEdit* box, const QString& text)
{
    clickInto(box);
    key(Qt::Key_Home);
    type(text);
}

// The text a control shows.
inline QString shown(QWidget* control)
{
    return static_cast<QLineEdit*>(editPart(control))->text();
}

// A click on a grid's indicator beside the current row: the grid takes the
// focus, its record and column stay.
inline void clickGrid(TDBGrid* grid)
{
    const int height = grid->fontMetrics().height() + 4;
    clickAt(grid->viewport(), QPoint(4, height * (grid->Row() + 1) + height / 2));
}

// True when the control or its edit part has the focus.
inline bool hasFocus(QWidget* control)
{
    return control->hasFocus() || editPart(control)->hasFocus();
}

// A column of the order line with the given number, as stored; null when
// there is no such line.
inline QVariant storedLine(const TestDatabase& db, const QString& column, double orderNumber)
{
    return db.exec(QStringLiteral("SELECT \"%1\" FROM DataBarang WHERE \"No Pesanan\" = ?").arg(column),
                   QVariantList{orderNumber})
        .value(0);
}

} // namespace test
