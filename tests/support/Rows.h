#pragma once
// Table-driven tests with one column: a row struct whose first member is the row's name.
//   void check_data() { addRows<Case>({{"name", ...}, ...}); }
//   void check() { QFETCH(Case, row); ... }

#include <initializer_list>

#include <QTest>

template <class Row>
void addRows(std::initializer_list<Row> rows) {
  QTest::addColumn<Row>("row");
  for (const Row& row : rows) QTest::newRow(row.name) << row;
}
