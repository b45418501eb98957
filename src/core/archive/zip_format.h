#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora::zip {

// The records of a zip archive that the reader and the writer of this program both know: their
// signatures and their fixed sizes, before the variable-length name, extra field and comment.
constexpr uint32_t kLocalHeaderSignature = 0x04034B50;
constexpr uint32_t kCentralHeaderSignature = 0x02014B50;
constexpr uint32_t kEndRecordSignature = 0x06054B50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;

}  // namespace velmora::zip
