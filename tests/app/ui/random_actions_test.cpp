// Thousands of random clicks, drags, touches and key presses over every screen: no crash, no
// sanitizer report, the hourglass ends after each action, and no modal window stays open.
// POPBOARD_RANDOM_SEED (printed first) and POPBOARD_RANDOM_ACTIONS choose the run; a crash, a
// hang or a failed check prints the seed and the last actions, from which the run replays.
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>

#include "../fake_print_device.h"
#include "common/app_state.h"
#include "platform/bitmap_qt.h"
#include "platform/picture_io.h"
#include "platform/ui/printer.h"
#include "support/ui/app_fixtures.h"

extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace pb::test {
namespace {

// The last actions in fixed buffers, so that a signal handler can write them with write(2).
constexpr int kTrail = 32;
char trail[kTrail][240];
char replayLine[200];
long long actionsDone = 0;
volatile std::sig_atomic_t trailWritten = 0;

void WriteText(const char* s) { (void)!::write(STDERR_FILENO, s, std::strlen(s)); }

void WriteTrail() {
    if (trailWritten) return;
    trailWritten = 1;
    WriteText(replayLine);
    WriteText("The last actions:\n");
    for (long long n = std::max(0LL, actionsDone - kTrail); n < actionsDone; ++n)
        WriteText(trail[n % kTrail]);
}

extern "C" void OnFatalSignal(int sig) {
    if (sig == SIGALRM) WriteText("An action did not return within its time.\n");
    WriteTrail();
    std::signal(SIGABRT, SIG_DFL);
    std::signal(sig, SIG_DFL);
    std::raise(sig == SIGALRM ? SIGABRT : sig);
}

void HandleFatalSignals(void (*handler)(int)) {
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM}) std::signal(sig, handler);
}

long long EnvNumber(const char* name, long long fallback) {
    const char* s = std::getenv(name);
    return s && *s ? std::strtoll(s, nullptr, 10) : fallback;
}

QString At(QPoint p) { return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()); }
QString Describe(const QWidget* w) {
    const QWidget* window = w->window();
    QString s = window->objectName() + QLatin1Char('/') + w->objectName();
    if (w->objectName().isEmpty()) s += QString::fromLatin1(w->metaObject()->className());
    if (auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty())
        s += QStringLiteral(" \"") + b->text() + QLatin1Char('"');
    return s;
}

class RandomActions : public MainScreenFixture {
  protected:
    void SetUp() override {
        MainScreenFixture::SetUp();
        seed_ = static_cast<unsigned>(EnvNumber("POPBOARD_RANDOM_SEED", 20261206));
        actions_ = EnvNumber("POPBOARD_RANDOM_ACTIONS", 8000);
        std::snprintf(replayLine, sizeof replayLine,
                      "Replay: POPBOARD_RANDOM_SEED=%u POPBOARD_RANDOM_ACTIONS=%lld "
                      "test_app_ui --gtest_filter=RandomActions.*\n",
                      seed_, actions_);
        std::printf("random actions: seed %u, %lld actions\n", seed_, actions_);
        std::fflush(stdout);
        random_.seed(seed_);
        HandleFatalSignals(OnFatalSignal);
        if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(WriteTrail);

        OverrideDefaultPrinter([this] {
            return std::make_unique<FakePrintDevice>(printed_, PrinterKind::BuiltInPdf);
        });
        // Pictures to import and a saved work for the gallery.
        Files().CreateFolder(dir.file("Pictures"));
        Bitmap picture(120, 90, RGB(30, 140, 220));
        for (int y = 20; y < 70; ++y) picture.fillSpan(y, 30, 90, RGB(250, 220, 0));
        ASSERT_TRUE(SaveBmp(picture, dir.file("Pictures/a.bmp")));
        ASSERT_TRUE(
            ImageFromBitmap(picture).save(QString::fromStdString(dir.file("Pictures/b.jpg"))));
        ObjectRecord text = NewDecoratedText(0, 559, false);
        text.Text = "特売";
        SaveWorkWithObjects(dir.path(), "X260101000001", Bitmap(378, 559, clWhite), {text});

        dialogs->onMessage = [this](const ScriptedDialogs::Shown& m) { Answer(m); };
        StartMain();
    }
    void TearDown() override {
        alarm(0);
        if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
        HandleFatalSignals(SIG_DFL);
        MainScreenFixture::TearDown();
        OverrideDefaultPrinter(nullptr);
    }

    // The main screen on the work area; when a "終了" closes it, the next action starts it again
    // on the same folders, as a user starts the program again.
    void StartMain() {
        Start();
        App().CurrentPictureFolder = dir.file("Pictures");
        QObject::connect(form.get(), &QObject::destroyed, [this] { (void)form.release(); });
        windows_ = {form.get()};
        ++restarts_;
    }

