#include "common/ui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShowEvent>
#include <QStyleHints>

namespace pb {

namespace {

// Drops the taps that follow a screen change too closely (see form.h). One filter on the
// application sees every mouse button event before the widget under the pointer does.
class TapGuard : public QObject {
  public:
    static TapGuard& Instance() {
        static TapGuard* guard = [] {
            auto* g = new TapGuard(qApp);
            qApp->installEventFilter(g);
            return g;
        }();
        return *guard;
    }
    void ScreenChanged() { sinceChange_.start(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
            type != QEvent::MouseButtonRelease)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !qobject_cast<Form*>(widget->window())) return false;
        if (type == QEvent::MouseButtonRelease) {
            // The release of a dropped press is dropped too, so that no click is made of it.
            if (!droppedPress_ || droppedPress_ != widget->window()) return false;
            droppedPress_ = nullptr;
            return true;
        }
        const long long since = sinceChange_.isValid() ? sinceChange_.elapsed() : -1;
        if (TapTaken(since, QGuiApplication::styleHints()->mouseDoubleClickInterval()))
            return false;
        droppedPress_ = widget->window();
        return true;
    }

  private:
    using QObject::QObject;
    QElapsedTimer sinceChange_;
    QPointer<QWidget> droppedPress_;
};

}  // namespace

QRegion RegionWithHoles(const QRect& window, const std::vector<QRect>& holes) {
    QRegion region(window);
    for (const QRect& hole : holes) region = region.xored(QRegion(hole));
    return region;
}

void ColourCell::setColour(unsigned colour) {
    colour_ = colour & 0xFFFFFF;
    const QColor c(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF);
    setStyleSheet(QStringLiteral("background: %1; border: 1px solid #808080;").arg(c.name()));
}

void ColourCell::setMarked(bool marked) {
    if (marked == marked_) return;
    marked_ = marked;
    update();
}

void ColourCell::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!marked_) return;
    // Two rings of two pixels each, as far as the cell has room for them.
    constexpr int kRing = 2;
    QPainter painter(this);
    const QRect outer = rect();
    painter.fillRect(outer, Qt::black);
    const QRect inner = outer.adjusted(kRing, kRing, -kRing, -kRing);
    if (inner.isEmpty()) return;
    painter.fillRect(inner, Qt::white);
    const QRect face = inner.adjusted(kRing, kRing, -kRing, -kRing);
    if (!face.isEmpty())
        painter.fillRect(face, QColor(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF));
}

void ColourCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

Form::Form(QWidget* parent, Qt::WindowFlags extraFlags)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extraFlags) {
    setAttribute(Qt::WA_DeleteOnClose);
    TapGuard::Instance();
}

void Form::Release() {
    released_ = true;
    // Inside closeEvent (a close by the window manager) this close() does nothing: the close
    // under way then goes through.
    close();
}

void Form::CutHoles(const std::vector<QRect>& holes) {
    if (holes.empty())
        clearMask();
    else
        setMask(RegionWithHoles(rect(), holes));
}

void Form::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        released_ = false;
        TapGuard::Instance().ScreenChanged();
    }
    QWidget::showEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
    if (!released_) {
        CloseByWindowManager();
        if (!released_) {
            event->ignore();
            return;
        }
    }
    FormClose();
    TapGuard::Instance().ScreenChanged();
    emit closed();
    QWidget::closeEvent(event);
}

QPushButton* Form::AddButton(const QString& name, const QString& caption, int x, int y, int w,
                             int h, QWidget* parent) {
    auto* b = new QPushButton(caption, parent ? parent : this);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* Form::AddLabel(const QString& name, const QString& caption, int x, int y, int w, int h,
                       QWidget* parent) {
    auto* l = new QLabel(caption, parent ? parent : this);
    l->setObjectName(name);
    if (w < 0 || h < 0) {
        l->adjustSize();
        l->move(x, y);
    } else {
        l->setGeometry(x, y, w, h);
    }
    return l;
}

QRadioButton* Form::AddRadio(const QString& name, const QString& caption, int x, int y, int w,
                             int h, QWidget* parent) {
    auto* r = new QRadioButton(caption, parent ? parent : this);
    r->setObjectName(name);
    r->setGeometry(x, y, w, h);
    r->setFocusPolicy(Qt::NoFocus);
    return r;
}

QGroupBox* Form::AddGroup(const QString& name, const QString& caption, int x, int y, int w, int h,
                          QWidget* parent) {
    auto* g = new QGroupBox(caption, parent ? parent : this);
    g->setObjectName(name);
    g->setGeometry(x, y, w, h);
    return g;
}

QLineEdit* Form::AddFocusSink(int x, int y, int w, int h, QWidget* parent) {
    auto* e = new QLineEdit(parent ? parent : this);
    e->setObjectName(QStringLiteral("Edit0"));
    e->setGeometry(x, y, w, h);
    e->setFrame(false);
    e->setReadOnly(true);
    e->setStyleSheet(QStringLiteral("background: #c0c0c0; border: none;"));
    return e;
}

ColourCell* Form::AddColourCell(const QString& name, unsigned colour, int x, int y, int w,
                                int h, QWidget* parent) {
    auto* c = new ColourCell(parent ? parent : this);
    c->setObjectName(name);
    c->setGeometry(x, y, w, h);
    c->setCursor(Qt::PointingHandCursor);
    c->setColour(colour);
    return c;
}

void Form::FocusSink() {
    if (auto* sink = Find<QLineEdit>(QStringLiteral("Edit0"))) sink->setFocus();
}

}  // namespace pb
