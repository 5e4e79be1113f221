#pragma once

#include "recovery/process_identity.h"
#include "recovery/recovery_journal.h"

#include <QByteArray>

namespace quillory {

// The right to offer one copy that an earlier run left behind. Two programs
// starting at the same moment both find the copy; only the one holding the
// claim asks the user about it, the other passes it by. The claim is a lock the
// system takes back when its holder ends in any way, killed included, so a
// program that died while asking leaves nothing that hides the copy from the
// next start. The claim file names the holder, for whoever looks.
class RecoveryClaim {
public:
    // Claims `copy` for `me`. Where no lock can be made at all (a read-only
    // folder, a file system without locks) the copy is still offered, as it
    // would be without claims.
    static RecoveryClaim take(const RecoveryCopy &copy,
                              const ProcessIdentity &me = ProcessIdentity::current());

    RecoveryClaim() = default;
    RecoveryClaim(RecoveryClaim &&other) noexcept;
    RecoveryClaim &operator=(RecoveryClaim &&other) noexcept;
    RecoveryClaim(const RecoveryClaim &) = delete;
    RecoveryClaim &operator=(const RecoveryClaim &) = delete;
    ~RecoveryClaim();

    // False when another running program holds the claim: it is offering the copy.
    bool ours() const { return m_ours; }
    // True when the claim is held through a lock (not merely assumed).
    bool locked() const { return m_fd >= 0; }
    // Removes the claim file and gives the claim up. The destructor does it too.
    void release();

private:
    int m_fd = -1;
    bool m_ours = false;
    QByteArray m_path;
};

} // namespace quillory
