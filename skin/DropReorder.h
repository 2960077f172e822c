// Moving the dragged rows of a list to just after the drop target, in their old
// order. The list is reached through RowMover, so the same steps serve the list
// control and plain arrays.
#pragma once
#include <cstddef>
#include <vector>

class RowMover {
public:
    virtual ~RowMover() = default;
    virtual int Count() const = 0;
    // Inserts a copy of row `from` so that it becomes row `to`.
    virtual void CopyRow(int from, int to) = 0;
    virtual void DeleteRow(int index) = 0;
};

// dragged: the rows selected when the drag began, in that order; target: the
// row the pointer was over at the drop (-1: the top of the list).
void MoveDraggedRows(RowMover& rows, std::vector<int> dragged, int target);

// The same on a plain array, for callers and tests.
template <class T>
void MoveDraggedItems(std::vector<T>& items, const std::vector<int>& dragged, int target)
{
    struct ArrayMover : RowMover {
        std::vector<T>& v;
        explicit ArrayMover(std::vector<T>& items) : v(items) {}
        int Count() const override { return (int)v.size(); }
        void CopyRow(int from, int to) override { T copy = v[(size_t)from]; v.insert(v.begin() + to, copy); }
        void DeleteRow(int index) override { v.erase(v.begin() + index); }
    } mover(items);
    MoveDraggedRows(mover, dragged, target);
}
