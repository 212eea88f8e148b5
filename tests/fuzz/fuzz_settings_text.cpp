// The settings file reader, and the writer's promise: what it writes reads
// back as the same entries.
#include "services/settings_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pw;
    const QMap<QString, QString> entries =
        parseSettingsText(QByteArrayView(reinterpret_cast<const char*>(data), size));
    if (parseSettingsText(settingsText(entries)) != entries)
        __builtin_trap();
    for (const QString& value : entries)
        (void)unquotedSettingsValue(value);
    return 0;
}
