#include "platform/InputControls.h"

#include <QMouseEvent>

namespace dorv {

TextBox::TextBox(QWidget* container, const QString& name) : QLineEdit(container), Control(this), name_(name)
{
    setObjectName(name);
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (Change) Change();
    });
}

Label::Label(QWidget* container, const QString& name, const QString& caption)
    : QLabel(caption, container), Control(this), name_(name)
{
    setObjectName(name);
    setAutoFillBackground(false);
}

void Label::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) pressed_ = true;
    QLabel::mousePressEvent(event);
}

void Label::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click && Click) Click();
}

CheckBox::CheckBox(QWidget* container, const QString& name, const QString& caption)
    : QCheckBox(caption, container), Control(this), name_(name)
{
    setObjectName(name);
    setTristate(false);
    connect(this, &QCheckBox::toggled, this, [this] {
        if (Click) Click();
    });
}

OptionButton::OptionButton(QWidget* container, const QString& name, const QString& caption)
    : QRadioButton(caption, container), Control(this), name_(name)
{
    setObjectName(name);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (isChecked() && Click) Click();
    });
}

void OptionButton::SetValue(bool value)
{
    // Unticking the chosen button of an exclusive group is refused by the
    // group; take it out of the group for the moment.
    const bool exclusive = autoExclusive();
    if (!value) setAutoExclusive(false);
    setChecked(value);
    setAutoExclusive(exclusive);
}

ComboBox::ComboBox(QWidget* container, const QString& name) : QComboBox(container), Control(this), name_(name)
{
    setObjectName(name);
    setEditable(false);
}

}  // namespace dorv
