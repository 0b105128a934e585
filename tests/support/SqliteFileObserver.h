#pragma once

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

// Watches every file SQLite opens in this process, through a file system layer put in front
// of the default one: how many bytes it wrote (temporary files included) and, on request, how
// slowly it reads database files, as from a slow disk.
namespace quorva::test {

class SqliteFileObserver {
public:
    // Installs the observer as the default file system layer once; later calls return it.
    static SqliteFileObserver& install()
    {
        static SqliteFileObserver observer;
        return observer;
    }

    [[nodiscard]] int64_t bytesWritten() const { return m_written.load(); }
    // Every read of a database opened read-only (as backups are) waits this long first; zero
    // reads at full speed.
    void setReadDelay(std::chrono::microseconds delay) { m_readDelay = delay.count(); }

private:
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
        bool slowed;
    };

    SqliteFileObserver()
    {
        m_real = sqlite3_vfs_find(nullptr);
        m_vfs = *m_real;
        m_vfs.zName = "quorva-observed";
        m_vfs.pAppData = this;
        m_vfs.szOsFile = static_cast<int>(sizeof(File)) + m_real->szOsFile;
        m_vfs.xOpen = &open;
        m_methods = sqlite3_io_methods{};
        m_methods.iVersion = 2;
        // Every other call goes straight to the real file.
#define QUORVA_FORWARD(call)                                                                                 \
    m_methods.call = [](sqlite3_file* f, auto... rest) { return real(f)->pMethods->call(real(f), rest...); }
        QUORVA_FORWARD(xClose);
        QUORVA_FORWARD(xTruncate);
        QUORVA_FORWARD(xSync);
        QUORVA_FORWARD(xFileSize);
        QUORVA_FORWARD(xLock);
        QUORVA_FORWARD(xUnlock);
        QUORVA_FORWARD(xCheckReservedLock);
        QUORVA_FORWARD(xFileControl);
        QUORVA_FORWARD(xSectorSize);
        QUORVA_FORWARD(xDeviceCharacteristics);
        // Write-ahead-log databases need the shared-memory calls too.
        QUORVA_FORWARD(xShmMap);
        QUORVA_FORWARD(xShmLock);
        QUORVA_FORWARD(xShmBarrier);
        QUORVA_FORWARD(xShmUnmap);
#undef QUORVA_FORWARD
        m_methods.xRead = [](sqlite3_file* f, void* out, int amount, sqlite3_int64 offset) {
            const auto delay = self().m_readDelay.load();
            if (delay > 0 && reinterpret_cast<File*>(f)->slowed)
                std::this_thread::sleep_for(std::chrono::microseconds(delay));
            return real(f)->pMethods->xRead(real(f), out, amount, offset);
        };
        m_methods.xWrite = [](sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
            self().m_written += amount;
            return real(f)->pMethods->xWrite(real(f), data, amount, offset);
        };
        sqlite3_vfs_register(&m_vfs, 1);
    }

    static SqliteFileObserver& self()
    {
        return install();
    }
    static sqlite3_file* real(sqlite3_file* f)
    {
        return reinterpret_cast<File*>(f)->real;
    }

    static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* f, int flags, int* outFlags)
    {
        auto& observer = *static_cast<SqliteFileObserver*>(vfs->pAppData);
        auto* file = reinterpret_cast<File*>(f);
        file->real = reinterpret_cast<sqlite3_file*>(file + 1);
        file->slowed = (flags & SQLITE_OPEN_MAIN_DB) != 0 && (flags & SQLITE_OPEN_READONLY) != 0;
        file->base.pMethods = nullptr;
        const int rc = observer.m_real->xOpen(observer.m_real, name, file->real, flags, outFlags);
        if (file->real->pMethods != nullptr)
            file->base.pMethods = &observer.m_methods; // SQLite closes what it was handed back
        return rc;
    }

    sqlite3_vfs* m_real = nullptr;
    sqlite3_vfs m_vfs{};
    sqlite3_io_methods m_methods{};
    std::atomic<int64_t> m_written{0};
    std::atomic<int64_t> m_readDelay{0};
};

} // namespace quorva::test
