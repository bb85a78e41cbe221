#include "setup/RoomCount.h"

namespace {

const unsigned long long CRLF_BYTES = 2;

struct RoomUnit {
    unsigned long long nBytes;
    unsigned nScale;  // digits kept after the point, as a power of ten
    const char* pszFormat;
};

const RoomUnit ROOM_UNITS[] = {
    {1ULL << 10, 1, "%s KB"},
    {1ULL << 20, 10, "%s.%01u MB"},
    {1ULL << 30, 100, "%s.%02u GB"},
};
const int ROOM_UNIT_COUNT = sizeof ROOM_UNITS / sizeof ROOM_UNITS[0];
const unsigned long long UNIT_STEP = 1024;  // one unit holds this many of the one below

// The decimal digits of n (the C library's 64-bit format is not the same everywhere).
CString Digits(unsigned long long n) {
    char szDigits[24];
    char* pch = szDigits + sizeof szDigits;
    *--pch = '\0';
    do {
        *--pch = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    return CString(pch);
}

}  // namespace

CRoomCount::CRoomCount(unsigned long long nUnit)
    : m_nUnit(nUnit > 1 ? nUnit : 1), m_nWritten(0), m_nFreed(0), m_nRecordBytes(0), m_nReplacedRecord(0) {}

unsigned long long CRoomCount::Units(unsigned long long nBytes) const {
    return (nBytes / m_nUnit + (nBytes % m_nUnit != 0)) * m_nUnit;
}

void CRoomCount::AddFile(unsigned long long nBytes, unsigned long long nReplacedBytes) {
    m_nWritten += Units(nBytes);
    m_nFreed += Units(nReplacedBytes);
}

void CRoomCount::AddRecordLine(int nTextBytes) {
    if (nTextBytes > 0) m_nRecordBytes += static_cast<unsigned long long>(nTextBytes);
    m_nRecordBytes += CRLF_BYTES;
}

void CRoomCount::SetReplacedRecord(unsigned long long nBytes) {
    m_nReplacedRecord = nBytes;
}

unsigned long long CRoomCount::Needed() const {
    const unsigned long long nWritten = m_nWritten + Units(m_nRecordBytes);
    const unsigned long long nFreed = m_nFreed + Units(m_nReplacedRecord);
    return nWritten > nFreed ? nWritten - nFreed : 0;
}

CString RoomText(unsigned long long nBytes, BOOL bRoundUp) {
    CString strText;
    for (int i = 0; i < ROOM_UNIT_COUNT; ++i) {
        const RoomUnit& unit = ROOM_UNITS[i];
        // In units of 1/nScale of the unit, without multiplying nBytes (which may be near 2^64).
        const unsigned long long nWhole = nBytes / unit.nBytes;
        const unsigned long long nRest = (nBytes % unit.nBytes) * unit.nScale;
        unsigned long long nParts = nWhole * unit.nScale + nRest / unit.nBytes;
        if (bRoundUp && nRest % unit.nBytes != 0) ++nParts;
        // The larger unit takes over once this one would read 1024 or more.
        if (nParts >= UNIT_STEP * unit.nScale && i + 1 < ROOM_UNIT_COUNT) continue;
        const CString strWhole = Digits(nParts / unit.nScale);
        if (unit.nScale == 1)
            strText.Format(unit.pszFormat, static_cast<const char*>(strWhole));
        else
            strText.Format(unit.pszFormat, static_cast<const char*>(strWhole),
                           static_cast<unsigned>(nParts % unit.nScale));
        break;
    }
    return strText;
}
