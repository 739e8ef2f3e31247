#pragma once
// Runs one test under a real locale of the process, as a user's desktop would start the program:
// the environment names it, and the C library's, the C++ library's and the toolkit's locales
// follow, as do the separators the program reads from the environment. Everything is put back
// when the guard goes.
#include <locale>
#include <optional>
#include <string>

#include <QLocale>

namespace tirmo::test {

class ScopedProcessLocale {
public:
    explicit ScopedProcessLocale(const std::string& name);
    ~ScopedProcessLocale();
    ScopedProcessLocale(const ScopedProcessLocale&) = delete;
    ScopedProcessLocale& operator=(const ScopedProcessLocale&) = delete;
    // False when this machine does not have the locale (nothing was switched).
    bool active() const { return active_; }

private:
    bool active_ = false;
    std::string cLocale_;
    std::locale cppLocale_;
    QLocale qtLocale_;
    std::optional<std::string> lcAll_;
};

// The program's decimal separator fixed for one test, whatever locale the suite runs under.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(const std::string& separator);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;
};

// The comma-decimal locale the tests switch to; the test scripts make sure it is installed.
inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

}  // namespace tirmo::test
