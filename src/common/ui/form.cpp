#include "common/ui/form.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QColor>
#include <QTimer>

namespace pb {

void ColourCell::setColour(unsigned colour) {
    colour_ = colour & 0xFFFFFF;
    const QColor c(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF);
    setStyleSheet(QStringLiteral("background: %1; border: 1px solid #808080;").arg(c.name()));
}

void ColourCell::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

Form::Form(QWidget* parent, Qt::WindowFlags extraFlags)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | extraFlags) {
    setAttribute(Qt::WA_DeleteOnClose);
}

int Form::SenderNumber(const QObject* sender, int digits) {
    if (!sender) return -1;
    const QString name = sender->objectName();
    if (name.size() < digits) return -1;
    bool ok = false;
    const int n = name.right(digits).toInt(&ok);
    return ok ? n : -1;
}

void Form::Release() { close(); }

void Form::closeEvent(QCloseEvent* event) {
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

int Form::LabelNumber(const QLabel* label) {
    bool ok = false;
    const int n = label ? label->text().toInt(&ok) : 0;
    return ok ? n : 0;
}

}  // namespace pb
