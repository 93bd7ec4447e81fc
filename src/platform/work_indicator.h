#pragma once
// The hourglass and the progress bar of long work. The editing code reports through
// Indicator(); the screens point it at their dialog service, and without screens (the
// command-line tool, the tests of the editing code) nothing is shown.

#include <memory>
#include <string>

namespace pb {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetValue(int value) = 0;
};

class WorkIndicator {
public:
    virtual ~WorkIndicator() = default;
    virtual void BeginBusy() = 0;  // hourglass on (nests)
    virtual void EndBusy() = 0;
    // A progress bar from 0 to `maximum`, shown while the returned object lives; nothing when
    // no bar is shown.
    virtual std::unique_ptr<ProgressSink> BeginProgress(const std::string& caption, int maximum) = 0;
};

WorkIndicator& Indicator();
// Points Indicator() at `indicator`, which the caller keeps alive (nullptr: a silent one).
void SetWorkIndicator(WorkIndicator* indicator);

// Shows the hourglass while it lives.
class BusyCursor {
public:
    BusyCursor() { Indicator().BeginBusy(); }
    ~BusyCursor() { Indicator().EndBusy(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace pb
