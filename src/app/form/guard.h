#pragma once

#include <functional>
#include <string>

namespace glidtavla {

// Runs a handler's body; an error ends it and is shown in the message box. Every Qt handler
// runs through the window's one guard.
using Guard = std::function<void(const std::function<void()>&)>;

class Dialogs;
// The guard itself: runs body, and shows an error it ends with in the message box.
void RunGuarded(Dialogs& dialogs, const std::function<void()>& body);

// Steps that each may fail, the others going on: what failed is said once, after all of them.
class DeferredErrors {
  public:
    void Run(const std::function<void()>& step);
    // Throws an Error of every failure's message, a line each, when there was any.
    void ThrowAny() const;

  private:
    std::string messages_;
};

}  // namespace glidtavla
