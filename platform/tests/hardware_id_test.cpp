#include "platform/hardware_id.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(HardwareId, AddressText) {
  const uint8_t address[6] = {0xac, 0xde, 0x48, 0x00, 0x11, 0x22};
  EXPECT_EQ(FormatMacAddress(address), "AC-DE-48-00-11-22");
  const uint8_t zero[6] = {};
  const uint8_t lastByte[6] = {0, 0, 0, 0, 0, 1};
  EXPECT_TRUE(IsZeroMacAddress(zero));
  EXPECT_FALSE(IsZeroMacAddress(lastByte));
}

TEST(HardwareId, BusRankOfInstanceId) {
  const struct {
    const char* id;
    BusRank rank;
  } cases[] = {
      {"PCI\\VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02\\3&267A616A&0&18", BusRank::kPci},
      {"ISA\\PNP80D6\\0", BusRank::kIsa},
      {"USB\\VID_0B95&PID_1790\\0001", BusRank::kUsb},
      {"ROOT\\NET\\0000", BusRank::kOther},
      {"pci\\ven_8086", BusRank::kOther},  // the IP Helper ranks take the id as it is
      {"PC", BusRank::kOther},
      {"", BusRank::kOther},
  };
  for (const auto& c : cases) EXPECT_EQ(BusRankOfInstanceId(c.id), c.rank) << c.id;
}

TEST(HardwareId, ChoiceByBusRankThenList) {
  using List = std::vector<MacCandidate>;
  const List none;
  const struct {
    const char* what;
    List devices;
    List adapters;
    const char* expected;
  } cases[] = {
      {"nothing at all", none, none, ""},
      {"a PCI card beats a USB stick enumerated first",
       {{"00-00-00-00-00-03", BusRank::kUsb}, {"00-00-00-00-00-01", BusRank::kPci}},
       none,
       "00-00-00-00-00-01"},
      {"a device beats an adapter of the same rank",
       {{"00-00-00-00-00-0D", BusRank::kUsb}},
       {{"00-00-00-00-00-0A", BusRank::kUsb}},
       "00-00-00-00-00-0D"},
      {"a better-ranked adapter beats a device",
       {{"00-00-00-00-00-0D", BusRank::kIsa}},
       {{"00-00-00-00-00-0A", BusRank::kPci}},
       "00-00-00-00-00-0A"},
      {"only adapters, the first of the best rank",
       none,
       {{"00-00-00-00-00-04", BusRank::kOther},
        {"00-00-00-00-00-02", BusRank::kIsa},
        {"00-00-00-00-00-22", BusRank::kIsa}},
       "00-00-00-00-00-02"},
      {"unknown buses in enumeration order",
       {{"00-00-00-00-00-05", BusRank::kOther}},
       {{"00-00-00-00-00-06", BusRank::kOther}},
       "00-00-00-00-00-05"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChooseMacAddress(c.devices, c.adapters), c.expected) << c.what;
}

}  // namespace
