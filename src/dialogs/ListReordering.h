// Reordering the rows of a list by dragging them, apart from any control: the rows, their
// selection flags, the current row and the row under the pointer go in, the new order comes
// out. The CSV windows connect their lists' drag events to these two routines (the toolkit's
// own internal-move mode moves rows on the drop only and drops onto a dragged row differently).
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

// The rows of a list with their selection and current row, as the drag sees them.
template <class Row> struct DraggedRows {
    std::vector<Row> rows;
    std::vector<bool> selected; // one flag per row
    int current = -1;           // -1: no current row
};

// The drop of the action list: every selected row, in list order, is moved before the row
// Target (appended when Target is -1, the pointer below the last row). A drop onto one of
// the selected rows moves nothing, so no row is ever lost or doubled. The moved rows stay
// selected; the current row moves with its row. Returns true when the order changed.
template <class Row> bool DropSelectedRows(DraggedRows<Row>& list, int target) {
    const int count = int(list.rows.size());
    if (target >= count) target = -1;
    if (target >= 0 && list.selected[size_t(target)]) return false;
    std::vector<int> order; // old indices in their new order
    order.reserve(size_t(count));
    auto takeSelected = [&] {
        for (int i = 0; i < count; ++i)
            if (list.selected[size_t(i)]) order.push_back(i);
    };
    for (int i = 0; i < count; ++i) {
        if (i == target) takeSelected();
        if (!list.selected[size_t(i)]) order.push_back(i);
    }
    if (target < 0) takeSelected();
    bool moved = false;
    for (int i = 0; i < count; ++i)
        moved = moved || order[size_t(i)] != i;
    if (!moved) return false;
    DraggedRows<Row> result;
    result.rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const int from = order[size_t(i)];
        result.rows.push_back(std::move(list.rows[size_t(from)]));
        result.selected.push_back(list.selected[size_t(from)]);
        if (from == list.current) result.current = i;
    }
    list = std::move(result);
    return true;
}

// One drag-over event of the column-order list: the selected items follow the pointer.
// Under is the item under the pointer (-1 when there is none). Returns whether the drag is
// accepted: not without a current item, nor when the pointer is over no item. A selected
// item under the pointer becomes the current one; then, with d = current - Under, every
// selected item i moves to i - d, walking from the first item when d > 0 and from the last
// when d < 0, until an item would leave the list. Moved items keep their selection, and the
// current item moves with its item, so the next event over the same item moves nothing.
template <class Row> bool DragOverFollowPointer(DraggedRows<Row>& list, int under) {
    const int count = int(list.rows.size());
    if (list.current < 0 || list.current >= count) return false;
    if (under < 0 || under >= count) return false;
    if (list.selected[size_t(under)]) list.current = under;
    const int d = list.current - under;
    if (d == 0) return true;
    auto moveItem = [&](int from, int to) {
        Row row = std::move(list.rows[size_t(from)]);
        list.rows.erase(list.rows.begin() + from);
        list.rows.insert(list.rows.begin() + to, std::move(row));
        bool flag = list.selected[size_t(from)];
        list.selected.erase(list.selected.begin() + from);
        list.selected.insert(list.selected.begin() + to, flag);
        int& c = list.current;
        if (c == from)
            c = to;
        else if (from < c && c <= to)
            --c;
        else if (to <= c && c < from)
            ++c;
    };
    if (d > 0) {
        for (int i = 0; i < count; ++i) {
            if (!list.selected[size_t(i)]) continue;
            if (i - d < 0) break;
            moveItem(i, i - d);
        }
    } else {
        for (int i = count - 1; i >= 0; --i) {
            if (!list.selected[size_t(i)]) continue;
            if (i - d >= count) break;
            moveItem(i, i - d);
        }
    }
    return true;
}
