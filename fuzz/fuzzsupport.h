// Shared pieces of the fuzz targets: reading an input from its front, a scratch program
// folder that is emptied before every input, snapshots of a folder tree to compare before
// and after, and a check that stops the run with a message when a property fails.
#pragma once

#include "storage/folderdata.h"
#include "storage/savedorders.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// Stops the fuzzer with the failed condition and a note: libFuzzer keeps the input.
#define FUZZ_CHECK(cond, note)                                                                     \
    do {                                                                                           \
        if (!(cond))                                                                               \
            fuzzsupport::fail(#cond, note, __FILE__, __LINE__);                                    \
    } while (0)

namespace fuzzsupport {

[[noreturn]] void fail(const char* condition, std::string_view note, const char* file, int line);

// Consumes an input from its front: single bytes, little-endian numbers, and pieces of text.
// Past the end every read gives zeros or empty text.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}
    std::uint8_t byte();
    std::uint16_t u16();
    // The next n bytes, or fewer at the end.
    std::string_view take(std::size_t n);
    // Everything up to the next separator byte (which is consumed), or the rest.
    std::string_view until(char separator);
    std::string_view rest() { return take(size_ - pos_); }
    bool empty() const { return pos_ >= size_; }

private:
    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// bytes repeated (or cut) to exactly size bytes; zeros when bytes is empty.
std::string tile(std::string_view bytes, std::size_t size);

// A scratch folder of this process (in memory where /dev/shm exists) holding a program folder
// "prog" and a folder "outside" beside it, both emptied by reset().
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    void reset();
    const std::string& root() const { return root_; }
    std::string prog() const { return root_ + "/prog/"; }
    std::string outside() const { return root_ + "/outside/"; }
    QString progDir() const { return QString::fromStdString(prog()); }

private:
    std::string root_;
};

// Creates a file with exactly these bytes; the name is used as raw bytes. False when the
// system refuses (a name too long, a folder missing).
bool writeRaw(const std::string& path, std::string_view bytes);
bool makeDir(const std::string& path);
bool makeLink(const std::string& target, const std::string& path);

// What an entry of a folder tree is: a file with its size and a digest of its content, a
// folder, or a symbolic link with its target (not followed).
struct Entry {
    enum Type { File, Folder, Link } type = File;
    std::uint64_t size = 0;
    std::uint64_t digest = 0;
    std::string target;
    bool operator==(const Entry&) const = default;
};
// The entry a file with these bytes has.
Entry fileEntry(std::string_view bytes);

// Every entry under dir, by raw path relative to dir.
using Tree = std::map<std::string, Entry>;
Tree snapshot(const std::string& dir);

// Creates the QCoreApplication that the storage code expects to exist.
void initQt();

// The saved orders of folder as a start lists them (the folder scanned without an index, the
// list built, names that no longer fit renamed unless the folder is only read); the result of
// the scan.
storage::IoResult listOrders(const storage::FolderState& folder, storage::SavedOrders& out);

} // namespace fuzzsupport
