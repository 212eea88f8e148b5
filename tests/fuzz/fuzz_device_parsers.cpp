// The disk, network, connection and per-process parsers of the counter
// backend over one input.
#include "platform/linux/cpu_parsers.h"
#include "platform/linux/network_parsers.h"
#include "platform/linux/process_parsers.h"
#include "platform/linux/storage_parsers.h"
#include "platform/linux/tcp_parsers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pw::platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)parseStatmResidentPages(text);
    (void)parseProcessIo(text);
    (void)parseCpuinfoMHz(text);
    (void)parseNetDev(text);
    for (std::string_view device : {"nvme0n1", "sda", "dm-0"})
        (void)parseDiskstats(text, device);
    (void)parseRootMount(text);
    // Escapes only ever shorten a text.
    if (decodeEscapes(text).size() > size)
        __builtin_trap();
    const std::vector<RouteRow> routes = parseRouteTable(text);
    if (const auto name = defaultRouteInterface(routes)) {
        const std::vector<std::uint32_t> local = parseFibTrieLocalAddresses(text);
        if (const auto address = interfaceAddress(routes, local, *name))
            (void)formatIPv4(*address);
    }
    for (const bool ipv6 : {false, true})
        for (const TcpConnection& connection : parseTcpTable(text, ipv6))
            (void)isLoopbackAddress(connection.remoteAddress);
    return 0;
}
