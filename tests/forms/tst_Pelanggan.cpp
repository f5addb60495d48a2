#include "EntryWindows.h"
#include "MessageLog.h"

#include "app/UUtama.h"
#include "data/controls/TDBComboBox.h"
#include "data/controls/TDBEdit.h"
#include "data/controls/TDBGrid.h"
#include "widgets/TLabel.h"
#include "widgets/TSpeedButton.h"

#include <QAbstractItemView>
#include <QFontInfo>
#include <QScrollBar>
#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>

// The customer window over a real database file, driven with the mouse and
// the keyboard.
class TestPelanggan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();

    void layoutAndBindings();
    void addTypeAndSave();
    void codeBoxTakesFreeTextAndItsEmptyItemEmptiesTheCode();
    void saveWithNothingToSave();
    void duplicateCodeShowsOneMessageAndDiscardsTheNewRecord();
    void addWhileADuplicateIsPendingShowsOneMessage();
    void collidingEditOfAStoredCustomerStaysOpenForCorrection();
    void activationEmptiesTheControlsButKeepsTheRecord();
    void activationDuringAnEditLosesNothing();
    void deleteAnsweredNoChangesNothing();
    void deleteRemovesTheMarkedCustomerAndTheCurrentSalesLine();
    void deleteDuringAnAddDiscardsTheNewCustomer();
    void addWithAHalfTypedFieldReportsItOnce();
    void deleteOnAnEmptyViewSaysDataSudahDihapus();
    void closeButtonHides();
    void labelsEndBeforeTheirBoxesAndTheGridShowsEveryColumn();
    void altLettersTypeNothing();

private:
    TFormPelanggan* form() const { return FormPelanggan; }
    void tab() { test::key(Qt::Key_Tab); }
    QVariantList customers(const QString& field = QStringLiteral("Kode Pelanggan")) const
    {
        return m_windows.column(QStringLiteral("DataPelanggan"), field);
    }
    QVariant customerRow(const QString& code) const
    {
        return m_windows.db
            .exec(QStringLiteral("SELECT \"Nama Pelanggan\" || '|' || coalesce(\"Alamat\", '') || '|' || "
                                 "coalesce(\"No Telepon\", '') FROM DataPelanggan WHERE \"Kode Pelanggan\" = ?"),
                  QVariantList{code})
            .value(0);
    }

    test::EntryWindows m_windows;
};

void TestPelanggan::init()
{
    m_windows.reset({QStringLiteral("P001"), QStringLiteral("P002"), QStringLiteral("P003")},
                    {{1, QStringLiteral("P001")}, {2, QStringLiteral("P002")}});
    QVERIFY(test::EntryWindows::show(form()));
}

void TestPelanggan::layoutAndBindings()
{
    TFormPelanggan* f = form();
    QCOMPARE(f->windowTitle(), QStringLiteral("Pelanggan") + QString(98, QLatin1Char(' ')) + QLatin1Char('.'));
    QCOMPARE(f->clientSize(), QSize(550, 383));
    QCOMPARE(f->SpeedButton3->focusPolicy(), Qt::NoFocus);
    QCOMPARE(f->DBEdit1->count(), 21);
    QCOMPARE(f->DBEdit1->itemText(0), QStringLiteral("P001"));
    QCOMPARE(f->DBEdit1->itemText(19), QStringLiteral("P020"));
    QCOMPARE(f->DBEdit1->itemText(20), QString());
    QCOMPARE(f->DBEdit2->CharCase(), TEditCharCase::ecUpperCase);
    QCOMPARE(f->DBEdit4->EditMask(), QStringLiteral("!\\(999\\)000-0000;1;_"));
    QCOMPARE(f->DBEdit4->MaxLength(), 13);

    QStringList columns;
    for (int i = 0; i < f->DBGrid1->ColumnCount(); ++i)
        columns << f->DBGrid1->Column(i)->FieldName;
    QCOMPARE(columns, QStringList({"Kode Pelanggan", "Nama Pelanggan", "Alamat", "No Telepon"}));
    QCOMPARE(f->DBGrid1->Column(0)->Title.Alignment, Qt::AlignHCenter);
    QCOMPARE(f->DBGrid1->Column(3)->Title.Alignment, Qt::AlignHCenter);
    QVERIFY(f->DBGrid1->Column(0)->Title.Color.isValid());
    QCOMPARE(f->DBGrid1->Column(2)->Title.Color, f->DBGrid1->Column(0)->Title.Color);
    QVERIFY(!f->DBGrid1->Column(1)->Title.Color.isValid());

    // Tab order: the grid, then the name, address, telephone and code boxes.
    const QList<QWidget*> controls{f->DBGrid1, f->DBEdit2, f->DBEdit3, f->DBEdit4, f->DBEdit1};
    QList<QWidget*> order;
    QWidget* w = f->DBGrid1;
    do {
        if (controls.contains(w) && !order.contains(w))
            order << w;
        w = w->nextInFocusChain();
    } while (w != f->DBGrid1);
    QCOMPARE(order, controls);
}

