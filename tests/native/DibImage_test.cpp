#include "controls/DibImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(DibImage, StartsEmptyAndEveryOperationDoesNothing) {
    CDibImage image;
    EXPECT_FALSE(image.HasImage());
    EXPECT_EQ(nullptr, image.PixelData());
    EXPECT_EQ(40u, image.GetHeader().biSize);
    EXPECT_EQ(0u, image.GetRowStride());
    EXPECT_EQ(0, image.GetColorCount());
    image.SetTableEntry(0, 1, 2, 3);
    image.TintTable(0xFFFFFF, 50);
    image.PutIndex(0, 0, 1);
    image.FillIndex(1);
    EXPECT_FALSE(image.HasImage());
}

TEST(DibImage, DepthStrideAndTableSize) {
    struct Row {
        int width;
        unsigned depth;
        unsigned bits;
        uint32_t stride;
        int colors;
    } rows[] = {
        {1, 8, 8, 4, 256}, {10, 8, 8, 12, 256}, {10, 24, 24, 32, 0},     {10, 3, 4, 8, 16},
        {10, 0, 1, 4, 2},  {33, 1, 1, 8, 2},    {7, 2, 4, 4, 16},        {9, 5, 8, 12, 256},
        {3, 9, 24, 12, 0}, {2, 32, 24, 8, 0},   {5, 0x10008, 8, 8, 256},  // the depth is read as 16 bits:
                                                                          // 0x10008 is 8
    };
    for (const Row& r : rows) {
        CDibImage image;
        unsigned char* block = image.Allocate(r.width, 3, r.depth);
        ASSERT_NE(nullptr, block) << r.width << "x3 at " << r.depth;
        EXPECT_EQ(r.bits, image.GetBitCount()) << "depth " << r.depth;
        EXPECT_EQ(r.stride, image.GetRowStride()) << r.width << " at " << r.depth;
        EXPECT_EQ(r.colors, image.GetColorCount()) << "depth " << r.depth;
        EXPECT_EQ(40u + 4u * r.colors + 3u * r.stride, image.GetBlockSize());
        EXPECT_EQ(block + 40 + 4 * r.colors, image.PixelData());
    }
}

TEST(DibImage, BlockStartsWithACopyOfTheHeader) {
    CDibImage image;
    unsigned char* block = image.Allocate(10, 5, 8);
    ASSERT_NE(nullptr, block);
    CDibHeader header;
    std::memcpy(&header, block, sizeof(header));
    EXPECT_EQ(40u, header.biSize);
    EXPECT_EQ(10, header.biWidth);
    EXPECT_EQ(5, header.biHeight) << "positive: rows stored bottom-up";
    EXPECT_EQ(1, header.biPlanes);
    EXPECT_EQ(8, header.biBitCount);
    EXPECT_EQ(0u, header.biCompression);
    EXPECT_EQ(60u, header.biSizeImage);
    EXPECT_EQ(0, header.biXPelsPerMeter);
    EXPECT_EQ(0u, header.biClrUsed);
    EXPECT_EQ(0, std::memcmp(&header, &image.GetHeader(), sizeof(header)));
}

TEST(DibImage, RefusesNegativeAndHugeSizes) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(4, 4, 8));
    EXPECT_EQ(nullptr, image.Allocate(-1, 4, 8));
    EXPECT_FALSE(image.HasImage()) << "a failed Allocate leaves the image empty";
    EXPECT_EQ(nullptr, image.Allocate(4, -4, 8));
    EXPECT_EQ(nullptr, image.Allocate(0x7FFFFFFF, 0x7FFFFFFF, 24));
    EXPECT_FALSE(image.HasImage());
}

// Rows are stored bottom-up: y counts from the top of the picture.
TEST(DibImage, PutIndexCountsRowsFromTheTop) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(3, 4, 8));
    image.FillIndex(0);
    image.PutIndex(0, 0, 0x1AB);  // the low byte only
    image.PutIndex(2, 3, 7);
    const unsigned char* pixels = image.PixelData();
    const uint32_t stride = image.GetRowStride();
    EXPECT_EQ(0xAB, pixels[3 * stride]) << "top row: the last row stored";
    EXPECT_EQ(7, pixels[2]) << "bottom row: the first row stored";
    EXPECT_EQ(0xAB, image.GetIndex(0, 0));
    EXPECT_EQ(7, image.GetIndex(2, 3));
}

