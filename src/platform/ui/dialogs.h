#pragma once
// Message boxes, the one-line input box, the hourglass and progress, all through one
// service so that tests can script the answers and read back what was shown.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/work_indicator.h"

namespace pb {

// Message box results, with the values Windows gives them.
enum DialogResult { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };
enum class MessageButtons { Ok, YesNoCancel, YesNo };

// The service is also the work indicator of the editing code (platform/work_indicator.h).
class DialogService : public WorkIndicator {
public:
    virtual ~DialogService() = default;
    // Shows `text` with `caption` and returns the button pressed.
    virtual int MessageBox(const std::string& text, const std::string& caption,
                           MessageButtons buttons = MessageButtons::Ok) = 0;
    // One-line input; nothing when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& caption,
                                                const std::string& prompt,
                                                const std::string& initial) = 0;
};

DialogService& Dialogs();
// Installs a service for the rest of the run; returns the previous one.
std::unique_ptr<DialogService> InstallDialogService(std::unique_ptr<DialogService> service);
// The Qt service (real message boxes, override cursor); the default once QApplication exists.
std::unique_ptr<DialogService> MakeQtDialogService();

// For tests: answers message boxes and input boxes from queues and records what was shown.
class ScriptedDialogs : public DialogService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
    };
    std::deque<int> answers;                       // popped per message box; IDOK/IDYES... 
    std::deque<std::optional<std::string>> inputs;  // popped per input box
    std::vector<Shown> shown;
    int busyDepth = 0;
    int maxBusyDepth = 0;
    int progressShown = 0;
    // Called for every message box before it is answered (a test can act "while it is up").
    std::function<void(const Shown&)> onMessage;

    int MessageBox(const std::string& text, const std::string& caption,
                   MessageButtons buttons) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override;
    void BeginBusy() override;
    void EndBusy() override;
    std::unique_ptr<ProgressSink> BeginProgress(const std::string& caption, int maximum) override;
};

}  // namespace pb
