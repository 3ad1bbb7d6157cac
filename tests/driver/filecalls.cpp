// A tracer of a program's own file calls, preloaded (LD_PRELOAD) into the program a test
// runs. It sees every call that creates, opens, renames, links, removes or syncs a file or
// folder under one folder, the program folder of the run, and, as the environment says:
//   QM_TRACE_DIR=FOLDER/  the folder whose calls are seen (a path prefix); nothing without it;
//   QM_TRACE_LOG=FILE     appends one line per call seen: the call, then its paths, tab-separated
//                         (a sync names the file or folder of its descriptor);
//   QM_TRACE_KILL=N       kills the program (SIGKILL) just before the Nth call seen is made.
// The test counts the calls of a whole run from the log, then kills runs at chosen calls, as a
// power cut or a crash would stop the program there.
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Settings {
    std::string dir;
    long killAt = 0;
    int log = -1;
};

const Settings& settings() {
    static const Settings s = [] {
        Settings r;
        if (const char* d = std::getenv("QM_TRACE_DIR"))
            r.dir = d;
        if (const char* k = std::getenv("QM_TRACE_KILL"))
            r.killAt = std::atol(k);
        if (const char* l = std::getenv("QM_TRACE_LOG")) {
            using Open = int (*)(const char*, int, ...);
            static const auto realOpen = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
            r.log = realOpen(l, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        }
        return r;
    }();
    return s;
}

std::atomic<long> seen{0};

std::string fdPath(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, std::size_t(n)) : std::string();
}

std::string atPath(int dirfd, const char* path) {
    if (!path)
        return {};
    if (path[0] == '/' || dirfd == AT_FDCWD)
        return path;
    return fdPath(dirfd) + '/' + path;
}

// The folder itself (without its final "/") or anything in it.
bool under(const std::string& path) {
    const std::string& dir = settings().dir;
    if (dir.empty())
        return false;
    return path.compare(0, dir.size(), dir) == 0 ||
           (dir.back() == '/' && path.size() + 1 == dir.size() &&
            dir.compare(0, path.size(), path) == 0);
}

// Called before each traced call: logs it and kills the program at the chosen one.
void see(const char* call, const std::string& a, const std::string& b = {}) {
    const int saved = errno;
    if (!under(a) && !under(b))
        return;
    const long n = ++seen;
    const Settings& s = settings();
    if (s.log >= 0) {
        std::string line = std::string(call) + '\t' + a + (b.empty() ? "" : '\t' + b) + '\n';
        [[maybe_unused]] const ssize_t w = ::write(s.log, line.data(), line.size());
    }
    if (s.killAt > 0 && n == s.killAt)
        ::kill(::getpid(), SIGKILL);
    errno = saved;
}

template <class F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool takesMode(int flags) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

} // namespace

#define MODE_ARG(flags)                                                                            \
    mode_t mode = 0;                                                                               \
    if (takesMode(flags)) {                                                                        \
        va_list ap;                                                                                \
        va_start(ap, flags);                                                                       \
        mode = mode_t(va_arg(ap, int));                                                            \
        va_end(ap);                                                                                \
    }

extern "C" {

#define TRACE_OPEN(name)                                                                           \
    int name(const char* path, int flags, ...) {                                                   \
        MODE_ARG(flags)                                                                            \
        see(#name, atPath(AT_FDCWD, path));                                                        \
        static const auto f = real<int (*)(const char*, int, ...)>(#name);                         \
        return f(path, flags, mode);                                                               \
    }
TRACE_OPEN(open)
TRACE_OPEN(open64)

#define TRACE_OPENAT(name)                                                                         \
    int name(int dirfd, const char* path, int flags, ...) {                                        \
        MODE_ARG(flags)                                                                            \
        see(#name, atPath(dirfd, path));                                                           \
        static const auto f = real<int (*)(int, const char*, int, ...)>(#name);                    \
        return f(dirfd, path, flags, mode);                                                        \
    }
TRACE_OPENAT(openat)
TRACE_OPENAT(openat64)

#define TRACE_OPEN2(name)                                                                          \
    int name(const char* path, int flags) {                                                        \
        see(#name, atPath(AT_FDCWD, path));                                                        \
        static const auto f = real<int (*)(const char*, int)>(#name);                              \
        return f(path, flags);                                                                     \
    }
TRACE_OPEN2(__open_2)
TRACE_OPEN2(__open64_2)

#define TRACE_OPENAT2(name)                                                                        \
    int name(int dirfd, const char* path, int flags) {                                             \
        see(#name, atPath(dirfd, path));                                                           \
        static const auto f = real<int (*)(int, const char*, int)>(#name);                         \
        return f(dirfd, path, flags);                                                              \
    }
TRACE_OPENAT2(__openat_2)
TRACE_OPENAT2(__openat64_2)

int creat(const char* path, mode_t mode) {
    see("creat", atPath(AT_FDCWD, path));
    static const auto f = real<int (*)(const char*, mode_t)>("creat");
    return f(path, mode);
}

int creat64(const char* path, mode_t mode) {
    see("creat64", atPath(AT_FDCWD, path));
    static const auto f = real<int (*)(const char*, mode_t)>("creat64");
    return f(path, mode);
}

int rename(const char* from, const char* to) {
    see("rename", atPath(AT_FDCWD, from), atPath(AT_FDCWD, to));
    static const auto f = real<int (*)(const char*, const char*)>("rename");
    return f(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    see("renameat", atPath(fromDir, from), atPath(toDir, to));
    static const auto f = real<int (*)(int, const char*, int, const char*)>("renameat");
    return f(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
    see("renameat2", atPath(fromDir, from), atPath(toDir, to));
    static const auto f = real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return f(fromDir, from, toDir, to, flags);
}

int link(const char* from, const char* to) {
    see("link", atPath(AT_FDCWD, from), atPath(AT_FDCWD, to));
    static const auto f = real<int (*)(const char*, const char*)>("link");
    return f(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    see("linkat", atPath(fromDir, from), atPath(toDir, to));
    static const auto f = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    return f(fromDir, from, toDir, to, flags);
}

int unlink(const char* path) {
    see("unlink", atPath(AT_FDCWD, path));
    static const auto f = real<int (*)(const char*)>("unlink");
    return f(path);
}

int unlinkat(int dirfd, const char* path, int flags) {
    see("unlinkat", atPath(dirfd, path));
    static const auto f = real<int (*)(int, const char*, int)>("unlinkat");
    return f(dirfd, path, flags);
}

int mkdir(const char* path, mode_t mode) {
    see("mkdir", atPath(AT_FDCWD, path));
    static const auto f = real<int (*)(const char*, mode_t)>("mkdir");
    return f(path, mode);
}

int mkdirat(int dirfd, const char* path, mode_t mode) {
    see("mkdirat", atPath(dirfd, path));
    static const auto f = real<int (*)(int, const char*, mode_t)>("mkdirat");
    return f(dirfd, path, mode);
}

int rmdir(const char* path) {
    see("rmdir", atPath(AT_FDCWD, path));
    static const auto f = real<int (*)(const char*)>("rmdir");
    return f(path);
}

int fsync(int fd) {
    see("fsync", fdPath(fd));
    static const auto f = real<int (*)(int)>("fsync");
    return f(fd);
}

int fdatasync(int fd) {
    see("fdatasync", fdPath(fd));
    static const auto f = real<int (*)(int)>("fdatasync");
    return f(fd);
}

} // extern "C"
