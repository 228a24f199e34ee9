// The two drag reorderings as tables: rows given as letters, selected rows in upper case.
#include "dialogs/ListReordering.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

// "aBCd": rows a, b, c, d with b and c selected.
DraggedRows<char> rowsOf(const std::string& pattern, int current) {
    DraggedRows<char> list;
    for (char c : pattern) {
        list.rows.push_back(char(std::tolower(c)));
        list.selected.push_back(std::isupper(static_cast<unsigned char>(c)) != 0);
    }
    list.current = current;
    return list;
}

std::string specOf(const DraggedRows<char>& list) {
    std::string s;
    for (size_t i = 0; i < list.rows.size(); ++i)
        s += list.selected[i] ? char(std::toupper(list.rows[i])) : list.rows[i];
    return s;
}

TEST(DropSelectedRows, MovesTheSelectedRowsBeforeTheTargetInTheirOrder) {
    struct Case {
        const char* rows;
        int current, target;
        const char* expected;
        int expectedCurrent;
    } cases[] = {
        {"abCD", 2, 0, "CDab", 0},  // c and d dropped on a
        {"ABcd", 0, -1, "cdAB", 2}, // a and b dropped below the last row
        {"ABcd", 1, 99, "cdAB", 3}, // an index past the end is "below the last row"
        {"aBcD", 3, 0, "BDac", 1},  // rows apart close up, in list order
        {"aBcD", 1, 2, "aBDc", 1},  // between two of the dragged rows
        {"abCD", 2, 2, "abCD", 2},  // onto a dragged row: nothing moves
        {"aBcD", 1, 3, "aBcD", 1},  {"ABcd", 0, 0, "ABcd", 0},
        {"abCD", 2, -1, "abCD", 2}, // already at the end
        {"abcd", 0, 1, "abcd", 0},  // nothing selected
        {"", -1, -1, "", -1},
    };
    for (const Case& c : cases) {
        DraggedRows<char> list = rowsOf(c.rows, c.current);
        const bool changed = DropSelectedRows(list, c.target);
        EXPECT_EQ(specOf(list), c.expected) << c.rows << " onto " << c.target;
        EXPECT_EQ(list.current, c.expectedCurrent) << c.rows << " onto " << c.target;
        EXPECT_EQ(changed, std::string(c.rows) != c.expected) << c.rows;
    }
}

TEST(DragOverFollowPointer, SelectedItemsFollowThePointer) {
    struct Case {
        const char* items;
        int current, under;
        bool accepted;
        const char* expected;
        int expectedCurrent;
    } cases[] = {
        // Items 1..5 (a..e), 4 and 5 selected, 4 current, the pointer over 2.
        {"abcDE", 3, 1, true, "aDEbc", 1},
        {"aDEbc", 1, 1, true, "aDEbc", 1}, // the next event over the same item: no move
        {"aDEbc", 1, 0, true, "DEabc", 0},
        {"DEabc", 0, 3, true, "abcDE", 3},    // down to the end, walking from the last item
        {"DEabc", 0, 4, true, "DEabc", 0},    // e would leave the list: the walk ends at once
        {"abCDe", 3, 2, true, "abCDe", 2},    // a selected item under the pointer becomes current
        {"aBcDe", 3, 2, true, "BaDce", 2},    // the walk moves every selected item by the same
        {"AbcDe", 3, 2, true, "AbcDe", 3},    // the first item cannot move up: the walk ends
        {"aBcdE", 1, 2, true, "aBcdE", 1},    // the last cannot move down: the walk ends at once
        {"abcDE", -1, 1, false, "abcDE", -1}, // no current item: refused
        {"abcDE", 3, -1, false, "abcDE", 3},  // no item under the pointer: refused
        {"abcDE", 3, 5, false, "abcDE", 3},   // beyond the last item: refused
        {"abcde", 2, 0, true, "abcde", 2},    // nothing selected: accepted, nothing moves
    };
    for (const Case& c : cases) {
        DraggedRows<char> list = rowsOf(c.items, c.current);
        EXPECT_EQ(DragOverFollowPointer(list, c.under), c.accepted) << c.items << " " << c.under;
        EXPECT_EQ(specOf(list), c.expected) << c.items << " over " << c.under;
        EXPECT_EQ(list.current, c.expectedCurrent) << c.items << " over " << c.under;
    }
}

} // namespace
