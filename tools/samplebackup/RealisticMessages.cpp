#include "SampleBackup.h"

namespace quorva::samples {

SampleBackupSpec realisticBackup(Instant now, int incoming, double candidateShare, uint32_t seed)
{
    (void)candidateShare;
    (void)seed;
    SampleBackupSpec spec;
    spec.lastBackupDate = now;
    spec.statusDate = now;
    for (int i = 0; i < incoming; ++i) {
        SampleMessage m;
        m.text = "Hello there number " + std::to_string(i);
        m.sender = "+15555550123";
        m.date = Instant{now.unixSeconds - 60.0 * (i + 1)};
        spec.messages.push_back(m);
    }
    return spec;
}

} // namespace quorva::samples
