#pragma once

// The program's windows over a temporary database, as start-up creates them,
// for tests of the data entry windows, and the user's ways of working them:
// clicking, typing, choosing from a combo box. Tests that start from reset()
// get tables holding exactly the rows they give, every view back in browse
// state on its first record and no window visible.

#include "StartUpMessage.h"
#include "TestDatabase.h"
#include "app/StartUp.h"
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

// Where typed keys go: the edit part of a combo box, else the control.
inline QWidget* keyTarget(QWidget* control)
{
    auto* combo = qobject_cast<QComboBox*>(control);
    return combo && combo->lineEdit() ? combo->lineEdit() : control;
}

inline void click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Gives a control the focus as a click does and types into it.
inline void typeInto(QWidget* control, const QString& text)
{
    control->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(keyTarget(control), text);
}

// Tabs into a control (its text all selected) and types over it.
inline void typeOver(QWidget* control, const QString& text)
{
    control->setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(keyTarget(control)))
        edit->selectAll();
    QTest::keyClicks(keyTarget(control), text);
}

// Types into a masked box from its first position (literals are skipped).
inline void typeFromStart(QLineEdit* box, const QString& text)
{
    box->setFocus(Qt::MouseFocusReason);
    box->deselect();
    box->setCursorPosition(0);
    QTest::keyClicks(box, text);
}

// The text a control shows.
inline QString shown(QWidget* control)
{
    return static_cast<QLineEdit*>(keyTarget(control))->text();
}

// Opens a combo box's list and picks an item with the keyboard.
inline void choose(QComboBox* box, int index)
{
    box->setFocus(Qt::MouseFocusReason);
    box->showPopup();
    QTRY_VERIFY(box->view()->isVisible());
    box->view()->setCurrentIndex(box->model()->index(index, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    QTRY_VERIFY(!box->view()->isVisible());
}

inline void choose(QComboBox* box, const QString& item)
{
    QVERIFY2(box->findText(item) >= 0, qPrintable(item));
    choose(box, box->findText(item));
}

// True when the control or its edit part has the focus.
inline bool hasFocus(QWidget* control)
{
    return control->hasFocus() || keyTarget(control)->hasFocus();
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