// Add, type the four values, save: stored as typed, the name in upper case,
// the telephone number with the mask's literals; no message.
void TestPelanggan::addTypeAndSave()
{
    test::MessageLog log;
    test::clickGrid(form()->DBGrid1);  // the grid giving up the focus keeps the new record
    test::click(form()->SpeedButton3);
    QCOMPARE(form()->Pelanggan->State(), dsInsert);
    QVERIFY(test::hasFocus(form()->DBEdit1));
    test::type(QStringLiteral("P007"));
    test::typeInto(form()->DBEdit2, QStringLiteral("budi Santoso"));
    test::typeInto(form()->DBEdit3, QStringLiteral("Jl. Mawar 3"));
    test::typeFromStart(form()->DBEdit4, QStringLiteral("0221234567"));
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(customerRow(QStringLiteral("P007")), QVariant(QStringLiteral("BUDI SANTOSO|Jl. Mawar 3|(022)123-4567")));
}

void TestPelanggan::codeBoxTakesFreeTextAndItsEmptyItemEmptiesTheCode()
{
    test::click(form()->SpeedButton3);
    test::type(QStringLiteral("X12"));
    test::typeInto(form()->DBEdit2, QStringLiteral("A"));
    test::click(form()->SpeedButton2);
    QCOMPARE(customers().last(), QVariant(QStringLiteral("X12")));

    // On X12 now: choosing the empty last item empties the code.
    QVERIFY(form()->Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("X12")));
    test::choose(form()->DBEdit1, 20);
    QCOMPARE(form()->Pelanggan->State(), dsEdit);
    QCOMPARE(form()->DBEdit1->currentText(), QString());
    test::typeInto(form()->DBEdit3, QStringLiteral("x"));  // leaving the box writes the code
    QVERIFY(form()->PelangganKodePelanggan->ValueIsNull());
    // The table takes no customer without a code: the refused save is
    // reported as the error it is, never as saved, and the edit stays open.
    test::MessageLog log;
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts().size(), 1);
    QVERIFY2(log.texts().first().startsWith(QStringLiteral("Field value required.")), qPrintable(log.texts().first()));
    QCOMPARE(form()->Pelanggan->State(), dsEdit);
    QCOMPARE(customers().last(), QVariant(QStringLiteral("X12")));
}

void TestPelanggan::saveWithNothingToSave()
{
    test::MessageLog log;
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Data sudah disimpan")});
    QCOMPARE(customers().size(), 3);
}

// The post-error message alone (the save button adds nothing); the view is
// back on the customer it stood on before the add, and the entry controls,
// emptied when the message closed, show that customer again.
void TestPelanggan::duplicateCodeShowsOneMessageAndDiscardsTheNewRecord()
{
    form()->Pelanggan->Next();  // on P002
    test::MessageLog log;
    test::click(form()->SpeedButton3);
    test::type(QStringLiteral("P001"));
    test::typeInto(form()->DBEdit2, QStringLiteral("kembar"));
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Kode Barang ada yang sama")});
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(form()->PelangganKodePelanggan->AsString(), QStringLiteral("P002"));
    QCOMPARE(customers(QStringLiteral("Nama Pelanggan")), QVariantList({"NAMA P001", "NAMA P002", "NAMA P003"}));
    QTRY_COMPARE(test::shown(form()->DBEdit1), QStringLiteral("P002"));
    QCOMPARE(test::shown(form()->DBEdit2), QStringLiteral("NAMA P002"));
}

