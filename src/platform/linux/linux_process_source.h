#pragma once

#include "platform/process_source.h"
#include "platform/root_path.h"

#include <string>

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

    std::string m_procDir; // proc/
    std::string m_buffer;
    std::string m_path; // scratch for the table's per-process paths
    std::size_t m_lastProcessCount = 0;
};

} // namespace pw::platform
