#include "fuzz_support.h"
#include "show/list_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace lumetta;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Files in memory where the system has a memory file system: no disk writes per input.
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/lumetta-fuzz-XXXXXX") : QString());
    const ListFiles files(dir.path());
    const QByteArray bytes = fuzz::Bytes(data, size);
    for (const char *name : {ListFiles::kResumeFile, ListFiles::kStartDirFile, ListFiles::kRecentFile}) {
        QFile file(files.PathOf(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    files.ReadResume();
    files.ReadStartDir();
    files.WriteRecentFolders(files.ReadRecentFolders());
    return 0;
}