// The insert settles the pending record first; the key violation there
// discards it with one message (the abort is silent), and the add stops: no
// new record, the focus stays where it was.
void TestPelanggan::addWhileADuplicateIsPendingShowsOneMessage()
{
    test::MessageLog log;
    test::click(form()->SpeedButton3);
    test::type(QStringLiteral("P003"));
    test::typeInto(form()->DBEdit3, QStringLiteral("Jl. Sama"));
    QWidget* focused = QApplication::focusWidget();
    test::click(form()->SpeedButton3);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Kode Barang ada yang sama")});
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(customers().size(), 3);
    QTRY_COMPARE(QApplication::focusWidget(), focused);

    // The same when moving to another row of the grid settles the new record.
    test::click(form()->SpeedButton3);
    test::type(QStringLiteral("P001"));
    test::clickGrid(form()->DBGrid1);
    test::key(Qt::Key_Up);
    QCOMPARE(log.texts().size(), 2);
    QCOMPARE(log.texts().last(), QStringLiteral("Kode Barang ada yang sama"));
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(customers().size(), 3);
}

// A stored customer whose code is changed to another customer's code: the
// key message, the stored record untouched, the edit still open with the typed
// values; correcting the code and saving again keeps name and address.
void TestPelanggan::collidingEditOfAStoredCustomerStaysOpenForCorrection()
{
    m_windows.db.exec(QStringLiteral("UPDATE DataPelanggan SET \"Alamat\" = 'Jl. Dua' WHERE \"Kode Pelanggan\" = 'P002'"));
    form()->Pelanggan->Refresh();
    form()->Pelanggan->Next();  // on P002
    test::MessageLog log;
    test::typeOver(form()->DBEdit1, QStringLiteral("P001"));
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Kode Barang ada yang sama")});
    QCOMPARE(form()->Pelanggan->State(), dsEdit);
    QCOMPARE(form()->PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
    QCOMPARE(customers(), QVariantList({"P001", "P002", "P003"}));

    test::typeOver(form()->DBEdit1, QStringLiteral("P009"));
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts().size(), 1);
    QCOMPARE(customers(), QVariantList({"P001", "P003", "P009"}));
    QCOMPARE(customerRow(QStringLiteral("P009")), QVariant(QStringLiteral("NAMA P002|Jl. Dua|")));
}

// Activation empties the four boxes; the grid still marks the customer, and
// the first key typed into any box brings the record's values back.
void TestPelanggan::activationEmptiesTheControlsButKeepsTheRecord()
{
    form()->Pelanggan->Next();
    test::clickInto(form()->DBEdit1);  // leaving it with a listed code is no choice
    QVERIFY(test::EntryWindows::show(FormUtama));
    QVERIFY(test::EntryWindows::show(form()));
    for (QWidget* control : QList<QWidget*>{form()->DBEdit1, form()->DBEdit2, form()->DBEdit3})
        QCOMPARE(test::shown(control), QString());
    QCOMPARE(form()->DBEdit4->EditText(), QStringLiteral("(___)___-____"));
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(form()->DBGrid1->CellText(form()->DBGrid1->Row(), 0), QStringLiteral("P002"));

    test::typeInto(form()->DBEdit3, QStringLiteral("Jl. Baru"));
    QCOMPARE(form()->Pelanggan->State(), dsEdit);
    QCOMPARE(test::shown(form()->DBEdit2), QStringLiteral("NAMA P002"));
    QCOMPARE(test::shown(form()->DBEdit1), QStringLiteral("P002"));
}

