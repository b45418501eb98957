// Appends a zip archive of resources to a linked executable, in place:
//   append_archive <exe> <name>=<file>@<YYYY-MM-DD HH:MM:SS> ...
// The entries keep the order given. Their offsets count from the start of the executable, so the
// program reads its own file as the archive. The times are given rather than taken from the files
// so that the same sources always give the same executable.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "archive/zip_reader.h"
#include "archive/zip_writer.h"

namespace {

// Reads a whole file; false when it cannot.
bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// A file source for checking the executable, through the reader's own interface.
class FileSource : public velmora::ByteSource {
  public:
    FileSource(std::ifstream& in, uint64_t size) : in_(in), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, void* into, size_t size) override {
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
        return static_cast<size_t>(in_.gcount()) == size;
    }

  private:
    std::ifstream& in_;
    uint64_t size_;
};

// An executable that already ends with an archive was given twice; a second archive would hide
// the first.
bool HoldsArchive(const std::string& path, uint64_t size) {
    std::ifstream in(path, std::ios::binary);
    FileSource source(in, size);
    try {
        velmora::ZipReader reader(source);
        return true;
    } catch (const velmora::ArchiveError& e) {
        // An end record with a directory that does not read is still an archive here.
        return e.kind() == velmora::ArchiveErrorKind::kDamagedArchive ||
               e.kind() == velmora::ArchiveErrorKind::kUnsupported;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: append_archive <exe> <name>=<file>@<YYYY-MM-DD HH:MM:SS> ...\n");
        return 2;
    }
    const std::string exe = argv[1];

    std::vector<velmora::ZipWriterEntry> entries;
    for (int i = 2; i < argc; ++i) {
        // The name ends at the first "=", the time starts after the last "@": a file path may
        // hold either character, an entry name or a time holds neither.
        const std::string argument = argv[i];
        const size_t equals = argument.find('=');
        const size_t at = argument.rfind('@');
        if (equals == std::string::npos || at == std::string::npos || at < equals) {
            std::fprintf(stderr, "append_archive: '%s' is not <name>=<file>@<time>\n", argv[i]);
            return 2;
        }
        velmora::ZipWriterEntry entry;
        entry.name = argument.substr(0, equals);
        const std::string file = argument.substr(equals + 1, at - equals - 1);
        const std::optional<velmora::DosDateTime> time =
            velmora::ParseDosDateTime(std::string_view(argument).substr(at + 1));
        if (!time) {
            std::fprintf(stderr, "append_archive: '%s' is not a time as YYYY-MM-DD HH:MM:SS\n",
                         argument.substr(at + 1).c_str());
            return 2;
        }
        entry.modified = *time;
        if (!ReadFile(file, entry.data)) {
            std::fprintf(stderr, "append_archive: cannot read %s\n", file.c_str());
            return 1;
        }
        entries.push_back(std::move(entry));
    }

    std::error_code error;
    const uint64_t exe_size = std::filesystem::file_size(exe, error);
    if (error) {
        std::fprintf(stderr, "append_archive: cannot read %s: %s\n", exe.c_str(),
                     error.message().c_str());
        return 1;
    }
    if (HoldsArchive(exe, exe_size)) {
        std::fprintf(stderr, "append_archive: %s already ends with an archive\n", exe.c_str());
        return 1;
    }

    std::vector<uint8_t> archive;
    try {
        archive = velmora::WriteZipArchive(entries, exe_size);
    } catch (const velmora::ArchiveError& e) {
        std::fprintf(stderr, "append_archive: %s\n", e.what());
        return 1;
    }

    std::ofstream out(exe, std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(archive.data()),
              static_cast<std::streamsize>(archive.size()));
    out.close();
    if (!out) {
        // Leave the executable as the linker made it rather than with half an archive.
        std::filesystem::resize_file(exe, exe_size, error);
        std::fprintf(stderr, "append_archive: cannot write %s\n", exe.c_str());
        return 1;
    }
    return 0;
}
