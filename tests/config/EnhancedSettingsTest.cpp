#include <gtest/gtest.h>

#include <array>

#include "config/EnhancedSettings.h"

namespace pelgar::config {
namespace {

TEST(CarriageReturnBytes, CapitalModeIsBitFourOnTheReaderAndBitZeroInFiles) {
  EXPECT_EQ(EncodeReaderCrByte({true, true, true, true}), 0x1E);
  EXPECT_EQ(EncodeFileCrByte({true, false, false, true}), 0x03);
  EXPECT_EQ(ReaderCrToFileCr(0x12), 0x03);
  EXPECT_EQ(FileCrToReaderCr(0x0F), 0x1E);
  // Bits outside the four flags are dropped.
  EXPECT_EQ(ReaderCrToFileCr(0xE1), 0x00);
  EXPECT_EQ(FileCrToReaderCr(0xF0), 0x00);
}

}  // namespace
}  // namespace pelgar::config
