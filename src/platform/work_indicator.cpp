#include "platform/work_indicator.h"

namespace pb {

namespace {

class SilentIndicator : public WorkIndicator {
public:
    void BeginBusy() override {}
    void EndBusy() override {}
    std::unique_ptr<ProgressSink> BeginProgress(const std::string&, int) override { return nullptr; }
};

WorkIndicator*& Current() {
    static SilentIndicator silent;
    static WorkIndicator* current = &silent;
    return current;
}

}  // namespace

WorkIndicator& Indicator() { return *Current(); }

void SetWorkIndicator(WorkIndicator* indicator) {
    static SilentIndicator silent;
    Current() = indicator ? indicator : &silent;
}

}  // namespace pb
