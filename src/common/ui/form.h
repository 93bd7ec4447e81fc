#pragma once
// Form: the base of every screen. A screen is a borderless top-level window whose controls
// are created in code with the names and captions the screens are known by, placed at fixed
// positions. A handler that serves several like controls gets the control's number bound where
// it is connected; the objectName stays the control's name.
//
// A screen shows itself when created and deletes itself when it closes (Release). Closing it
// by the window manager (a close button, Alt+F4) goes the screen's own way out instead
// (CloseByWindowManager), so that nothing it disabled or marked on other screens is left so.
//
// Taps that arrive within the double-click interval after a screen opened or closed are
// dropped: the second tap of a double tap on a button that opens or closes a screen must not
// reach the screen that has just appeared under the finger.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QGroupBox>
#include <QRegion>
#include <QWidget>
#include <string>
#include <vector>

namespace pb {

// A colour cell of a palette: a small box showing a colour (0x00BBGGRR), clicked by touch.
// A marked cell (the colour now in use) wears a double frame, black outside and white inside,
// so that the mark shows on a black cell as on a white one.
class ColourCell : public QLabel {
    Q_OBJECT
public:
    explicit ColourCell(QWidget* parent = nullptr) : QLabel(parent) {}
    unsigned colour() const { return colour_; }
    void setColour(unsigned colour);
    bool isMarked() const { return marked_; }
    void setMarked(bool marked);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    unsigned colour_ = 0xFFFFFF;
    bool marked_ = false;
};

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr, Qt::WindowFlags extraFlags = {});

    // The control with that objectName, or nullptr.
    template <typename T>
    T* Find(const QString& name) const {
        return findChild<T*>(name);
    }
    // Closes the screen and deletes it once control returns to the event loop.
    void Release();

    // Cuts `holes` (window coordinates) out of the window's region, so that what lies under
    // them shows and takes the clicks; an empty list gives the whole window back.
    void CutHoles(const std::vector<QRect>& holes);

    // Builders for controls with a name, a caption and a place (x, y, width, height).
    QPushButton* AddButton(const QString& name, const QString& caption, int x, int y, int w, int h,
                           QWidget* parent = nullptr);
    QLabel* AddLabel(const QString& name, const QString& caption, int x, int y, int w = -1,
                     int h = -1, QWidget* parent = nullptr);
    QRadioButton* AddRadio(const QString& name, const QString& caption, int x, int y, int w, int h,
                           QWidget* parent = nullptr);
    QGroupBox* AddGroup(const QString& name, const QString& caption, int x, int y, int w, int h,
                        QWidget* parent = nullptr);
    // The tiny grey focus sink every screen has, so that no button keeps a focus frame.
    QLineEdit* AddFocusSink(int x, int y, int w = 15, int h = 12, QWidget* parent = nullptr);
    ColourCell* AddColourCell(const QString& name, unsigned colour, int x, int y, int w, int h,
                              QWidget* parent = nullptr);

    // Gives the focus to Edit0 (handlers do this first).
    void FocusSink();

signals:
    void closed();

protected:
    // The window manager asks the screen to close: by default it just closes. Screens with a
    // cancel or return button override this with that button's handler; a screen that does
    // not call Release() there stays open.
    virtual void CloseByWindowManager() { Release(); }
    // Runs once when the screen really closes, before it is deleted.
    virtual void FormClose() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) final;

private:
    bool released_ = false;
};

// The window region with `holes` cut out of `window`: each hole is combined by exclusive or,
// so a rectangle lying twice over the same place gives that place back.
QRegion RegionWithHoles(const QRect& window, const std::vector<QRect>& holes);

// Whether a tap `sinceScreenChange` milliseconds after the last screen opened or closed is
// taken; negative times (a clock that went back) count as long ago.
constexpr bool TapTaken(long long sinceScreenChange, int doubleClickIntervalMs) {
    return sinceScreenChange < 0 || sinceScreenChange >= doubleClickIntervalMs;
}

}  // namespace pb
