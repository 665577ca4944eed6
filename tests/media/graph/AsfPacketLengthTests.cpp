// The mend of asfmux's short packets touches nothing but the packet length of a packet that
// pads itself out to the file's packet size.
#include <gtest/gtest.h>

#include <vector>

#include "AsfPacketLength.h"

namespace {

constexpr size_t kPacketSize = 4800;

// A packet as asfmux writes it: length-type flags, property flags, WORD packet length, WORD
// padding, send time and duration; `errorCorrection` puts the two-byte block before it.
std::vector<uint8_t> Packet(uint16_t length, uint16_t padding, bool errorCorrection = false) {
    std::vector<uint8_t> packet(kPacketSize, 0xAB);
    size_t at = 0;
    if (errorCorrection) {
        packet[at++] = 0x82;
        packet[at++] = 0;
        packet[at++] = 0;
    }
    packet[at++] = 0x51;  // multiple payloads, WORD padding, WORD packet length
    packet[at++] = 0x5d;
    packet[at++] = uint8_t(length);
    packet[at++] = uint8_t(length >> 8);
    packet[at++] = uint8_t(padding);
    packet[at++] = uint8_t(padding >> 8);
    return packet;
}

uint16_t LengthOf(const std::vector<uint8_t>& packet, size_t at) { return uint16_t(packet[at] | packet[at + 1] << 8); }

TEST(AsfPacketLength, OnlyAPaddedPacketGetsTheWholeSizeAsItsLength) {
    struct Case {
        const char* what;
        std::vector<uint8_t> packet;
        size_t lengthAt;
        bool mended;
    } cases[] = {
        {"the last packet of a file", Packet(2015, 2785), 2, true},
        {"the same behind error-correction data", Packet(2015, 2785, true), 5, true},
        {"a full packet", Packet(4800, 0), 2, false},
        {"length and padding that do not add up", Packet(2015, 100), 2, false},
    };
    for (Case& c : cases) {
        std::vector<uint8_t> before = c.packet;
        EXPECT_EQ(platform::gst::CountPaddingInPacketLength(c.packet.data(), c.packet.size(), kPacketSize), c.mended)
            << c.what;
        EXPECT_EQ(LengthOf(c.packet, c.lengthAt), c.mended ? kPacketSize : LengthOf(before, c.lengthAt)) << c.what;
        before[c.lengthAt] = c.packet[c.lengthAt];
        before[c.lengthAt + 1] = c.packet[c.lengthAt + 1];
        EXPECT_EQ(c.packet, before) << c.what << ": bytes beside the length changed";
    }
    // The header object, which begins with its GUID, and a buffer of another size pass as they are.
    std::vector<uint8_t> header(kPacketSize, 0);
    const uint8_t guid[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11};
    std::copy(std::begin(guid), std::end(guid), header.begin());
    EXPECT_FALSE(platform::gst::CountPaddingInPacketLength(header.data(), header.size(), kPacketSize));
    std::vector<uint8_t> shorter = Packet(2015, 2785);
    EXPECT_FALSE(platform::gst::CountPaddingInPacketLength(shorter.data(), 4000, kPacketSize));
}

}  // namespace
