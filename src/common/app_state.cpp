#include "common/app_state.h"

namespace pb {

AppState& App() {
    static AppState state;
    return state;
}

void SetAppDir(AppState& state, const std::string& appDir) {
    state.AppDir = appDir;
    if (state.AppDir.empty() || state.AppDir.back() != '/') state.AppDir += '/';
    state.ObjectFolder = state.AppDir + "TmpWorkC/";
    state.WorksFolder = state.AppDir + "A4HGK/";
}

}  // namespace pb