// Emptying the boxes is for show only: a save after an activation in the
// middle of an edit stores what was typed and keeps every other value.
void TestPelanggan::activationDuringAnEditLosesNothing()
{
    form()->Pelanggan->Next();  // on P002
    test::typeInto(form()->DBEdit3, QStringLiteral("Jl. Tiga"));
    tab();
    QVERIFY(test::EntryWindows::show(FormUtama));
    QVERIFY(test::EntryWindows::show(form()));
    QCOMPARE(test::shown(form()->DBEdit2), QString());
    QCOMPARE(form()->Pelanggan->State(), dsEdit);
    test::MessageLog log;
    test::click(form()->SpeedButton2);
    QCOMPARE(log.texts(), QStringList());
    QCOMPARE(customers(), QVariantList({"P001", "P002", "P003"}));
    QCOMPARE(customerRow(QStringLiteral("P002")), QVariant(QStringLiteral("NAMA P002|Jl. Tiga|")));
}

void TestPelanggan::deleteAnsweredNoChangesNothing()
{
    test::MessageLog log({QStringLiteral("No")});
    test::click(form()->SpeedButton1);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
    QCOMPARE(customers().size(), 3);
    QCOMPARE(m_windows.db.count(QStringLiteral("DataBarang")), 2);
}

// Delete removes the customer the grid marks, then the sales view's current
// line only when it is a line of that customer; the customer's other lines
// stay. A line of another customer, or a customer being added, leaves the
// sales view alone.
void TestPelanggan::deleteRemovesTheMarkedCustomerAndTheCurrentSalesLine()
{
    form()->Pelanggan->Last();         // P003, who has no lines
    FormPenjualan->Penjualan->Last();  // line 2, of P002
    {
        test::MessageLog log({QStringLiteral("Yes")});
        test::click(form()->SpeedButton1);
        QCOMPARE(log.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
    }
    QCOMPARE(customers(), QVariantList({"P001", "P002"}));
    QCOMPARE(m_windows.column(QStringLiteral("DataBarang"), QStringLiteral("No Pesanan")), QVariantList({1.0, 2.0}));
    // The question's closing emptied the boxes; the delete refilled them.
    QCOMPARE(test::shown(form()->DBEdit1), QStringLiteral("P002"));

    // P002 goes, and with it the sales view's current line, one of P002's.
    m_windows.db.addLine(3, QStringLiteral("P002"));
    FormPenjualan->Penjualan->Refresh();
    FormPenjualan->Penjualan->Last();  // line 3
    QVERIFY(form()->Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("P002")));
    test::MessageLog log({QStringLiteral("Yes")});
    test::click(form()->SpeedButton1);
    QCOMPARE(customers(), QVariantList{QStringLiteral("P001")});
    QCOMPARE(m_windows.column(QStringLiteral("DataBarang"), QStringLiteral("No Pesanan")), QVariantList({1.0, 2.0}));
}

void TestPelanggan::deleteDuringAnAddDiscardsTheNewCustomer()
{
    test::MessageLog log({QStringLiteral("Yes")});
    test::click(form()->SpeedButton3);
    test::type(QStringLiteral("P010"));
    test::click(form()->SpeedButton1);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Mau dihapus ? ")});
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(customers().size(), 3);
    QCOMPARE(m_windows.column(QStringLiteral("DataBarang"), QStringLiteral("No Pesanan")), QVariantList({1.0, 2.0}));
}

// Add with a half-typed telephone number: the box's error appears once, in
// the error report, and the focus stays in the box; nothing is added.
void TestPelanggan::addWithAHalfTypedFieldReportsItOnce()
{
    test::typeFromStart(form()->DBEdit4, QStringLiteral("022"));
    test::MessageLog log;
    test::click(form()->SpeedButton3);
    QCOMPARE(log.texts(), QStringList{QStringLiteral("Invalid input value.  Use escape key to abandon changes.")});
    QTRY_VERIFY(form()->DBEdit4->hasFocus());
    QCOMPARE(form()->Pelanggan->State(), dsEdit);
    QCOMPARE(customers().size(), 3);
}

