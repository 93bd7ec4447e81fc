#pragma once
// Clicks and slider drags shared by the tests of the region editor's tool screens.
#include <QApplication>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

#include "imaging/ui/track_bar.h"

namespace pb::test {

inline void Settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A radio button takes the click on its circle or its caption only.
inline void Click(QWidget* w) {
    ASSERT_TRUE(w && w->isVisible()) << (w ? w->objectName().toStdString() : "none");
    const bool radio = qobject_cast<QRadioButton*>(w) != nullptr;
    QTest::mouseClick(w, Qt::LeftButton, {},
                      radio ? QPoint(8, w->height() / 2) : w->rect().center());
}
inline void Click(QWidget* form, const QString& name) {
    QWidget* w = form->findChild<QWidget*>(name);
    ASSERT_TRUE(w) << name.toStdString();
    Click(w);
}
inline void Clicks(QWidget* form, std::initializer_list<const char*> names) {
    for (const char* name : names) Click(form, QString::fromUtf8(name));
}

inline void SendMouse(TYTrackBar& bar, QEvent::Type type, int x) {
    const QPointF local(x, 15);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, bar.mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(&bar, &event);
}

// Drags the slider's thumb `dx` pixels and lets go.
inline void DragThumb(TYTrackBar& bar, int dx) {
    const int x = bar.thumbCentre();
    SendMouse(bar, QEvent::MouseButtonPress, x);
    SendMouse(bar, QEvent::MouseMove, x + dx);
    SendMouse(bar, QEvent::MouseButtonRelease, x + dx);
}

// Drags the thumb until the bar stands at `position`.
inline void DragTo(TYTrackBar& bar, int position) {
    const int range = bar.Max() - bar.Min(), delta = position - bar.Position();
    int dx = delta * bar.trackLength() / range;
    while (dx * range / bar.trackLength() != delta) dx += delta > 0 ? 1 : -1;
    DragThumb(bar, dx);
    ASSERT_EQ(bar.Position(), position);
}

}  // namespace pb::test
