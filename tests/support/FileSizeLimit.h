#pragma once
// A disk that is "full" after a number of bytes per file, for as long as the object lives: the
// process's file size limit, with the signal the limit raises ignored so that writes fail instead.
#include <sys/resource.h>

#include <csignal>

namespace tirmo::test {

class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tiny = old_;
        tiny.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
    bool ok() const { return ok_; }

private:
    struct rlimit old_ {};
    void (*oldSignal_)(int) = nullptr;
    bool ok_ = false;
};

}  // namespace tirmo::test
