#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace pb {

namespace {

// Used before anything else is installed: answers OK and No and keeps quiet, so that code
// run without a user interface (the command-line tool) never blocks on a dialog.
class SilentDialogs : public DialogService {
public:
    int MessageBox(const std::string&, const std::string&, MessageButtons buttons) override {
        return buttons == MessageButtons::Ok ? IDOK : IDNO;
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void BeginBusy() override {}
    void EndBusy() override {}
    std::unique_ptr<ProgressSink> BeginProgress(const std::string&, int) override {
        return nullptr;
    }
};

std::unique_ptr<DialogService>& Current() {
    static std::unique_ptr<DialogService> service = std::make_unique<SilentDialogs>();
    return service;
}

class QtProgress : public ProgressSink {
public:
    QtProgress(const std::string& caption, int maximum)
        : dialog_(QString::fromStdString(caption), QString(), 0, maximum) {
        dialog_.setWindowModality(Qt::ApplicationModal);
        dialog_.setCancelButton(nullptr);
        dialog_.setMinimumDuration(500);  // only long work shows a bar
        dialog_.setValue(0);
    }
    void SetValue(int value) override {
        dialog_.setValue(value);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }

private:
    QProgressDialog dialog_;
};

class QtDialogs : public DialogService {
public:
    int MessageBox(const std::string& text, const std::string& caption,
                   MessageButtons buttons) override {
        QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                        QString::fromStdString(text));
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        // The hourglass must not hide the question.
        const bool busy = QApplication::overrideCursor() != nullptr;
        if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
        int result = IDOK;
        if (buttons == MessageButtons::Ok) {
            box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
            box.exec();
        } else {
            QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
            QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
            QPushButton* cancel = nullptr;
            if (buttons == MessageButtons::YesNoCancel)
                cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
            box.setDefaultButton(yes);
            if (cancel) box.setEscapeButton(cancel);
            box.exec();
            if (box.clickedButton() == yes) result = IDYES;
            else if (box.clickedButton() == no) result = IDNO;
            else result = cancel ? IDCANCEL : IDNO;
        }
        if (busy) QApplication::restoreOverrideCursor();
        return result;
    }

    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& initial) override {
        bool ok = false;
        const QString text = QInputDialog::getText(
            nullptr, QString::fromStdString(caption), QString::fromStdString(prompt),
            QLineEdit::Normal, QString::fromStdString(initial), &ok);
        if (!ok) return std::nullopt;
        return text.toStdString();
    }

    void BeginBusy() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void EndBusy() override { QApplication::restoreOverrideCursor(); }

    std::unique_ptr<ProgressSink> BeginProgress(const std::string& caption,
                                                int maximum) override {
        return std::make_unique<QtProgress>(caption, maximum);
    }
};

class RecordingProgress : public ProgressSink {
public:
    void SetValue(int) override {}
};

}  // namespace

DialogService& Dialogs() { return *Current(); }

std::unique_ptr<DialogService> InstallDialogService(std::unique_ptr<DialogService> service) {
    auto previous = std::move(Current());
    Current() = service ? std::move(service) : std::make_unique<SilentDialogs>();
    SetWorkIndicator(Current().get());
    return previous;
}

std::unique_ptr<DialogService> MakeQtDialogService() { return std::make_unique<QtDialogs>(); }

int ScriptedDialogs::MessageBox(const std::string& text, const std::string& caption,
                                MessageButtons buttons) {
    shown.push_back({text, caption, buttons});
    if (onMessage) onMessage(shown.back());
    if (answers.empty()) return buttons == MessageButtons::Ok ? IDOK : IDCANCEL;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string&, const std::string&,
                                                     const std::string&) {
    if (inputs.empty()) return std::nullopt;
    auto answer = inputs.front();
    inputs.pop_front();
    return answer;
}

void ScriptedDialogs::BeginBusy() {
    ++busyDepth;
    if (busyDepth > maxBusyDepth) maxBusyDepth = busyDepth;
}

void ScriptedDialogs::EndBusy() { --busyDepth; }

std::unique_ptr<ProgressSink> ScriptedDialogs::BeginProgress(const std::string&, int) {
    ++progressShown;
    return std::make_unique<RecordingProgress>();
}

}  // namespace pb
