// libFuzzer target for the plan of a change cut off: whatever a plan file
// holds, every step it yields lies inside the data folder's own places,
// and a plan whose checksum does not match yields none.
#include "voice/StagedChange.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const kel::BackupPlaces &places()
{
    // A real folder, as the plan's places are resolved on the disk.
    static const kel::BackupPlaces p = [] {
        const QString root = QDir::tempPath() + QStringLiteral("/fuzz-staging-plan");
        QDir().mkpath(root + QStringLiteral("/data/voice/takes"));
        QDir().mkpath(root + QStringLiteral("/config"));
        return kel::BackupPlaces{root + QStringLiteral("/data"), root + QStringLiteral("/config/Talk.ini")};
    }();
    return p;
}

bool inside(const QString &path, const QString &folder)
{
    return path.startsWith(folder + QLatin1Char('/')) && !path.contains(QLatin1String("/../"))
           && !path.endsWith(QLatin1String("/.."));
}

void check(const QByteArray &plan)
{
    const std::optional<QList<kel::PlanStep>> steps = kel::readPlan(plan, places());
    if (!steps)
        return;
    for (const kel::PlanStep &step : *steps)
        if (step.target != places().iniPath && !inside(step.target, places().dataFolder))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    check(bytes);
    // The same lines signed as the program signs them, so that the checks
    // behind the checksum are reached too.
    const QByteArray body = bytes.endsWith('\n') ? bytes : bytes + '\n';
    check(body + "end\t" + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + '\n');
    return 0;
}
