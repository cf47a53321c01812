// Another copy of the program holding a data file's write lock until
// release(): a child process in a write transaction over the file, opened
// shared or kept to itself.
#pragma once

#include "platform/KeyedFile.h"

#include <sys/wait.h>
#include <unistd.h>

namespace ven::test {

class FileLockHolder {
public:
    explicit FileLockHolder(const FileDef& def, KeyedFile::Mode mode = KeyedFile::Mode::Shared)
    {
        int up[2], down[2];
        if (pipe(up) != 0 || pipe(down) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(up[0]);
            close(down[1]);
            Store::instance().closeIdle();
            {
                Context ctx;
                KeyedFile& f = ctx.file(def);
                if (!f.open(mode))
                    _exit(2);
                WriteBatch hold(f);
                char c = 'L';
                if (write(up[1], &c, 1) != 1)
                    _exit(3);
                if (read(down[0], &c, 1) < 0)
                    _exit(4);
            }
            _exit(0);
        }
        close(up[1]);
        close(down[0]);
        release_ = down[1];
        char c;
        held_ = read(up[0], &c, 1) == 1;
        close(up[0]);
    }
    ~FileLockHolder() { release(); }
    FileLockHolder(const FileLockHolder&) = delete;
    FileLockHolder& operator=(const FileLockHolder&) = delete;
    bool held() const { return held_; }
    void release()
    {
        if (pid_ <= 0)
            return;
        close(release_);
        int status;
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }

private:
    pid_t pid_ = 0;
    int release_ = -1;
    bool held_ = false;
};

} // namespace ven::test
