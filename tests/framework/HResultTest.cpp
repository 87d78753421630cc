// The HRESULT rule and the last-error helpers.
#include "framework/HResult.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(HResultFromWin32, WindowsErrorAboveZeroGetsTheWin32Facility)
{
    EXPECT_EQ(static_cast<HRESULT>(0x80070002), HResultFromWin32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(static_cast<HRESULT>(0x800700EA), HResultFromWin32(ERROR_MORE_DATA));
    // Only the low 16 bits of the error are kept.
    EXPECT_EQ(static_cast<HRESULT>(0x80071234), HResultFromWin32(0x00AB1234));
}

TEST(HResultFromWin32, ZeroAndNegativeValuesAreTakenAsTheyAre)
{
    EXPECT_EQ(S_OK, HResultFromWin32(0));
    EXPECT_EQ(E_FAIL, HResultFromWin32(static_cast<LONG>(E_FAIL)));
}

TEST(FailureFromLastError, AFailureWithoutLastErrorIsStillAFailure)
{
    ::SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(E_FAIL, FailureFromLastError());
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(static_cast<HRESULT>(0x80070005), FailureFromLastError());
}

namespace {
HRESULT FailsWithoutLastError()
{
    ::SetLastError(ERROR_FILE_NOT_FOUND); // stale code from an earlier call
    RETURN_LAST_ERROR_IF_FALSE(false);
    return S_OK;
}
} // namespace

TEST(ReturnLastErrorIfFalse, StaleLastErrorIsNeverReported)
{
    EXPECT_EQ(E_FAIL, FailsWithoutLastError());
}
