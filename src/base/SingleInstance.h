#pragma once
// One running copy per user. The lock lives in the user's runtime folder;
// a lock left by a killed copy is recognised by its dead process and taken over.

#include <QLockFile>
#include <memory>

namespace kel {

class SingleInstance {
public:
    // True when this is the only running copy; the lock is held until destruction.
    bool acquire();
    static QString lockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace kel
