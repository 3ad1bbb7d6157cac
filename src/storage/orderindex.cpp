#include "orderindex.h"

#include "cp1251.h"
#include "folder.h"
#include "money.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <unordered_map>
#include <xxhash.h>

namespace storage {

namespace {

// The index file, all numbers little-endian:
//   "QMINDEX" and a zero byte, u32 version, u32 entry count, u64 device and u64 inode of the
//   order folder, u16 length and UTF-8 bytes of its absolute path with links resolved;
//   the entries;
//   u64 XXH3 hash (64 bits) of every byte before it, which tells a damaged or cut file.
// An entry: u8 length and bytes of the file name; the stamp (FileStamp): i64 unchangedBefore,
// and when it is 0 the file's own i64 modification time, i64 status change time (both in
// nanoseconds) and u64 inode (only files of a record's size are in the index: the size is
// not written); the number, date, amount, payer INN and payee INN, each as u8 length and
// bytes; u8 accepted; u8 length and bytes of the folded purpose; the keys: u8 name fits, six
// u8 positions and sizes of the name's parts, u32 year, u32 number, u64 INN and year, u32
// date, i64 kopecks. Version 4; a new version whenever what an entry holds, or how a key is
// taken, changes.
constexpr char Magic[8] = {'Q', 'M', 'I', 'N', 'D', 'E', 'X', '\0'};
constexpr std::uint32_t Version = 4;
constexpr qsizetype FixedHeaderSize = 8 + 4 + 4 + 8 + 8 + 2;
constexpr std::size_t OwnStampSize = 8 + 8 + 8; // the times and inode after unchangedBefore 0
constexpr std::size_t KeysSize = 1 + 6 + 4 + 4 + 8 + 4 + 8;
// The least an entry takes: an empty name and empty texts, a stamp without the file's own.
constexpr std::size_t MinEntrySize = 1 + 8 + 5 + 1 + 1 + KeysSize;

// The order folder an index belongs to: an index copied along with the program folder, or
// left by a folder that another took the place of, belongs to another one.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    QByteArray path;
    bool known = false;
};

FolderIdentity identityOf(const QString& folder) {
    FolderIdentity id;
    struct stat st {};
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || ::stat(QFile::encodeName(canonical).constData(), &st) != 0)
        return id;
    id.device = std::uint64_t(st.st_dev);
    id.inode = std::uint64_t(st.st_ino);
    id.path = canonical.toUtf8();
    id.known = id.path.size() <= 0xFFFF;
    return id;
}

std::int64_t nanoseconds(const struct timespec& t) {
    return std::int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

FileStamp stampOf(const struct stat& st) {
    return {std::int64_t(st.st_size), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim),
            std::uint64_t(st.st_ino)};
}

// True when the entry stamp still holds for the file of status st: the same stamp, or for a
// file read without its status, the same size and both times before its unchangedBefore.
bool stampHolds(const FileStamp& entry, const struct stat& st) {
    if (entry.unchangedBefore == 0)
        return stampOf(st) == entry;
    return std::int64_t(st.st_size) == entry.size &&
           nanoseconds(st.st_mtim) < entry.unchangedBefore &&
           nanoseconds(st.st_ctim) < entry.unchangedBefore;
}

std::int64_t nowNs() {
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return nanoseconds(t);
}

// A reader of the index's bytes that fails, rather than reads past the end, on a short or
// damaged file.
class Reader {
public:
    Reader(const uchar* data, qsizetype size) : at_(data), end_(data + size) {}

    bool failed() const { return failed_; }
    void fail() { failed_ = true; }
    const uchar* position() const { return at_; }

    template <class T> T number() {
        if (!take(sizeof(T)))
            return T{};
        return qFromLittleEndian<T>(at_ - sizeof(T));
    }
    std::string_view bytes(std::size_t n) {
        if (!take(n))
            return {};
        return {reinterpret_cast<const char*>(at_ - n), n};
    }
    template <std::size_t N> void text(ShortStr<N>& out) {
        const std::size_t n = number<std::uint8_t>();
        if (n > N) {
            failed_ = true;
            return;
        }
        out.assign(bytes(n));
    }

private:
    bool take(std::size_t n) {
        if (failed_ || std::size_t(end_ - at_) < n) {
            failed_ = true;
            return false;
        }
        at_ += n;
        return true;
    }

