#include "support/ProcessLocale.h"

#include <clocale>
#include <cstdlib>
#include <stdexcept>

#include "platform/Locale.h"

namespace tirmo::test {

ScopedProcessLocale::ScopedProcessLocale(const std::string& name)
{
    const char* current = std::setlocale(LC_ALL, nullptr);
    cLocale_ = current ? current : "C";
    if (!std::setlocale(LC_ALL, name.c_str())) return;
    try {
        cppLocale_ = std::locale::global(std::locale(name.c_str()));
    } catch (const std::runtime_error&) {
        std::setlocale(LC_ALL, cLocale_.c_str());
        return;
    }
    if (const char* v = std::getenv("LC_ALL")) lcAll_ = v;
    ::setenv("LC_ALL", name.c_str(), 1);
    QLocale::setDefault(QLocale(QString::fromStdString(name)));
    platform::SetDecimalSeparator("");  // read from the environment again
    platform::SetUserCharset(std::nullopt);
    active_ = true;
}

ScopedProcessLocale::~ScopedProcessLocale()
{
    if (!active_) return;
    QLocale::setDefault(qtLocale_);
    if (lcAll_) ::setenv("LC_ALL", lcAll_->c_str(), 1);
    else ::unsetenv("LC_ALL");
    std::locale::global(cppLocale_);
    std::setlocale(LC_ALL, cLocale_.c_str());  // after the C++ global, which sets it too
    platform::SetDecimalSeparator("");
    platform::SetUserCharset(std::nullopt);
}

ScopedDecimalSeparator::ScopedDecimalSeparator(const std::string& separator)
{
    platform::SetDecimalSeparator(separator);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() { platform::SetDecimalSeparator(""); }

}  // namespace tirmo::test
