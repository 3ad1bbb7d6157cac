// The lock of a program folder: one program at a time works in it. The lock is a file in the
// folder itself (QLockFile), so it holds between computers that share the folder on a network
// drive. A lock left behind by a program that crashed or was killed is taken over.
#pragma once

#include <QLockFile>
#include <QString>

namespace storage {

class FolderLock {
public:
    // The name of the lock file in the program folder.
    static QString fileName();

    explicit FolderLock(const QString& programDir);
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Releases the lock (the lock file is removed) when it was taken.
    ~FolderLock() = default;

    enum class State {
        Taken,      // this program holds the folder
        Held,       // another running program holds it
        Unavailable // no lock can be made here (no right to write the folder, a folder or a
                    // FIFO in the lock file's place, a lock file that cannot be read): see
                    // problem()
    };
    State acquire();

    // For Unavailable: what stands in the way, naming the lock file ("файл блокировки
    // PATH: Нет доступа").
    QString problem() const { return problem_; }

    // For Held: who holds the folder, as far as the lock file tells: "компьютер ИМЯ, процесс
    // PID (ПРОГРАММА)"; empty when it tells nothing.
    QString holder() const;

private:
    State unavailable(const QString& reason);

    QString path_;
    QLockFile lock_;
    QString problem_;
};

} // namespace storage
