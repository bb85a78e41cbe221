// EXPECT_WIN32(call) and ASSERT_WIN32(call): a call that answers nonzero on success (a BOOL, a
// handle that is null on failure) must succeed; a failure names the call, the error code
// GetLastError gave right after it, and the system's text for that code.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

// The call's result with its error code read before anything else can change it.
::testing::AssertionResult Win32Succeeded(const char* pszCall, const std::function<bool()>& call);

#define EXPECT_WIN32(call) EXPECT_TRUE(Win32Succeeded(#call, [&]() -> bool { return (call) != 0; }))
#define ASSERT_WIN32(call) ASSERT_TRUE(Win32Succeeded(#call, [&]() -> bool { return (call) != 0; }))
