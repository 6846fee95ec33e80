#include "platform/InputControls.h"

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
