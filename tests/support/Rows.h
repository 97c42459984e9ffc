#pragma once

#include <QTest>

#include <cstddef>

namespace owlet::test {

// A table of cases, each with a `name`, as test data: one column "row", the case's index.
// The test function then takes `Table[row]`.
template <typename Case, std::size_t N> void addRows(const Case (&cases)[N]) {
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i)
        QTest::newRow(cases[i].name) << static_cast<int>(i);
}

// The case of the running row.
template <typename Case, std::size_t N> const Case& currentRow(const Case (&cases)[N]) {
    QFETCH(int, row);
    return cases[row];
}

} // namespace owlet::test
