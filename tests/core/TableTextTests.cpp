// The table as text ('orvane-cli show'), against its plain definition: the
// cells of each row in UTF-8, tabs between them, one line per row.
#include "platform/Cp1252.h"
#include "table/RecordTable.h"
#include "table/TableText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace orvane;

namespace {

std::string PlainText(const RecordTable& t) {
    std::string out;
    for (int r = 0; r < t.RowCount(); ++r) {
        for (int c = 0; c < t.ColumnCount(); ++c) {
            if (c) out += '\t';
            out += Cp1252ToUtf8(t.Cell(c, r));
        }
        out += '\n';
    }
    return out;
}

// The text, and a check that every block holds whole lines.
std::string Written(const RecordTable& t, std::size_t blockSize) {
    std::string all;
    WriteTableText(
        t,
        [&](std::string_view block) {
            EXPECT_FALSE(block.empty());
            EXPECT_EQ(block.back(), '\n');
            all += block;
        },
        blockSize);
    return all;
}

} // namespace

TEST(TableText, RowsOfEveryShapeReadAsTheirCells) {
    RecordTable t;
    t.SetColumnCount(7);
    t.SetRowCount(6);
    t.SetCell(4, 1, "Paris-Le Bourget");      // 16 bytes: the fixed copy, whole
    t.SetCell(5, 1, "Lyon-Saint-Exup\xE9ry"); // not ASCII: the row converts
    t.SetCell(6, 2, "a");                     // a short row: copies stop at its end
    t.SetCell(4, 3, std::string(40, 'k'));    // longer than the fixed copy
    t.SetCell(5, 3, "\x80\x81\x9F\xFF");      // euro, unmapped, Y diaeresis, y diaeresis
    t.SetCell(1, 4, "x");                     // cells past the row's last one are empty
    t.SetRowCells(5, {"1", "", "", "0", "K", "", "z"});
    for (std::size_t block : {std::size_t{1}, std::size_t{64}, std::size_t{1} << 16})
        EXPECT_EQ(Written(t, block), PlainText(t)) << block;

    RecordTable none;
    none.SetColumnCount(0);
    EXPECT_EQ(Written(none, 1 << 16), std::string(static_cast<std::size_t>(none.RowCount()), '\n'));
}

// A cell holding a tab or a line end must not forge a cell or a line; a
// backslash is data (archive names hold it).
TEST(TableText, TabsLineEndsAndNulsAreEscapedBackslashesKept) {
    RecordTable t;
    t.SetColumnCount(3);
    t.SetRowCount(3);
    t.SetRowCells(0, {"", "", ""});
    t.SetCell(0, 1, "a\tb");
    t.SetCell(1, 1, "two\r\nlines");
    t.SetCell(2, 1, "DATABASE\\X.DBT");
    t.SetCell(0, 2, std::string("nul\0", 4));
    t.SetCell(1, 2, "\xE9t\xE9\n"); // not ASCII as well
    t.SetCell(2, 2, "\\n");         // already looks escaped: stays as it is
    for (std::size_t block : {std::size_t{1}, std::size_t{1} << 16})
        EXPECT_EQ(Written(t, block), "\t\t\n"
                                     "a\\tb\ttwo\\r\\nlines\tDATABASE\\X.DBT\n"
                                     "nul\\0\t\xC3\xA9t\xC3\xA9\\n\t\\n\n")
            << block;
}

TEST(TableText, RandomTablesReadAsTheirCells) {
    std::mt19937 random(12);
    for (int round = 0; round < 40; ++round) {
        RecordTable t;
        t.SetColumnCount(1 + static_cast<int>(random() % 12));
        t.SetRowCount(1 + static_cast<int>(random() % 30));
        for (int r = 0; r < t.RowCount(); ++r)
            for (int c = 0; c < t.ColumnCount(); ++c) {
                if (random() % 3 == 0) continue;
                std::string cell(random() % 24, ' ');
                const bool high = random() % 4 == 0;
                for (char& ch : cell)
                    ch = static_cast<char>(high ? 0x20 + random() % 0xE0 : 0x20 + random() % 0x5F);
                t.SetCell(c, r, cell);
            }
        ASSERT_EQ(Written(t, 1 + random() % 300), PlainText(t)) << "round " << round;
    }
}
