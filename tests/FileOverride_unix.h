// FileOverride_unix: takes from root, for a while, the capabilities that let it write any file, so that
// write protection holds for the tests that root runs.
#pragma once

#include <QFile>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace TestSupport {

/// While it lives, this thread lacks the capabilities that let root write any file (as under setpriv
/// without dac_override), so that write protection holds for root too.
struct WithoutFileOverride
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct old[2] {};
    WithoutFileOverride()
    {
        syscall(SYS_capget, &header, old);
        __user_cap_data_struct lowered[2] = { old[0], old[1] };
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header, lowered);
    }
    ~WithoutFileOverride() { syscall(SYS_capset, &header, old); }
    /// Whether the file may still be written (some kernels let root write anyway).
    static bool Writable(const QString &path)
    {
        return faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
    }
};

} // namespace TestSupport
