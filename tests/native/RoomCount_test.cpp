// The room an install needs on its volume, and the sizes the disk-space prompt shows.
#include "setup/RoomCount.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const unsigned long long kKb = 1024, kMb = kKb * 1024, kGb = kMb * 1024;

struct FileRow {
    unsigned long long bytes;
    unsigned long long replaced;
};

}  // namespace

TEST(RoomCount, FilesTakeWholeUnitsAndReplacedFilesFreeTheirs) {
    struct Row {
        const char* what;
        unsigned long long unit;
        std::vector<FileRow> files;
        std::vector<int> recordLines;  // text bytes of each line
        unsigned long long replacedRecord;
        unsigned long long needed;
    };
    const Row rows[] = {
        {"nothing at all", 4096, {}, {}, 0, 0},
        {"an empty file takes no unit", 4096, {{0, 0}}, {}, 0, 0},
        {"one byte takes a whole unit", 4096, {{1, 0}}, {}, 0, 4096},
        {"a unit's worth exactly", 4096, {{4096, 0}}, {}, 0, 4096},
        {"one byte over takes two", 4096, {{4097, 0}}, {}, 0, 8192},
        {"units are summed per file, not over the total", 4096, {{1, 0}, {1, 0}, {1, 0}}, {}, 0, 3 * 4096},
        {"no unit known: bytes as they are", 0, {{1, 0}, {4097, 0}}, {}, 0, 4098},
        {"a unit of one byte is no rounding", 1, {{10, 0}}, {}, 0, 10},
        {"a same-sized file replaced takes nothing", 4096, {{5000, 5000}}, {}, 0, 0},
        {"a smaller file replaced frees its units", 4096, {{10000, 100}}, {}, 0, 8192},
        {"files that free more than the install writes need nothing", 4096, {{1, 0}, {0, 20000}}, {}, 0, 0},
        {"record lines end in CR LF and make one file", 4096, {}, {2000, 2000, 90}, 0, 4096},
        {"a record one byte over its unit", 4096, {}, {2000, 2000, 91}, 0, 8192},
        {"the record replaces the earlier one", 4096, {{4096, 0}}, {100}, 3000, 4096},
        {"large files on a large unit", 65536, {{3 * kGb + 1, kGb}}, {}, 0, 2 * kGb + 65536},
    };
    for (const Row& row : rows) {
        CRoomCount count(row.unit);
        for (const FileRow& file : row.files) count.AddFile(file.bytes, file.replaced);
        for (int line : row.recordLines) count.AddRecordLine(line);
        count.SetReplacedRecord(row.replacedRecord);
        EXPECT_EQ(count.Needed(), row.needed) << row.what;
    }
}

TEST(RoomCount, FitsUpToTheLastByteFree) {
    CRoomCount count(4096);
    count.AddFile(4096 * 3, 0);
    EXPECT_TRUE(count.Fits(4096 * 3));
    EXPECT_FALSE(count.Fits(4096 * 3 - 1));
    EXPECT_TRUE(CRoomCount(4096).Fits(0)) << "an install that writes nothing fits a full disk";
}

TEST(RoomCount, SizeTexts) {
    struct Row {
        unsigned long long bytes;
        const char* up;
        const char* down;
    };
    const Row rows[] = {
        {0, "0 KB", "0 KB"},
        {1, "1 KB", "0 KB"},
        {1023, "1 KB", "0 KB"},
        {kKb, "1 KB", "1 KB"},
        {kKb + 1, "2 KB", "1 KB"},
        {kMb - kKb, "1023 KB", "1023 KB"},
        {kMb - 1, "1.0 MB", "1023 KB"},
        {kMb, "1.0 MB", "1.0 MB"},
        {kMb + 1, "1.1 MB", "1.0 MB"},
        {kMb * 3 / 2, "1.5 MB", "1.5 MB"},
        {kMb * 15 / 2 + kMb / 20, "7.6 MB", "7.5 MB"},
        {kGb - 1, "1.00 GB", "1023.9 MB"},
        {kGb, "1.00 GB", "1.00 GB"},
        {kGb * 5 / 4, "1.25 GB", "1.25 GB"},
        {kGb * 5 / 4 + 1, "1.26 GB", "1.25 GB"},
        {kGb * 2048, "2048.00 GB", "2048.00 GB"},
        {~0ULL, "17179869184.00 GB", "17179869183.99 GB"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(std::string(RoomText(row.bytes, TRUE)), row.up) << row.bytes << " bytes, rounded up";
        EXPECT_EQ(std::string(RoomText(row.bytes, FALSE)), row.down) << row.bytes << " bytes, rounded down";
    }
}
