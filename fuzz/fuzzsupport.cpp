#include "fuzzsupport.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzzsupport {

void fail(const char* condition, std::string_view note, const char* file, int line) {
    std::fprintf(stderr, "\nFUZZ_CHECK failed at %s:%d: %s\n  %.*s\n", file, line, condition,
                 int(note.size()), note.data());
    std::abort();
}

std::uint8_t Input::byte() {
    return pos_ < size_ ? std::uint8_t(data_[pos_++]) : 0;
}

std::uint16_t Input::u16() {
    const std::uint16_t lo = byte();
    return std::uint16_t(lo | (byte() << 8));
}

std::string_view Input::take(std::size_t n) {
    n = std::min(n, size_ - std::min(pos_, size_));
    const std::string_view s(data_ + pos_, n);
    pos_ += n;
    return s;
}

std::string_view Input::until(char separator) {
    const std::string_view left =
        pos_ < size_ ? std::string_view(data_ + pos_, size_ - pos_) : std::string_view();
    const std::size_t at = left.find(separator);
    if (at == std::string_view::npos) {
        pos_ = size_;
        return left;
    }
    pos_ += at + 1;
    return left.substr(0, at);
}

std::string tile(std::string_view bytes, std::size_t size) {
    std::string out(size, '\0');
    if (bytes.empty())
        return out;
    for (std::size_t at = 0; at < size; at += bytes.size())
        std::memcpy(out.data() + at, bytes.data(), std::min(bytes.size(), size - at));
    return out;
}

Sandbox::Sandbox() {
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string templ = std::string(base) + "/quenmara-fuzz-XXXXXX";
    if (!::mkdtemp(templ.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    root_ = templ;
    reset();
}

Sandbox::~Sandbox() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

void Sandbox::reset() {
    std::error_code ec;
    for (const char* sub : {"/prog", "/outside"}) {
        // Rights may have been taken away by an input; give them back before removing.
        std::filesystem::remove_all(root_ + sub, ec);
        if (ec) {
            std::fprintf(stderr, "cannot empty %s%s: %s\n", root_.c_str(), sub,
                         ec.message().c_str());
            std::abort();
        }
        std::filesystem::create_directory(root_ + sub);
    }
}

bool writeRaw(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    ::close(fd);
    return done == bytes.size();
}

bool makeDir(const std::string& path) {
    return ::mkdir(path.c_str(), 0755) == 0;
}

bool makeLink(const std::string& target, const std::string& path) {
    return ::symlink(target.c_str(), path.c_str()) == 0;
}

Entry fileEntry(std::string_view bytes) {
    return {Entry::File, bytes.size(), std::hash<std::string_view>{}(bytes), {}};
}

namespace {

void walk(const std::string& dir, const std::string& relative, Tree& out) {
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = dir + "/" + name;
        const std::string rel = relative.empty() ? name : relative + "/" + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISLNK(st.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
            out[rel] = {Entry::Link, 0, 0, std::string(target, n > 0 ? std::size_t(n) : 0)};
        } else if (S_ISDIR(st.st_mode)) {
            out[rel] = {Entry::Folder, 0, 0, {}};
            walk(path, rel, out);
        } else {
            static std::string content;
            content.clear();
            const int fd = ::open(path.c_str(), O_RDONLY);
            if (fd >= 0) {
                char buf[65536];
                ssize_t n;
                while ((n = ::read(fd, buf, sizeof buf)) > 0)
                    content.append(buf, std::size_t(n));
                ::close(fd);
            }
            out[rel] = fileEntry(content);
        }
    }
    ::closedir(d);
}

} // namespace

Tree snapshot(const std::string& dir) {
    Tree out;
    walk(dir, {}, out);
    return out;
}

void initQt() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

storage::IoResult listOrders(const storage::FolderState& folder, storage::SavedOrders& out) {
    storage::OrderFolderScan scan;
    const storage::IoResult r = storage::scanOrderFolder(folder.ordersDir, {}, {}, scan);
    out.build(std::move(scan), folder.ordersDir, {false, 0, folder.readOnly}, {});
    return r;
}

} // namespace fuzzsupport
