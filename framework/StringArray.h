// CStringArray: a growable array of CString in the manner of the classic framework class.
#pragma once

#include <cassert>
#include <vector>

#include "framework/NarrowString.h"

class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_arrItems.size()); }
    int GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_arrItems.empty(); }

    // Returns the index of the new element.
    int Add(const CString& str) {
        m_arrItems.push_back(str);
        return GetSize() - 1;
    }

    // Grows with empty strings or cuts off the tail; a negative size counts as 0.
    void SetSize(int nNewSize) { m_arrItems.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0); }

    void RemoveAll() { m_arrItems.clear(); }

    void RemoveAt(int nIndex) {
        assert(IsValid(nIndex));
        if (IsValid(nIndex)) m_arrItems.erase(m_arrItems.begin() + nIndex);
    }

    const CString& GetAt(int nIndex) const {
        assert(IsValid(nIndex));
        return m_arrItems[static_cast<size_t>(nIndex)];
    }

    void SetAt(int nIndex, const CString& str) {
        assert(IsValid(nIndex));
        m_arrItems[static_cast<size_t>(nIndex)] = str;
    }

    CString& operator[](int nIndex) {
        assert(IsValid(nIndex));
        return m_arrItems[static_cast<size_t>(nIndex)];
    }

    const CString& operator[](int nIndex) const { return GetAt(nIndex); }

private:
    BOOL IsValid(int nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }

    std::vector<CString> m_arrItems;
};
