// Feeds arbitrary bytes to the archive reader as the program file: it lists the entries, looks
// each one up and extracts it. Any outcome but success or an ArchiveError is a fault, and the
// sanitizers turn an out-of-bounds access into one.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "archive/zip_reader.h"

namespace {

// The reader promises to ask only for bytes inside the file; a source that quietly refused would
// hide a broken bounds check as a read error, so this one stops the run instead.
class StrictSource : public velmora::ByteSource {
  public:
    StrictSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* into, size_t size) override {
        if (offset > size_ || size > size_ - offset) __builtin_trap();
        if (size != 0) std::memcpy(into, data_ + offset, size);
        return true;
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

// Output is capped so that a deflate stream claiming gigabytes cannot exhaust memory.
constexpr size_t kSinkLimit = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    StrictSource source(data, size);
    try {
        velmora::ZipReader reader(source);
        for (const velmora::ZipEntry& entry : reader.entries()) {
            velmora::IsSafeEntryName(entry.name);
            // Every listed entry can be found by its name (Find gives nothing for an empty one).
            if (!entry.name.empty() && reader.Find(entry.name) == nullptr) __builtin_trap();
            velmora::MemorySink sink(kSinkLimit);
            try {
                reader.Extract(entry, sink);
                // What extracts cleanly must be exactly what the directory says.
                if (sink.bytes().size() != entry.uncompressed_size) __builtin_trap();
            } catch (const velmora::ArchiveError&) {
                if (sink.bytes().size() > entry.uncompressed_size) __builtin_trap();
            }
        }
    } catch (const velmora::ArchiveError&) {
    }
    return 0;
}
