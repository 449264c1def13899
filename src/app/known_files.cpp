#include "app/known_files.h"

#include <QFileInfo>

#include "app/form/dialogs.h"
#include "text/codec.h"

namespace glidtavla {

void KnownFiles::Remember(const std::string& path) {
    if (const std::optional<FileStamp> stamp = StampOf(path)) known_[path] = *stamp;
}

bool KnownFiles::MayReplace(Dialogs& dialogs, std::string& path) const {
    const std::optional<FileStamp> stamp = StampOf(path);
    // Nothing there, or nothing a file can be written over: the write says what it finds.
    if (!stamp || !IsRegularFile(path)) return true;
    const auto known = known_.find(path);
    if (known != known_.end() && known->second == *stamp) return true;
    const std::string beside = FreeNameBeside(path);
    switch (dialogs.AskToReplace(QFileInfo(Shown(path)).fileName(),
                                 QFileInfo(Shown(beside)).fileName())) {
        case ReplaceChoice::Replace:
            return true;
        case ReplaceChoice::SaveBeside:
            path = beside;
            return true;
        case ReplaceChoice::Cancel:
            return false;
    }
    return false;
}

}  // namespace glidtavla