TEST(DibImage, PutIndexIgnoresOutsidePixelsAndOtherDepths) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(3, 2, 8));
    image.FillIndex(0x55);
    std::vector<unsigned char> before(image.PixelData(), image.PixelData() + 2 * image.GetRowStride());
    const int aPoints[][2] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {100, 100}};
    for (const auto& pt : aPoints) image.PutIndex(pt[0], pt[1], 1);
    EXPECT_EQ(0, std::memcmp(before.data(), image.PixelData(), before.size()));

    // On a 1-bit picture x is a bit, not a byte: writing a byte there would leave the row.
    CDibImage mono;
    ASSERT_NE(nullptr, mono.Allocate(100, 1, 1));
    mono.FillIndex(0);
    mono.PutIndex(99, 0, 0xFF);
    EXPECT_EQ(0, mono.PixelData()[0]);
}

TEST(DibImage, FillIndexCoversThePaddingToo) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(5, 2, 8));  // stride 8: 3 padding bytes a row
    image.FillIndex(0x3C3);
    for (uint32_t i = 0; i < 2 * image.GetRowStride(); ++i) ASSERT_EQ(0xC3, image.PixelData()[i]) << i;
}

TEST(DibImage, TableEntriesAreStoredBlueGreenRed) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(2, 2, 8));
    image.SetTableEntry(1, 0x110, 0x220, 0x330);  // low bytes
    const unsigned char* entry = image.GetBlock() + 40 + 4;
    EXPECT_EQ(0x30, entry[0]);
    EXPECT_EQ(0x20, entry[1]);
    EXPECT_EQ(0x10, entry[2]);
    EXPECT_EQ(0, entry[3]);
    image.SetTableEntry(256, 9, 8, 7);  // index byte 0
    EXPECT_EQ(MakeColor(9, 8, 7), image.GetTableEntry(0));

    CDibImage small;
    ASSERT_NE(nullptr, small.Allocate(2, 2, 4));
    small.FillIndex(0xEE);
    small.SetTableEntry(16, 1, 1, 1);  // past a 16-entry table: ignored, pixels untouched
    EXPECT_EQ(0xEE, small.PixelData()[0]);
    CDibImage rgb;
    ASSERT_NE(nullptr, rgb.Allocate(2, 2, 24));
    rgb.FillIndex(0xEE);
    rgb.SetTableEntry(0, 1, 1, 1);  // no table at all
    EXPECT_EQ(0xEE, rgb.PixelData()[0]);
}

TEST(DibImage, TintTableInIntegers) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(1, 1, 4));
    for (int i = 0; i < 16; ++i) image.SetTableEntry(i, 128, 128, 128);
    image.SetTableEntry(1, 0, 100, 255);

    image.TintTable(0x00FFFFFF, 0);
    EXPECT_EQ(MakeColor(128, 128, 128), image.GetTableEntry(0)) << "0 % changes nothing";
    image.TintTable(0x00FFFFFF, 10);
    EXPECT_EQ(MakeColor(140, 140, 140), image.GetTableEntry(0)) << "140.7 truncates";
    EXPECT_EQ(MakeColor(25, 115, 255), image.GetTableEntry(1));
    image.TintTable(MakeColor(10, 20, 30), 150);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(MakeColor(10, 20, 30), image.GetTableEntry(i)) << i;
}

TEST(DibImage, DuplicateCopiesTheWholeBlock) {
    CDibImage source, copy;
    ASSERT_NE(nullptr, source.Allocate(6, 3, 8));
    for (int i = 0; i < 256; ++i) source.SetTableEntry(i, i, 255 - i, i / 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) source.PutIndex(x, y, x * 10 + y);
    ASSERT_NE(nullptr, copy.Allocate(2, 2, 1));
    copy.Duplicate(source);
    ASSERT_EQ(source.GetBlockSize(), copy.GetBlockSize());
    EXPECT_NE(source.GetBlock(), copy.GetBlock());
    EXPECT_EQ(0, std::memcmp(source.GetBlock(), copy.GetBlock(), source.GetBlockSize()));
    EXPECT_EQ(source.GetRowStride(), copy.GetRowStride());

    copy.Duplicate(copy);
    EXPECT_EQ(0, std::memcmp(source.GetBlock(), copy.GetBlock(), source.GetBlockSize()));

    CDibImage empty;
    copy.Duplicate(empty);
    EXPECT_FALSE(copy.HasImage()) << "a copy of an empty image is empty";
}
