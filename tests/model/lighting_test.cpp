#include "model/lighting.h"

#include <gtest/gtest.h>

namespace tarvenor {
namespace {

TEST(LightingRecord, ColoursAndClampedFields) {
    LightingRecord record;
    record.bytes[5] = 0x11;
    record.bytes[6] = 0x22;
    record.bytes[7] = 0x33;
    EXPECT_EQ(record.effect_colour(), 0x332211u);
    record.set_colour_at(12, 0xABCDEF);
    EXPECT_EQ(record.bytes[12], 0xEF);
    EXPECT_EQ(record.bytes[14], 0xAB);
    EXPECT_EQ(record.user_colour(), 0xABCDEFu);
    EXPECT_EQ(record.base_colour(), 0u);

    record.bytes[15] = 9;
    record.bytes[16] = 2;
    EXPECT_EQ(record.report_rate(), 3);
    EXPECT_EQ(record.paint_tool(), 0);
    record.bytes[15] = 2;
    record.bytes[16] = 1;
    EXPECT_EQ(record.report_rate(), 2);
    EXPECT_EQ(record.paint_tool(), 1);
}

TEST(LightingRecord, ResetWritesOnlyTheFirst35Bytes) {
    LightingRecord record;
    record.bytes.fill(0x5A);
    record.reset();
    EXPECT_EQ(record.effect(), 1);
    EXPECT_EQ(record.brightness(), 4);
    EXPECT_EQ(record.bytes[8], 8);
    EXPECT_EQ(record.base_colour(), 0xFFFFFFu);
    EXPECT_EQ(record.bytes[34], 0);
    EXPECT_EQ(record.bytes[35], 0x5A);
    EXPECT_EQ(record.bytes[41], 0x5A);
}

TEST(KeyColourTable, DeviceAddresses) {
    EXPECT_EQ(KeyColourTable::device_address(0, 0), 0u);
    EXPECT_EQ(KeyColourTable::device_address(2, 125), 2u * 512 + 375);
}

} // namespace
} // namespace tarvenor
