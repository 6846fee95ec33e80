#pragma once
// The controls a dialog asks with: text boxes, labels, option buttons and
// combo boxes. Geometry and the common properties come from Control (twips
// within the container). Change and Click are the handlers the window sets.

#include "platform/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QString>

#include <functional>

namespace dorv {

// One line of text. Change follows every new text, typed or set by the
// program (setting the text it already holds changes nothing).
class TextBox : public QLineEdit, public Control {
public:
    TextBox(QWidget* container, const QString& name);
    const QString& Name() const { return name_; }
    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    std::function<void()> Change;

private:
    QString name_;
};

// A caption over its container's background (a label paints no background
// of its own, so the window's gradient shows through).
class Label : public QLabel, public Control {
public:
    Label(QWidget* container, const QString& name, const QString& caption = QString());
    const QString& Name() const { return name_; }
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    void Refresh() { repaint(); }
    // A click of the left button on the label (pressed and released on it).
    std::function<void()> Click;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString name_;
    bool pressed_ = false;
};

// A box the user ticks and unticks, without a caption of its own (its text
// stands in a label beside it). Value is 0 (unticked) or 1 (ticked). Click
// follows every change of the value, by the user or by the program, as the
// runtime's check boxes raise it; setting the value it already has changes
// nothing and raises nothing.
class CheckBox : public QCheckBox, public Control {
public:
    CheckBox(QWidget* container, const QString& name, const QString& caption = QString());
    const QString& Name() const { return name_; }
    int16_t Value() const { return isChecked() ? 1 : 0; }
    void SetValue(int16_t value) { setChecked(value != 0); }
    std::function<void()> Click;

private:
    QString name_;
};

// One of a group of choices: the option buttons of one container exclude
// each other. Click follows the user's choice of this button (also when it
// was chosen already); setting Value from the program runs no handler.
class OptionButton : public QRadioButton, public Control {
public:
    OptionButton(QWidget* container, const QString& name, const QString& caption = QString());
    const QString& Name() const { return name_; }
    bool Value() const { return isChecked(); }
    void SetValue(bool value);
    std::function<void()> Click;

private:
    QString name_;
};

// A drop-down list to choose one entry from; the child cannot type into it.
class ComboBox : public QComboBox, public Control {
public:
    ComboBox(QWidget* container, const QString& name);
    const QString& Name() const { return name_; }
    void Clear() { clear(); }
    void AddItem(const QString& text) { addItem(text); }
    int ListCount() const { return count(); }
    // The entry of index 0 .. ListCount() - 1; "" beyond.
    QString List(int index) const { return itemText(index); }
    // The chosen entry's text, "" when none is chosen.
    QString Text() const { return currentText(); }
    // Chooses the first entry of that text; a text that is no entry leaves
    // none chosen.
    void SetText(const QString& text) { setCurrentIndex(findText(text)); }

private:
    QString name_;
};

}  // namespace dorv
