#pragma once

#include "platform/linux/kernel_file.h"
#include "platform/process_source.h"
#include "platform/root_path.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pw::platform {

// The process table from /proc/<pid>/stat, and each process's executable,
// arguments, resident size and storage traffic. It shares nothing with the
// other sources, so one thread may sample processes while another runs the
// cycle.
class LinuxProcessSource : public ProcessSource {
public:
    explicit LinuxProcessSource(RootPath root);

    std::optional<std::vector<ProcessStat>> processTable() override;
    std::optional<std::string> executable(int pid) override;
    std::optional<std::vector<std::string>> arguments(int pid) override;
    long ticksPerSecond() override;
    ProcessResources resources(int pid) override;

private:
    std::string pidDir(int pid) const;
    std::optional<std::string_view> readStat(int procFd, int pid, std::string_view name);

    // Each process's stat stays open between readings and is read again with
    // pread: open, fstat and close were three of every four system calls of
    // the table, and the path lookup in /proc its dearest part. Capped, so
    // thousands of processes cannot use up the descriptors.
    static constexpr std::size_t kMaxKeptStatFiles = 512;
    struct KeptStat {
        KernelFile file;
        unsigned listing; // the last listing that saw the process
        // The listed processes' statm and io, read every round while they
        // stay in the list; given back when a round passes without them.
        std::optional<KernelFile> statm;
        std::optional<KernelFile> io;
        unsigned resourcesListing = 0;
    };
    std::optional<std::string_view> readResource(int pid, const char* name,
                                                 std::optional<KernelFile> KeptStat::*file);
    std::unordered_map<int, KeptStat> m_statFiles;
    unsigned m_listing = 0;

    std::string m_procDir; // proc/
    std::string m_buffer;
    std::string m_path; // scratch for the table's per-process paths
    std::size_t m_lastProcessCount = 0;
};

} // namespace pw::platform
