#pragma once

class QSqlDatabase;

// Demonstration records: customers P001 to P020 and order lines for them.
namespace DemoData {

void addCustomers(QSqlDatabase& db);
// Order lines numbered 1 to count, spread over the customers, all four
// packaging types with their prices; about half carry an invoice number and
// a date. One transaction.
void addOrderLines(QSqlDatabase& db, int count);

}
