// Desktop entries as found under the applications folders, and the program
// their Exec line starts.
#include "platform/xdg/desktop_entries.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pw::platform;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto fields = parseDesktopEntry(text)) {
        (void)execProgram(fields->exec);
        (void)execProgram(fields->tryExec);
    }
    (void)execProgram(text);
    return 0;
}
