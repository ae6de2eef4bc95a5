#pragma once
// Data-driven tests over a table: one QtTest row per entry, named by the entry's `name`.
#include <QTest>
#include <iterator>

namespace kesto::test {

template <typename Table> void addRows(const Table &table)
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(table)); ++i)
        QTest::newRow(table[i].name) << i;
}

// The entry of the row that runs.
template <typename Table> const auto &currentRow(const Table &table)
{
    return table[*static_cast<int *>(QTest::qData("row", qMetaTypeId<int>()))];
}

} // namespace kesto::test
