// CList: a doubly linked list walked by POSITION, as the framework's callers expect;
// CPtrList and CStringList are its two common forms.
#pragma once
#include <windows.h>
#include "String.h"

// Opaque place in a list; null means "none".
struct __POSITION {};
typedef __POSITION* POSITION;

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
    struct Node : __POSITION {
        Node* next;
        Node* prev;
        TYPE data;
        Node(Node* prev, Node* next, ARG_TYPE value) : next(next), prev(prev), data(value) {}
    };

public:
    // The block size is a growth hint only; nodes are allocated one by one.
    explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }
    CList(const CList& o) { AddTail(&o); }
    CList& operator=(const CList& o)
    {
        if (this != &o) { RemoveAll(); AddTail(&o); }
        return *this;
    }
    virtual ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return m_head->data; }
    const TYPE& GetHead() const { return m_head->data; }
    TYPE& GetTail() { return m_tail->data; }
    const TYPE& GetTail() const { return m_tail->data; }

    POSITION AddHead(ARG_TYPE value) { return InsertBetween(nullptr, m_head, value); }
    POSITION AddTail(ARG_TYPE value) { return InsertBetween(m_tail, nullptr, value); }
    void AddTail(const CList* other)
    {
        for (POSITION p = other->GetHeadPosition(); p;) AddTail(other->GetNext(p));
    }
    POSITION InsertBefore(POSITION pos, ARG_TYPE value)
    {
        if (!pos) return AddHead(value);
        Node* n = AsNode(pos);
        return InsertBetween(n->prev, n, value);
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE value)
    {
        if (!pos) return AddTail(value);
        Node* n = AsNode(pos);
        return InsertBetween(n, n->next, value);
    }

    TYPE RemoveHead() { TYPE v = m_head->data; RemoveAt(m_head); return v; }
    TYPE RemoveTail() { TYPE v = m_tail->data; RemoveAt(m_tail); return v; }
    void RemoveAt(POSITION pos)
    {
        Node* n = AsNode(pos);
        if (!n) return;
        (n->prev ? n->prev->next : m_head) = n->next;
        (n->next ? n->next->prev : m_tail) = n->prev;
        delete n;
        --m_count;
    }
    void RemoveAll()
    {
        while (m_head) {
            Node* n = m_head;
            m_head = n->next;
            delete n;
        }
        m_tail = nullptr;
        m_count = 0;
    }

    POSITION GetHeadPosition() const { return m_head; }
    POSITION GetTailPosition() const { return m_tail; }
    // Returns the element at pos and moves pos on (null after the tail).
    TYPE& GetNext(POSITION& pos) { Node* n = AsNode(pos); pos = n->next; return n->data; }
    const TYPE& GetNext(POSITION& pos) const { Node* n = AsNode(pos); pos = n->next; return n->data; }
    TYPE& GetPrev(POSITION& pos) { Node* n = AsNode(pos); pos = n->prev; return n->data; }
    const TYPE& GetPrev(POSITION& pos) const { Node* n = AsNode(pos); pos = n->prev; return n->data; }
    TYPE& GetAt(POSITION pos) { return AsNode(pos)->data; }
    const TYPE& GetAt(POSITION pos) const { return AsNode(pos)->data; }
    void SetAt(POSITION pos, ARG_TYPE value) { AsNode(pos)->data = value; }

    // Position of the index-th element from the head, or null.
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= m_count) return nullptr;
        Node* n = m_head;
        while (index-- > 0) n = n->next;
        return n;
    }
    // First element equal to value, searching after startAfter (from the head when null).
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
    {
        for (Node* n = startAfter ? AsNode(startAfter)->next : m_head; n; n = n->next)
            if (n->data == value) return n;
        return nullptr;
    }

private:
    static Node* AsNode(POSITION pos) { return static_cast<Node*>(pos); }
    POSITION InsertBetween(Node* prev, Node* next, ARG_TYPE value)
    {
        Node* n = new Node(prev, next, value);
        (prev ? prev->next : m_head) = n;
        (next ? next->prev : m_tail) = n;
        ++m_count;
        return n;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

// A list of untyped pointers; it never owns what they point to.
class CPtrList : public CList<void*, void*> {
public:
    explicit CPtrList(INT_PTR blockSize = 10) : CList<void*, void*>(blockSize) {}
};

class CStringList : public CList<CString, const wchar_t*> {
public:
    explicit CStringList(INT_PTR blockSize = 10) : CList<CString, const wchar_t*>(blockSize) {}
};
