// The exact bytes of a CString, NULs included, and a CString of exactly a string's bytes: what the
// tests compare and what they hand to the code, on every platform.
#pragma once
#include <string>

#include "framework/NarrowString.h"

inline std::string Bytes(const CString& text) {
    return std::string(static_cast<const char*>(text), static_cast<size_t>(text.GetLength()));
}

inline CString Text(const std::string& bytes) {
    return CString(bytes.data(), static_cast<int>(bytes.size()));
}
