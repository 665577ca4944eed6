#include "AsfPacketLength.h"

#include <optional>

#include "GRefPtr.h"

namespace platform::gst {
namespace {

// Bytes of a field whose length type (two bits of the length-type flags) is 0 to 3.
size_t FieldSize(unsigned type) { return type == 3 ? 4 : type; }

uint32_t ReadField(const uint8_t* at, size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value |= uint32_t(at[i]) << (8 * i);
    return value;
}

void WriteField(uint8_t* at, size_t bytes, uint32_t value) {
    for (size_t i = 0; i < bytes; ++i) at[i] = uint8_t(value >> (8 * i));
}

// Where the packet length of a packet that needs the rewrite is.
struct LengthField {
    size_t at = 0;
    size_t bytes = 0;
};

std::optional<LengthField> ShortPacketLength(const uint8_t* packet, size_t size, size_t packetSize) {
    if (size != packetSize || size < 3) return std::nullopt;
    size_t at = 0;
    // Error-correction data, when present, comes first; its length is in the low bits.
    if (packet[0] & 0x80) at += 1 + (packet[0] & 0x0f);
    if (at + 2 > size) return std::nullopt;
    const uint8_t flags = packet[at];
    at += 2;  // the length-type flags and the property flags
    const size_t lengthBytes = FieldSize((flags >> 5) & 3);
    const size_t sequenceBytes = FieldSize((flags >> 1) & 3);
    const size_t paddingBytes = FieldSize((flags >> 3) & 3);
    if (lengthBytes == 0 || paddingBytes == 0) return std::nullopt;
    if (at + lengthBytes + sequenceBytes + paddingBytes > size) return std::nullopt;
    const uint32_t length = ReadField(packet + at, lengthBytes);
    const uint32_t padding = ReadField(packet + at + lengthBytes + sequenceBytes, paddingBytes);
    if (padding == 0 || length >= packetSize || size_t(length) + padding != packetSize) return std::nullopt;
    if (lengthBytes < 4 && packetSize >> (8 * lengthBytes) != 0) return std::nullopt;
    return LengthField{at, lengthBytes};
}

// A look through a read mapping first: most packets are full and pass without a copy.
bool NeedsMend(GstBuffer* buffer, gsize packetSize) {
    GstMapInfo map;
    if (gst_buffer_get_size(buffer) != packetSize || !gst_buffer_map(buffer, &map, GST_MAP_READ)) return false;
    const bool mend = ShortPacketLength(map.data, map.size, packetSize).has_value();
    gst_buffer_unmap(buffer, &map);
    return mend;
}

GstPadProbeReturn OnMuxed(GstPad*, GstPadProbeInfo* info, gpointer data) {
    const gsize packetSize = GPOINTER_TO_SIZE(data);
    if (!NeedsMend(GST_PAD_PROBE_INFO_BUFFER(info), packetSize)) return GST_PAD_PROBE_OK;
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    GstMapInfo map;
    if (gst_buffer_map(buffer, &map, GST_MAP_WRITE)) {
        (void)CountPaddingInPacketLength(map.data, map.size, packetSize);
        gst_buffer_unmap(buffer, &map);
    }
    return GST_PAD_PROBE_OK;
}

}  // namespace

bool CountPaddingInPacketLength(uint8_t* packet, size_t size, size_t packetSize) {
    auto field = ShortPacketLength(packet, size, packetSize);
    if (!field) return false;
    WriteField(packet + field->at, field->bytes, uint32_t(packetSize));
    return true;
}

void MendPacketLengths(GstElement* asfmux) {
    guint packetSize = 0;
    g_object_get(asfmux, "packet-size", &packetSize, nullptr);
    auto src = AdoptGRef(gst_element_get_static_pad(asfmux, "src"));
    gst_pad_add_probe(src.get(), GST_PAD_PROBE_TYPE_BUFFER, &OnMuxed, GSIZE_TO_POINTER(packetSize), nullptr);
}

}  // namespace platform::gst
