#pragma once

#include <map>
#include <string>

#include "base/files.h"

namespace glidtavla {

class Dialogs;

// Files as this window last read or wrote them. One it did not, or that changed on disk since,
// is replaced only when the user says so: "Ersätt", the free name beside it, or "Avbryt".
class KnownFiles {
  public:
    void Remember(const std::string& path);
    // Whether path may be written; path becomes the free name beside it when that is chosen.
    bool MayReplace(Dialogs& dialogs, std::string& path) const;

  private:
    std::map<std::string, FileStamp> known_;
};

}  // namespace glidtavla
