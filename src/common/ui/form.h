#pragma once
// Form: the base of every screen. A screen is a borderless top-level window whose controls
// are created in code with the names and captions the screens are known by, placed at fixed
// positions. Handlers that serve several like controls tell them apart by the digits at the
// end of the sender's name (SenderNumber), and controls are found by a name built from a
// prefix and a number (Find<QPushButton>("Btn" + n)).
//
// A screen shows itself when created and deletes itself when it closes (Release).

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QGroupBox>
#include <QWidget>
#include <string>

namespace pb {

// A colour cell of a palette: a small box showing a colour (0x00BBGGRR), clicked by touch.
class ColourCell : public QLabel {
    Q_OBJECT
public:
    explicit ColourCell(QWidget* parent = nullptr) : QLabel(parent) {}
    unsigned colour() const { return colour_; }
    void setColour(unsigned colour);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    unsigned colour_ = 0xFFFFFF;
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
    // The number formed by the last `digits` characters of the sender's objectName
    // ("Btn19" -> 19 with 2 digits, 9 with 1); -1 when they are not digits.
    static int SenderNumber(const QObject* sender, int digits);

    // Closes the screen and deletes it once control returns to the event loop.
    void Release();

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
    // Small numeric state lives in label captions: the caption as an integer, 0 when it is
    // not a number.
    static int LabelNumber(const QLabel* label);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace pb