    const uchar* at_;
    const uchar* end_;
    bool failed_ = false;
};

// The index file of a scan, mapped into memory and checked whole before anything of it is
// used; entries are found by name, in the order they were written first (the folder is
// listed in the same order when it has not changed), by a table of names otherwise.
class LoadedIndex {
public:
    LoadedIndex(const QString& path, const FolderIdentity& folder) {
        if (!folder.known)
            return;
        // Mapped with its pages read at once: the whole file is checked and then read anyway.
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            return;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < FixedHeaderSize + 8 ||
            st.st_size > std::numeric_limits<std::uint32_t>::max()) {
            ::close(fd);
            return;
        }
        const qsizetype size = qsizetype(st.st_size);
        void* mapped =
            ::mmap(nullptr, std::size_t(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        ::close(fd);
        if (mapped == MAP_FAILED)
            return;
        data_ = static_cast<const uchar*>(mapped);
        size_ = std::size_t(size);
        end_ = data_ + size - 8;
        const uchar* sumAt = end_;
        if (XXH3_64bits(data_, std::size_t(size - 8)) != qFromLittleEndian<std::uint64_t>(sumAt))
            return;
        Reader r(data_, size - 8);
        if (r.bytes(sizeof Magic) != std::string_view(Magic, sizeof Magic) ||
            r.number<std::uint32_t>() != Version)
            return;
        const std::uint32_t count = r.number<std::uint32_t>();
        const std::uint64_t device = r.number<std::uint64_t>();
        const std::uint64_t inode = r.number<std::uint64_t>();
        const std::string_view folderPath = r.bytes(r.number<std::uint16_t>());
        if (r.failed() || device != folder.device || inode != folder.inode ||
            folderPath !=
                std::string_view(folder.path.constData(), std::size_t(folder.path.size())))
            return;
        // A count beyond what the file holds is damage.
        if (count > std::uint64_t(size) / MinEntrySize)
            return;
        entries_.reserve(count);
        for (std::uint32_t i = 0; i < count && !r.failed(); ++i) {
            entries_.push_back(std::uint32_t(r.position() - data_));
            skipEntry(r);
        }
        if (r.failed() || r.position() != sumAt) {
            entries_.clear();
            return;
        }
        valid_ = true;
        // Checked: its pages are given back, and mapped again as the scan takes the entries.
        giveAllBack();
    }

    ~LoadedIndex() {
        if (data_)
            ::munmap(const_cast<uchar*>(data_), size_);
    }
    LoadedIndex(const LoadedIndex&) = delete;
    LoadedIndex& operator=(const LoadedIndex&) = delete;

    bool valid() const { return valid_; }
    int count() const { return int(entries_.size()); }

    // The position of the entry named name, or -1.
    int find(std::string_view name) {
        if (next_ < entries_.size() && nameAt(next_) == name)
            return int(next_++);
        if (byName_.empty() && !entries_.empty()) {
            byName_.reserve(entries_.size());
            for (std::size_t i = 0; i < entries_.size(); ++i)
                byName_.try_emplace(nameAt(i), std::uint32_t(i));
            giveAllBack();
        }
        const auto it = byName_.find(name);
        if (it == byName_.end())
            return -1;
        next_ = it->second + 1;
        return int(it->second);
    }

    // The entry at position i into o, its folded purpose appended to purposes.
    void take(int i, FolderOrder& o, std::string& purposes) {
        Reader r = readerAt(i);
        std::string_view purpose;
        readEntry(r, o, &purpose);
        o.purposeAt = std::uint32_t(purposes.size());
        o.purposeSize = std::uint8_t(purpose.size());
        purposes.append(purpose);
        purposes.push_back(PurposeEnd);
        o.settled = true;
        // The entries are mostly taken in the order of the file: the pages behind are given
        // back a few megabytes at a time, so that the index never doubles the memory of the
        // orders it fills.
        if (const std::size_t at = entries_[std::size_t(i)]; at >= behind_ + (4 << 20))
            giveBackBefore(at);
    }

    // The stamp of the entry at position i.
    FileStamp stamp(int i) const {
        Reader r = readerAt(i);
        r.bytes(r.number<std::uint8_t>());
        return readStamp(r);
    }

private:
    Reader readerAt(int i) const {
        const uchar* at = data_ + entries_[std::size_t(i)];
        return Reader(at, end_ - at);
    }

    static FileStamp readStamp(Reader& r) {
        FileStamp s;
        s.size = PlatFileSize;
        s.unchangedBefore = r.number<std::int64_t>();
        if (s.unchangedBefore == 0) {
            s.modifiedNs = r.number<std::int64_t>();
            s.changedNs = r.number<std::int64_t>();
            s.inode = r.number<std::uint64_t>();
        }
        return s;
    }

    // Passes over an entry, checking only that each text fits its field.
    static void skipEntry(Reader& r) {
        skipText(r, decltype(FolderOrder::name)::capacity);
        if (r.number<std::int64_t>() == 0)
            r.bytes(OwnStampSize);
        skipText(r, decltype(FolderOrder::number)::capacity);
        skipText(r, decltype(FolderOrder::date)::capacity);
        skipText(r, decltype(FolderOrder::amount)::capacity);
        skipText(r, decltype(FolderOrder::payerInn)::capacity);
        skipText(r, decltype(FolderOrder::payeeInn)::capacity);
        r.bytes(1); // accepted
        skipText(r, 255);
        r.bytes(KeysSize);
    }
    static void skipText(Reader& r, std::size_t capacity) {
        const std::size_t n = r.number<std::uint8_t>();
        if (n > capacity)
            r.fail();
        r.bytes(n);
    }

    static void readEntry(Reader& r, FolderOrder& o, std::string_view* purpose = nullptr) {
        r.text(o.name);
        o.stamp = readStamp(r);
        r.text(o.number);
        r.text(o.date);
        r.text(o.amount);
        r.text(o.payerInn);
        r.text(o.payeeInn);
        o.accepted = r.number<std::uint8_t>();
        const std::string_view p = r.bytes(r.number<std::uint8_t>());
        if (purpose)
            *purpose = p;
        o.unread = false;
        OrderKeys& k = o.keys;
        k.nameFits = r.number<std::uint8_t>() != 0;
        k.parts = {r.number<std::uint8_t>(), r.number<std::uint8_t>(), r.number<std::uint8_t>(),
                   r.number<std::uint8_t>(), r.number<std::uint8_t>(), r.number<std::uint8_t>()};
        k.year = r.number<std::uint32_t>();
        k.number = r.number<std::uint32_t>();
        k.innAndYear = r.number<std::uint64_t>();
        k.dateKey = r.number<std::uint32_t>();
        k.kopecks = r.number<std::int64_t>();
    }

    // Gives the pages of the index back to the system: they are still the file's (mapped
    // again when read), but no longer the program's memory. The entries taken from then on
    // give back the pages behind them.
    void giveAllBack() {
        ::madvise(const_cast<uchar*>(data_), size_, MADV_DONTNEED);
        behind_ = 0;
    }
    void giveBackBefore(std::size_t offset) {
        const std::size_t to =
            offset / std::size_t(::sysconf(_SC_PAGESIZE)) * std::size_t(::sysconf(_SC_PAGESIZE));
        if (to > behind_) {
            ::madvise(const_cast<uchar*>(data_) + behind_, to - behind_, MADV_DONTNEED);
            behind_ = to;
        }
    }

    std::string_view nameAt(std::size_t i) const {
        const uchar* at = data_ + entries_[i];
        return {reinterpret_cast<const char*>(at + 1), std::size_t(at[0])};
    }

    const uchar* data_ = nullptr;
    std::size_t size_ = 0;
    const uchar* end_ = nullptr;         // where the entries end and the checksum begins
    std::vector<std::uint32_t> entries_; // offsets of the entries in data_
    std::size_t next_ = 0;
    std::size_t behind_ = 0; // where the pages to give back next start
    std::unordered_map<std::string_view, std::uint32_t> byName_;
    bool valid_ = false;
};

// The value of a text of digits.
std::uint32_t digitsValue(std::string_view digits) {
    std::uint32_t v = 0;
    for (char c : digits)
        v = v * 10 + std::uint32_t(c - '0');
    return v;
}

// yyyymmdd of a date written dd.mm.yyyy; 0 for any other text.
std::uint32_t dateKeyOf(std::string_view date) {
    if (date.size() != 10 || date[2] != '.' || date[5] != '.' || !isDigits(date.substr(0, 2)) ||
        !isDigits(date.substr(3, 2)) || !isDigits(date.substr(6, 4)))
        return 0;
    return digitsValue(date.substr(6, 4)) * 10000 + digitsValue(date.substr(3, 2)) * 100 +
           digitsValue(date.substr(0, 2));
}

// The keys of the record's date and amount.
void takeRecordKeys(FolderOrder& o) {
    o.keys.dateKey = dateKeyOf(o.date.view());
    const std::optional<Money> amount = Money::parseLenient(o.amount.view());
    o.keys.kopecks = amount ? amount->kopecks() : -1;
}

// Asks the system to back a large buffer with huge pages where it can: the orders of a large
// archive fill tens of megabytes, which in pages of 4 KB cost ten thousand page faults.
void preferHugePages(void* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t Huge = 2 << 20;
    const std::uintptr_t from = (std::uintptr_t(data) + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t to = (std::uintptr_t(data) + size) & ~(Huge - 1);
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

// The status of the open file fd. The C library's fstat asks the kernel through fstatat with
// an empty path, which the kernel copies and checks first; the system's own fstat call, where
// it has one with the library's layout of the status, goes straight to the file (about a
// tenth of the cost of a first start, which asks a hundred thousand files).
int statusOf(int fd, struct stat& st) {
#if defined(__x86_64__) && defined(SYS_fstat)
    return int(::syscall(SYS_fstat, fd, &st));
#else
    return ::fstat(fd, &st);
#endif
}

// Where the fields the list takes from a record begin: the bytes before (the payer's name,
// accounts and bank) are never read.
constexpr std::size_t ListedFrom = offsetof(OrderRecord, payerInn);
static_assert(ListedFrom <= offsetof(OrderRecord, payeeInn) &&
              ListedFrom <= offsetof(OrderRecord, number) &&
              ListedFrom <= offsetof(OrderRecord, purpose));

// Reads the order file name of the open folder dirFd with plain system calls: a start
// without an index reads a hundred thousand of them. Only the bytes of a record from
// ListedFrom on are read, into the same place of data, and size is set to the size of the
// record read (ListedFrom and the bytes read). With unchangedBefore, the file is opened and
// read only (its stamp is its size and unchangedBefore, see FileStamp) unless it is not a
// record's size; otherwise, and then, its status gives the stamp and the size, and a file of
// another size is not read. Returns 0, or the system's error number; -1 for a file that is
// not a regular one.
int readOrder(int dirFd, const char* name, std::int64_t unchangedBefore, FileStamp& stamp,
              char (&data)[PlatFileSize + 1], qint64& size) {
    const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno;
    constexpr qint64 Tail = PlatFileSize - qint64(ListedFrom);
    int error = 0;
    // One read of one byte more than a record's tail: a regular file gives all it holds up to
    // that, so exactly the tail is a record's size (a file too long gives one byte more), and
    // the read that would find the end costs no second call. Anything else (a short read, an
    // error) is looked at through the file's status below.
    if (unchangedBefore != 0 &&
        ::pread(fd, data + ListedFrom, std::size_t(Tail + 1), off_t(ListedFrom)) == Tail) {
        ::close(fd);
        stamp = {PlatFileSize, 0, 0, 0, unchangedBefore};
        size = PlatFileSize;
        return 0;
    }
    struct stat st;
    if (statusOf(fd, st) != 0) {
        error = errno;
        ::close(fd);
        return error;
    }
    stamp = stampOf(st);
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = st.st_size;
    if (size == PlatFileSize)
        size =
            qint64(ListedFrom) + readUpTo(fd, data + ListedFrom, Tail, error, qint64(ListedFrom));
    ::close(fd);
    return error;
}

// Copies the field of type T at offset from the bytes of a record.
template <class T> void field(T& out, const char* record, std::size_t offset) {
    std::memcpy(&out, record + offset, sizeof(T));
}

// Takes what the list needs from the bytes of an order's record, field by field: the rest of
// the record is never copied.
void takeRecord(const char* data, FolderOrder& o, std::string& purposes) {
    field(o.number, data, offsetof(OrderRecord, number));
    field(o.date, data, offsetof(OrderRecord, date));
    field(o.amount, data, offsetof(OrderRecord, amount));
    field(o.payerInn, data, offsetof(OrderRecord, payerInn));
    field(o.payeeInn, data, offsetof(OrderRecord, payeeInn));
    field(o.accepted, data, offsetof(OrderRecord, accepted));
    // The purpose is folded where it lands among the purposes.
    const char* purpose = data + offsetof(OrderRecord, purpose);
    static_assert(decltype(OrderRecord::purpose)::capacity == 255);
    const std::size_t size = std::uint8_t(purpose[0]);
    o.purposeAt = std::uint32_t(purposes.size());
    o.purposeSize = std::uint8_t(size);
    purposes.append(purpose + 1, size);
    purposes.push_back(PurposeEnd);
    char* folded = purposes.data() + o.purposeAt;
    cp1251::foldForSearch(std::string_view(folded, size), folded);
}

// Writes the index's bytes through a buffer of its own into the device, and its checksum
// over them, so that an index of any size takes one small buffer of memory.
class Writer {
public:
    explicit Writer(QIODevice& out) : out_(out), buffer_(1 << 20), state_(XXH3_createState()) {
        XXH3_64bits_reset(state_);
    }
    ~Writer() { XXH3_freeState(state_); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Room for n more bytes (an entry at most) in the buffer.
    void reserve(std::size_t n) {
        if (buffer_.size() - used_ < n)
            flush();
    }
    template <class T> void number(T value) {
        qToLittleEndian(value, buffer_.data() + used_);
        used_ += sizeof(T);
    }
    void bytes(std::string_view s) {
        std::memcpy(buffer_.data() + used_, s.data(), s.size());
        used_ += s.size();
    }
    void text(std::string_view s) {
        number(std::uint8_t(s.size()));
        bytes(s);
    }
    // Writes what is buffered, then the checksum of everything written.
    bool finish() {
        flush();
        number(std::uint64_t(XXH3_64bits_digest(state_)));
        return write();
    }

private:
    void flush() {
        XXH3_64bits_update(state_, buffer_.data(), used_);
        ok_ = write() && ok_;
    }
    bool write() {
        const bool done = out_.write(buffer_.data(), qint64(used_)) == qint64(used_);
        used_ = 0;
        return done && ok_;
    }

    QIODevice& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    XXH3_state_t* state_;
    bool ok_ = true;
};

// The size of the entry of o, its purpose purposeSize bytes long.
std::size_t entrySize(const FolderOrder& o) {
    return 1 + o.name.size() + 8 + (o.stamp.unchangedBefore == 0 ? OwnStampSize : 0) + 5 +
           o.number.size() + o.date.size() + o.amount.size() + o.payerInn.size() +
           o.payeeInn.size() + 1 + 1 + o.purposeSize + KeysSize;
}

// Reads the order file name of the open folder dirFd (path dir) into o, with read when given
// (its stamp then from a status call), without asking its status when unchangedBefore is
// given (readOrder). False, with the reason in problem, for a file that cannot be read whole
// or is not a record's size.
bool readInto(int dirFd, const char* name, const QString& dir, ReadFileFn read,
              std::int64_t unchangedBefore, FolderOrder& o, std::string& purposes,
              QString& problem) {
    char data[PlatFileSize + 1];
    qint64 size = 0;
    bool readable = true;
    if (read) {
        if (struct stat st{}; ::fstatat(dirFd, name, &st, 0) == 0)
            o.stamp = stampOf(st);
        QByteArray bytes;
        const IoResult r = read(dir + QFile::decodeName(name), bytes, PlatFileSize + 1);
        size = bytes.size();
        std::memcpy(data, bytes.constData(), std::size_t(std::min<qint64>(size, sizeof data)));
        if (!r) {
            readable = false;
            problem = r.reason.isEmpty() ? QStringLiteral("не читается") : r.reason;
        }
    } else if (const int error = readOrder(dirFd, name, unchangedBefore, o.stamp, data, size);
               error != 0) {
        readable = false;
        problem = error < 0 ? notRegularReason() : systemReason(error);
    }
    if (!readable || size != PlatFileSize) {
        o.unread = true;
        // A file longer than a record tells its size by its status.
        if (readable)
            problem = wrongSizeReason(size > PlatFileSize ? o.stamp.size : size, PlatFileSize);
        return false;
    }
    takeRecord(data, o, purposes);
    takeRecordKeys(o);
    return true;
}

} // namespace

void takeNameKeys(FolderOrder& o) {
    OrderKeys& k = o.keys;
    const std::uint32_t dateKey = k.dateKey;
    const std::int64_t kopecks = k.kopecks;
    k = OrderKeys{};
    k.dateKey = dateKey;
    k.kopecks = kopecks;
    const std::string_view name = o.name.view();
    if (name.size() <= 5 || name.size() > 28)
        return;
    // One pass over the name: where each group of digits starts, its size and its value (of
    // the INN its first 12 digits, below 2^40).
    const char* const begin = name.data();
    const char* const end = begin + name.size() - 5;
    const char* p = begin;
    std::uint8_t at[3] = {}, size[3] = {};
    std::uint64_t value[3] = {};
    for (int group = 0; group < 3; ++group) {
        while (p != end && *p == '_')
            ++p;
        if (p == end)
            return;
        const char* const start = p;
        std::uint64_t v = 0;
        for (; p != end && *p != '_'; ++p) {
            const unsigned digit = unsigned(*p) - '0';
            if (digit > 9)
                return;
            if (p - start < 12)
                v = v * 10 + digit;
        }
        at[group] = std::uint8_t(start - begin);
        size[group] = std::uint8_t(p - start);
        value[group] = v;
    }
    while (p != end && *p == '_')
        ++p;
    if (p != end)
        return; // a fourth group, or a character that is neither a digit nor "_"
    if (size[0] > 5 || size[2] > 4)
        return;
    k.nameFits = true;
    k.parts = {at[0], size[0], at[1], size[1], at[2], size[2]};
    k.number = std::uint32_t(value[0]);
    // "20" followed by the year's digits.
    constexpr std::uint32_t Shift[5] = {1, 10, 100, 1000, 10000};
    k.year = 20 * Shift[size[2]] + std::uint32_t(value[2]);
    k.innAndYear = value[1] << 14 | value[2];
}

bool readFolderOrder(const QString& folder, std::string_view name, FolderOrder& out,
                     std::string& purposes, QString& problem) {
    out = {};
    problem.clear();
    const int dirFd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return false;
    const std::string cname(name);
    struct stat st {};
    const bool exists = ::fstatat(dirFd, cname.c_str(), &st, 0) == 0;
    if (exists) {
        out.name.assign(name);
        takeNameKeys(out);
        readInto(dirFd, cname.c_str(), folder.endsWith(u'/') ? folder : folder + u'/', nullptr, 0,
                 out, purposes, problem);
    }
    ::close(dirFd);
    return exists;
}

IoResult scanOrderFolder(const QString& folder, const QString& indexPath,
                         const OrderScanOptions& options, OrderFolderScan& out) {
    out = {};
    if (IoResult r = checkFolderReadable(folder); !r)
        return r;
    const std::int64_t settledBefore = nowNs() - options.settleNs;
    // A scan for the index reads files without asking their status (FileStamp).
    const std::int64_t unchangedBefore =
        indexPath.isEmpty() || options.read ? 0 : std::max<std::int64_t>(settledBefore, 1);
    LoadedIndex index(indexPath, identityOf(folder));
    // Room for every order at once, so that a hundred thousand are never copied to grow: as
    // many as the index holds, or as the folder's size allows (each name takes at least 20
    // bytes of it). Room that is not filled costs address space, not memory.
    std::size_t expected = std::size_t(index.count());
    if (struct stat st{}; ::stat(QFile::encodeName(folder).constData(), &st) == 0)
        expected = std::max(expected, std::size_t(std::max<off_t>(st.st_size, 0)) / 20);
    out.orders.reserve(expected + 16);
    out.purposes.reserve((expected + 16) * 256);
    preferHugePages(out.orders.data(), out.orders.capacity() * sizeof(FolderOrder));
    preferHugePages(out.purposes.data(), out.purposes.capacity());
    const QString dir = folder.endsWith(u'/') ? folder : folder + u'/';
    int fromIndex = 0;
    int readSettled = 0;
    forEachFolderFile(dir, options.extension, [&](const char* cname, int dirFd) {
        const std::string_view name(cname);
        if (name.size() > decltype(FolderOrder::name)::capacity ||
            (options.fits && !options.fits(name)))
            return true;
        FolderOrder& o = out.orders.emplace_back();
        o.name.assign(name);
        if (const int at = index.valid() ? index.find(name) : -1; at >= 0) {
            struct stat st;
            if (::fstatat(dirFd, cname, &st, 0) == 0 && S_ISREG(st.st_mode) &&
                stampHolds(index.stamp(at), st)) {
                index.take(at, o, out.purposes);
                // The file's own stamp from now on: it tells this state of the file exactly.
                o.stamp = stampOf(st);
                ++fromIndex;
                return true;
            }
        }
        ++out.filesRead;
        takeNameKeys(o);
        QString problem;
        if (!readInto(dirFd, cname, dir, options.read, unchangedBefore, o, out.purposes, problem)) {
            out.problems.emplace_back(out.orders.size() - 1, problem);
            return true;
        }
        o.settled = o.stamp.unchangedBefore != 0 ||
                    (o.stamp.modifiedNs < settledBefore && o.stamp.changedNs < settledBefore);
        readSettled += o.settled ? 1 : 0;
        return true;
    });
    out.indexCurrent = index.valid() ? fromIndex == index.count() && readSettled == 0
                                     : out.orders.empty() && !QFileInfo::exists(indexPath);
    return {};
}

IoResult writeOrderIndex(const QString& indexPath, const QString& folder,
                         const OrderFolderScan& scan) {
    const FolderIdentity id = identityOf(folder);
    if (!id.known)
        return IoResult::failure(
            fileMessage(QStringLiteral("Не могу прочитать папку"), folder, systemReason(ENOENT)));
    // Every order read whole whose stamp can be trusted (a file read whole is a record's size).
    const auto indexed = [](const FolderOrder& o) {
        return o.settled && !o.unread && o.stamp.size == PlatFileSize;
    };
    std::uint32_t count = 0;
    for (const FolderOrder& o : scan.orders)
        count += indexed(o) ? 1 : 0;
    // A cache: replaced whole, without waiting for the disk (a cut or stale index is only
    // rebuilt).
    return writeFileAtomic(
        indexPath,
        [&](QIODevice& device) {
            Writer w(device);
            w.reserve(std::size_t(FixedHeaderSize) + std::size_t(id.path.size()));
            w.bytes(std::string_view(Magic, sizeof Magic));
            w.number(Version);
            w.number(count);
            w.number(id.device);
            w.number(id.inode);
            w.number(std::uint16_t(id.path.size()));
            w.bytes(std::string_view(id.path.constData(), std::size_t(id.path.size())));
            for (const FolderOrder& o : scan.orders) {
                if (!indexed(o))
                    continue;
                w.reserve(entrySize(o));
                w.text(o.name.view());
                w.number(o.stamp.unchangedBefore);
                if (o.stamp.unchangedBefore == 0) {
                    w.number(o.stamp.modifiedNs);
                    w.number(o.stamp.changedNs);
                    w.number(o.stamp.inode);
                }
                w.text(o.number.view());
                w.text(o.date.view());
                w.text(o.amount.view());
                w.text(o.payerInn.view());
                w.text(o.payeeInn.view());
                w.number(o.accepted);
                w.text(scan.purpose(o));
                const OrderKeys& k = o.keys;
                w.number(std::uint8_t(k.nameFits));
                for (const std::uint8_t b : {k.parts.numberAt, k.parts.numberSize, k.parts.innAt,
                                             k.parts.innSize, k.parts.yearAt, k.parts.yearSize})
                    w.number(b);
                w.number(k.year);
                w.number(k.number);
                w.number(k.innAndYear);
                w.number(k.dateKey);
                w.number(k.kopecks);
            }
            return w.finish() ? IoResult{} : IoResult::failure(QString());
        },
        Durability::Cache);
}

} // namespace storage