    // A message box answered with one of its buttons, noted among the actions.
    void Answer(const ScriptedDialogs::Shown& m) {
        int answer = m.buttons == MessageButtons::Ok ? IDOK : closing_ ? IDNO : Pick({IDYES, IDNO});
        if (!closing_ && m.buttons == MessageButtons::YesNoCancel && Below(3) == 0)
            answer = IDCANCEL;
        dialogs->answers.assign(1, answer);
        Note("  message \"" + QString::fromStdString(m.text).left(60).replace('\n', ' ') +
             "\" answered " + QString::number(answer));
    }
    // Input boxes take one of these, or are cancelled.
    void RefillInputs() {
        static const std::optional<std::string> texts[] = {
            std::nullopt, "", "a", "チラシ", "../up", "a/b", " ", "CON", std::string(80, '9')};
        dialogs->inputs.clear();
        for (int n = 0; n < 3; ++n) dialogs->inputs.push_back(texts[Below(std::size(texts))]);
    }

    int Below(std::size_t n) { return static_cast<int>(random_() % n); }
    int Pick(std::initializer_list<int> values) { return values.begin()[Below(values.size())]; }
    QPoint Inside(const QWidget* w, int spill = 0) {
        return {Below(w->width() + 2 * spill) - spill, Below(w->height() + 2 * spill) - spill};
    }

    void Note(const QString& text) {
        std::snprintf(trail[actionsDone % kTrail], sizeof trail[0], "%6lld %s\n", actionsDone,
                      text.toUtf8().constData());
        ++actionsDone;
    }

