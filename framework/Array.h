// CArray: a growable array indexed from 0; CStringArray holds strings.
#pragma once
#include <windows.h>
#include <vector>
#include "String.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    virtual ~CArray() = default;

    INT_PTR GetSize() const { return (INT_PTR)m_items.size(); }
    INT_PTR GetCount() const { return (INT_PTR)m_items.size(); }
    BOOL IsEmpty() const { return m_items.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    // The growth step is a hint only.
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        (void)growBy;
        m_items.resize(newSize > 0 ? (size_t)newSize : 0);
    }

    TYPE& ElementAt(INT_PTR i) { return m_items[(size_t)i]; }
    const TYPE& GetAt(INT_PTR i) const { return m_items[(size_t)i]; }
    void SetAt(INT_PTR i, ARG_TYPE value) { m_items[(size_t)i] = value; }
    TYPE& operator[](INT_PTR i) { return m_items[(size_t)i]; }
    const TYPE& operator[](INT_PTR i) const { return m_items[(size_t)i]; }
    TYPE* GetData() { return m_items.data(); }
    const TYPE* GetData() const { return m_items.data(); }

    INT_PTR Add(ARG_TYPE value) { m_items.push_back(value); return GetSize() - 1; }
    // Grows the array when index lies beyond its end.
    void SetAtGrow(INT_PTR i, ARG_TYPE value)
    {
        if (i >= GetSize()) SetSize(i + 1);
        m_items[(size_t)i] = value;
    }
    void InsertAt(INT_PTR i, ARG_TYPE value, INT_PTR count = 1)
    {
        if (i > GetSize()) SetSize(i);
        m_items.insert(m_items.begin() + i, (size_t)count, TYPE(value));
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1)
    {
        if (i < 0 || count <= 0 || i >= GetSize()) return;
        INT_PTR end = i + count > GetSize() ? GetSize() : i + count;
        m_items.erase(m_items.begin() + i, m_items.begin() + end);
    }
    void RemoveAll() { m_items.clear(); }
    INT_PTR Append(const CArray& o)
    {
        INT_PTR first = GetSize();
        m_items.insert(m_items.end(), o.m_items.begin(), o.m_items.end());
        return first;
    }
    void Copy(const CArray& o) { m_items = o.m_items; }

private:
    std::vector<TYPE> m_items;
};

class CStringArray : public CArray<CString, const wchar_t*> {};
