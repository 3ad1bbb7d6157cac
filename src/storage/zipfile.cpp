#include "zipfile.h"

#include <zip.h>

#include <algorithm>
#include <memory>

namespace storage {

namespace {

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct EntryCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

} // namespace

bool looksLikeZip(const QByteArray& bytes) {
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

bool unzipEntry(const QByteArray& zip, const QString& suffix, qint64 maxBytes, QByteArray& out,
                QString& error) {
    const QString unreadable = QStringLiteral("архив zip поврежден или не является архивом");
    zip_error_t ze;
    zip_error_init(&ze);
    // The buffer is only read; libzip does not free it (freep 0).
    zip_source_t* source =
        zip_source_buffer_create(zip.constData(), zip_uint64_t(zip.size()), 0, &ze);
    if (!source) {
        zip_error_fini(&ze);
        error = unreadable;
        return false;
    }
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &ze));
    zip_error_fini(&ze);
    if (!archive) {
        zip_source_free(source);
        error = unreadable;
        return false;
    }
    zip_int64_t found = -1;
    zip_uint64_t size = 0;
    const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), zip_uint64_t(i), 0, &st) != 0 || !st.name)
            continue;
        if (!QString::fromUtf8(st.name).endsWith(suffix, Qt::CaseInsensitive))
            continue;
        if (found >= 0) {
            error = QStringLiteral("в архиве больше одного файла %1").arg(suffix);
            return false;
        }
        found = i;
        size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    }
    if (found < 0) {
        error = QStringLiteral("в архиве нет файла %1").arg(suffix);
        return false;
    }
    if (size > zip_uint64_t(maxBytes)) {
        error = QStringLiteral("файл в архиве слишком велик");
        return false;
    }
    std::unique_ptr<zip_file_t, EntryCloser> entry(
        zip_fopen_index(archive.get(), zip_uint64_t(found), 0));
    if (!entry) {
        error = unreadable;
        return false;
    }
    // The size the archive states is only a first guess (a damaged or forged archive may claim
    // any size): reading goes on to the real end, and stops beyond maxBytes whatever the
    // archive said.
    constexpr zip_uint64_t FirstGuessLimit = 16 * 1024 * 1024;
    out.resize(qsizetype(std::min(size, FirstGuessLimit)));
    qint64 done = 0;
    for (;;) {
        if (done == out.size()) {
            if (done > maxBytes) {
                error = QStringLiteral("файл в архиве слишком велик");
                return false;
            }
            out.resize(
                qsizetype(std::min<qint64>(std::max<qint64>(done * 2, 64 * 1024), maxBytes + 1)));
        }
        const zip_int64_t n =
            zip_fread(entry.get(), out.data() + done, zip_uint64_t(out.size() - done));
        if (n < 0) {
            error = unreadable;
            return false;
        }
        if (n == 0)
            break;
        done += n;
    }
    out.resize(qsizetype(done));
    return true;
}

} // namespace storage