    // The visible windows, the newest last; the last one is on top.
    void TrackWindows() {
        Settle();
        std::erase_if(windows_, [](const QPointer<QWidget>& w) { return !w || !w->isVisible(); });
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && std::count(windows_.begin(), windows_.end(), w) == 0) {
                windows_.push_back(w);
                ++visits_[w->objectName().toStdString()];
            }
    }

    // A control of `window` a finger can reach, weighted so that every screen is entered: buttons
    // not yet pressed or known to open a screen most, those known to close theirs least, unless
    // the hand has stayed long on one screen (`leaving`) and looks for the way out.
    QWidget* Target(QWidget* window, bool leaving = false) {
        std::vector<QWidget*> controls{window};
        std::vector<int> weights{leaving ? 0 : 1};
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window || !w->isVisible() || !w->isEnabled() ||
                w->visibleRegion().isEmpty())
                continue;
            const std::string key = Describe(w).toStdString();
            int weight = 1;
            if (qobject_cast<ImageControl*>(w)) weight = 8;  // pictures take many strokes
            if (qobject_cast<QAbstractButton*>(w)) {
                weight = 3 + (pressed_.count(key) ? 0 : 4) + (openers_.count(key) ? 8 : 0);
                if (closers_.count(key)) weight = leaving ? 30 : 1;
            } else if (leaving) {
                weight = 0;
            }
            controls.push_back(w);
            weights.push_back(weight);
        }
        std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());
        return controls[choose(random_)];
    }

    // Whether a window above that of `w` lies over the point `p` of `w` (outside its holes).
    bool Covered(const QWidget* w, QPoint p) const {
        const QPoint global = w->mapToGlobal(p);
        auto above = std::find(windows_.begin(), windows_.end(), w->window());
        if (above == windows_.end()) return false;
        for (++above; above != windows_.end(); ++above) {
            const QWidget* over = *above;
            const QPoint local = over->mapFromGlobal(global);
            if (over->rect().contains(local) &&
                (over->mask().isEmpty() || over->mask().contains(local)))
                return true;
        }
        return false;
    }

    static QTest::QTouchEventWidgetSequence Fingers(QWidget* w) {
        static QPointingDevice* device =
            QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
        return QTest::touchEvent(w->window(), device);
    }

    static void Drag(QWidget* w, QPoint p, QPoint q, Qt::MouseButton button) {
        QTest::mousePress(w, button, {}, p);
        for (int step = 1; step <= 3; ++step) QTest::mouseMove(w, p + (q - p) * step / 3);
        QTest::mouseRelease(w, button, {}, q);
    }

    // A drawing tool (most often "□選択範囲編集", which opens the region editor) and a stroke
    // across the page; false when the tools are out of reach.
    bool StrokeWithTool() {
        QRadioButton* tool = form->RBtn[Below(2) ? 7 : Below(8)];
        QWidget* page = form->Image1;
        const QPoint p = Inside(page), q = Inside(page);
        if (!tool->isVisible() || !tool->isEnabled() || !page->isEnabled() ||
            Covered(tool, {8, 12}) || Covered(page, p))
            return false;
        Note(QStringLiteral("tool %1, stroke on the page from %2 to %3")
                 .arg(tool->text(), At(p), At(q)));
        QTest::mouseClick(tool, Qt::LeftButton, {}, {8, 12});
        Drag(page, p, q, Qt::LeftButton);
        QCoreApplication::processEvents();
        return true;
    }

    // One random action on the window on top (now and then on another visible window).
    void Act() {
        TrackWindows();
        if (form && !form->isVisible()) form.reset();  // closed by "終了", not yet deleted
        if (!form) StartMain();
        QWidget* window = windows_.back();
        dwell_ = window == lastTop_ ? dwell_ + 1 : 0;
        lastTop_ = window;
        if (window == form.get() && Below(10) == 0 && StrokeWithTool()) return;
        if (windows_.size() > 1 && Below(5) == 0) window = windows_[Below(windows_.size())];
        QWidget* w = Target(window, dwell_ > 100 && window != form.get());
        QPoint p = Inside(w);
        if (Covered(w, p)) {  // a finger reaches only what no window above hides
            window = windows_.back();
            w = Target(window);
            p = Inside(w);
        }
        const QPoint q = Inside(w, 30);
        const QString what = Describe(w);
        const Qt::MouseButton button = Below(10) == 0 ? Qt::RightButton : Qt::LeftButton;
        const std::size_t before = windows_.size();
        const QPointer<QWidget> target = window;
        const int kind = Below(20);
        if (kind < 9) {
            QPoint at = qobject_cast<QAbstractButton*>(w) ? w->rect().center() : p;
            if (qobject_cast<QRadioButton*>(w)) at = {8, 12};  // its circle
            Note(QStringLiteral("click %1 at %2 button %3").arg(what, At(at)).arg(button));
            pressed_.insert(what.toStdString());
            QTest::mouseClick(w, button, {}, at);
        } else if (kind == 9) {
            QWidget* under = window->childAt(Inside(window));
            if (!under) under = window;
            const QPoint at = Inside(under);
            Note(QStringLiteral("double click %1 at %2").arg(Describe(under), At(at)));
            QTest::mouseDClick(under, Qt::LeftButton, {}, at);
        } else if (kind < 14) {
            Note(QStringLiteral("drag %1 from %2 to %3 button %4")
                     .arg(what, At(p), At(q))
                     .arg(button));
            Drag(w, p, q, button);
        } else if (kind < 16) {
            const QPoint r = Inside(w);
            if (Below(2) == 0) {
                Note(QStringLiteral("touch %1 from %2 to %3").arg(what, At(p), At(q)));
                Fingers(w).press(0, p, w);
                Fingers(w).move(0, (p + q) / 2, w);
                Fingers(w).move(0, q, w);
                Fingers(w).release(0, q, w);
            } else {
                Note(QStringLiteral("two fingers on %1 at %2 and %3, the first to %4")
                         .arg(what, At(p), At(r), At(q)));
                Fingers(w).press(0, p, w).press(1, r, w);
                Fingers(w).move(0, q, w).move(1, r + (r - q) / 2, w);
                Fingers(w).release(0, q, w).release(1, r + (r - q) / 2, w);
            }
        } else {
            const Qt::Key keys[] = {Qt::Key_A,      Qt::Key_1,   Qt::Key_Space,     Qt::Key_Return,
                                    Qt::Key_Escape, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_Delete,
                                    Qt::Key_Left,   Qt::Key_F4};
            const Qt::Key key = keys[Below(std::size(keys))];
            Note(QStringLiteral("key %1 on %2").arg(QKeySequence(key).toString(), what));
            QTest::keyClick(w, key);
        }
        QCoreApplication::processEvents();
        TrackWindows();
        if (windows_.size() > before) openers_.insert(what.toStdString());
        if (!target || !target->isVisible()) closers_.insert(what.toStdString());
        printed_->pages.clear();
    }

    unsigned seed_ = 0;
    long long actions_ = 0;
    std::mt19937 random_;
    std::shared_ptr<PrinterLog> printed_ = std::make_shared<PrinterLog>();
    std::vector<QPointer<QWidget>> windows_;
    std::set<std::string> pressed_, openers_, closers_;
    std::map<std::string, int> visits_;
    int restarts_ = 0;
    bool closing_ = false;
    QPointer<QWidget> lastTop_;
    int dwell_ = 0;
};

TEST_F(RandomActions, NoCrashNoHangNoOpenModalOverEveryScreen) {
    long long n = 0;
    for (; n < actions_ && !HasFailure(); ++n) {
        RefillInputs();
        alarm(120);
        Act();
        alarm(0);
        EXPECT_EQ(dialogs->busyDepth, 0) << "the hourglass stays after the action";
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // The main screen closed with whatever is open over it takes every screen with it.
    TrackWindows();
    if (form) {
        Note(QStringLiteral("close the main screen"));
        closing_ = true;
        form->close();
        if (!form->isVisible()) form.reset();  // as the event loop would delete it
    }
    TrackWindows();
    for (QWidget* w : windows_) ADD_FAILURE() << "left open: " << Describe(w).toStdString();

    std::printf("%lld actions, %zu message boxes, %d starts of the main screen; screens entered:\n",
                n, dialogs->shown.size(), restarts_);
    for (const auto& [name, count] : visits_) std::printf("  %-10s %d\n", name.c_str(), count);
    if (HasFailure()) WriteTrail();
}

}  // namespace
}  // namespace pb::test
