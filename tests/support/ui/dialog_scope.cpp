#include "support/ui/dialog_scope.h"

namespace pb::test {

ScriptedDialogScope::ScriptedDialogScope() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs_ = scripted.get();
    previous_ = InstallDialogService(std::move(scripted));
}

ScriptedDialogScope::~ScriptedDialogScope() { InstallDialogService(std::move(previous_)); }

}  // namespace pb::test
