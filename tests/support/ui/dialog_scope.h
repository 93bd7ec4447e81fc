#pragma once
// The scripted dialog service of the screen tests.

#include <memory>

#include "platform/ui/dialogs.h"
#include "support/test_support.h"

namespace pb::test {

// Installs a ScriptedDialogs for the life of the object and gives access to it.
class ScriptedDialogScope {
public:
    ScriptedDialogScope();
    ~ScriptedDialogScope();
    ScriptedDialogs& dialogs() { return *dialogs_; }
    ScriptedDialogs* operator->() { return dialogs_; }

private:
    ScriptedDialogs* dialogs_;
    std::unique_ptr<DialogService> previous_;
};

}  // namespace pb::test
