#include "app/form/guard.h"

#include <new>
#include <stdexcept>

#include "app/form/dialogs.h"
#include "base/errors.h"

namespace glidtavla {

void RunGuarded(Dialogs& dialogs, const std::function<void()>& body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
        dialogs.ShowError("Out of memory: the file or the task is too large for this computer");
    } catch (const std::exception& error) {
        dialogs.ShowError(QString::fromUtf8(error.what()));
    }
}

void DeferredErrors::Run(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& error) {
        messages_ += (messages_.empty() ? "" : "\n") + std::string(error.what());
    }
}

void DeferredErrors::ThrowAny() const {
    if (!messages_.empty()) throw Error(messages_);
}

}  // namespace glidtavla