void TestPelanggan::deleteOnAnEmptyViewSaysDataSudahDihapus()
{
    // Empty sales view: the customer goes, the second delete fails.
    m_windows.reset({QStringLiteral("P001"), QStringLiteral("P002")});
    QVERIFY(test::EntryWindows::show(form()));
    {
        test::MessageLog log({QStringLiteral("Yes")});
        test::click(form()->SpeedButton1);
        QCOMPARE(log.texts(), QStringList({"Mau dihapus ? ", "Data sudah dihapus"}));
        QCOMPARE(customers(), QVariantList{QStringLiteral("P002")});
    }
    // Empty customer table: the first delete fails, no sales line is touched.
    m_windows.reset({}, {{5, QStringLiteral("P001")}});
    QVERIFY(test::EntryWindows::show(form()));
    test::MessageLog log({QStringLiteral("Yes")});
    test::click(form()->SpeedButton1);
    QCOMPARE(log.texts(), QStringList({"Mau dihapus ? ", "Data sudah dihapus"}));
    QCOMPARE(m_windows.db.count(QStringLiteral("DataBarang")), 1);
}

void TestPelanggan::closeButtonHides()
{
    QPointer<TFormPelanggan> window = form();
    test::click(form()->SpeedButton4);
    QVERIFY(!form()->isVisible());
    QVERIFY(window);
    QVERIFY(form()->Pelanggan->Active());
}

// The windows' font is the installed one closest to the layouts: in the four
// entry windows every row label ends before the box beside it, and the
// customer grid shows all four columns.
void TestPelanggan::labelsEndBeforeTheirBoxesAndTheGridShowsEveryColumn()
{
    QCOMPARE(QFontInfo(form()->font()).family(), QStringLiteral("Liberation Sans"));
    for (TForm* window : QList<TForm*>{FormPelanggan, FormBarang, FormPesanan, FormPenjualan}) {
        for (const TLabel* label : window->findChildren<TLabel*>()) {
            const QRect text = label->geometry();
            for (const QWidget* box : label->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                const QRect bounds = box->geometry();
                const bool beside = box->focusPolicy() != Qt::NoFocus && bounds.left() > text.left()
                    && bounds.top() < text.bottom() && bounds.bottom() > text.top();
                QVERIFY2(!beside || text.right() + 2 <= bounds.left(),
                         qPrintable(window->windowTitle().trimmed() + QLatin1Char(' ') + label->text()));
            }
        }
    }
    TDBGrid* grid = form()->DBGrid1;
    QVERIFY(test::EntryWindows::show(form()));
    const int last = grid->ColumnCount() - 1;
    QVERIFY(grid->horizontalScrollBar()->maximum() == 0);
    QCOMPARE(grid->ColumnCount(), 4);
    int right = 12;
    for (int i = 0; i <= last; ++i)
        right += grid->Column(i)->Width() + 1;
    QVERIFY2(right <= grid->viewport()->width(), qPrintable(QString::number(right)));
}

// Alt+letter is a mnemonic, never typing: pressed over a grid cell it once
// overwrote a customer's name with "f", and in an edit or the code box it
// added a letter to the record.
void TestPelanggan::altLettersTypeNothing()
{
    TDBGrid* grid = form()->DBGrid1;
    test::clickAt(grid->viewport(), grid->CellRect(grid->Row(), 1).center());
    test::key(Qt::Key_F, Qt::AltModifier);
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    test::clickInto(form()->DBEdit2);
    test::key(Qt::Key_F, Qt::AltModifier);
    test::clickInto(form()->DBEdit1);
    test::key(Qt::Key_F, Qt::AltModifier);
    QCOMPARE(form()->Pelanggan->State(), dsBrowse);
    QCOMPARE(test::shown(form()->DBEdit2), QStringLiteral("NAMA P001"));
    form()->Pelanggan->Next(); // a move would store a pending change
    QCOMPARE(customerRow(QStringLiteral("P001")), QVariant(QStringLiteral("NAMA P001||")));
}

QTEST_MAIN(TestPelanggan)
#include "tst_Pelanggan.moc"
