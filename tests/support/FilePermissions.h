#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quorva::test {

// While it lives, file permissions bind this thread even when it runs as root, as tests do in CI:
// an unreadable folder is then unreadable to the code under test too.
class FilePermissionsApply {
public:
    FilePermissionsApply()
    {
        m_ok = syscall(SYS_capget, &m_header, m_saved) == 0;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_ok = m_ok && syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~FilePermissionsApply()
    {
        if (m_ok)
            syscall(SYS_capset, &m_header, m_saved);
    }
    FilePermissionsApply(const FilePermissionsApply&) = delete;
    FilePermissionsApply& operator=(const FilePermissionsApply&) = delete;

    [[nodiscard]] bool applies() const { return m_ok; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_ok = false;
};

} // namespace quorva::test
