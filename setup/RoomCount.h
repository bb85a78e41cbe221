// The room an install takes on its target volume, counted before it copies, and the sizes as the
// user reads them. Free of the platform.
#pragma once
#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// Sums what the copy writes and what it frees. A file takes whole allocation units; one that
// replaces an existing file of the same name frees that file's units. The record, written last,
// is one file whose length is the sum of its lines.
class CRoomCount {
public:
    // nUnit: the volume's allocation unit in bytes; 0 or 1 when unknown (no rounding).
    explicit CRoomCount(unsigned long long nUnit);

    // A file of nBytes over an existing target of nReplacedBytes (0 when there is none).
    void AddFile(unsigned long long nBytes, unsigned long long nReplacedBytes);
    // One record line of nTextBytes without its line end (CR LF on disk).
    void AddRecordLine(int nTextBytes);
    // The record file that the new record replaces.
    void SetReplacedRecord(unsigned long long nBytes);

    // What the install takes beyond what it frees; 0 when it frees as much as it writes.
    unsigned long long Needed() const;
    BOOL Fits(unsigned long long nFree) const { return Needed() <= nFree; }

private:
    unsigned long long Units(unsigned long long nBytes) const;

    unsigned long long m_nUnit;
    unsigned long long m_nWritten;  // rounded to units
    unsigned long long m_nFreed;    // rounded to units
    unsigned long long m_nRecordBytes;
    unsigned long long m_nReplacedRecord;
};

// nBytes as "512 KB", "12.5 MB" or "3.25 GB": KB below 1 MB, tenths of a MB below 1 GB, hundredths
// of a GB above. bRoundUp rounds the last digit up (room needed), else down (room free), so that a
// need that does not fit never reads as less than the room free.
CString RoomText(unsigned long long nBytes, BOOL bRoundUp);
