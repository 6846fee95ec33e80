#pragma once
// A list view in icon view: entries with a picture above their text, laid
// out in rows that wrap. Each entry has a text, a tag and a key, and shows
// the picture of its icon key from the image list the view is given.
// Entries are numbered from 1 in the order they were added.

#include "platform/Controls.h"

#include <QListWidget>
#include <QString>

#include <functional>

namespace dorv {

class ListView : public QListWidget, public Control {
public:
    ListView(QWidget* container, const QString& name);
    const QString& Name() const { return name_; }

    // The pictures of the entries, by key; the list must outlive the view's
    // use of it. Setting it shows its pictures on the entries already there.
    void SetIcons(const ImageList* icons);
    // Pictures are shown at this size (pixels), scaled to fit.
    void SetIconSize(int pixels);

    // Adds an entry; returns its number.
    int AddItem(const QString& key, const QString& text, const QString& iconKey, const QString& tag);
    int Count() const { return count(); }
    // No entries; the entries added next are shown from the top, not where
    // the list was scrolled to before.
    void Clear()
    {
        clear();
        scrollToTop();
    }
    // An entry's properties; "" for a number that is no entry.
    QString ItemText(int index) const;
    QString ItemTag(int index) const;
    QString ItemKey(int index) const;
    void SetItemText(int index, const QString& text);
    // A disabled entry is greyed and cannot be chosen.
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool enabled);
    // The number of the selected entry, 0 when none is.
    int SelectedIndex() const;
    // No entry is chosen; the first that can be carries the focus mark, and
    // the first arrow key chooses it.
    void SelectNone();
    // Where an entry is shown, in the view's own pixels (the viewport's).
    QRect ItemRect(int index) const;

    // The user picked an entry, with the mouse or the arrow keys.
    std::function<void(int index)> ItemClick;
    // The user double-clicked an entry.
    std::function<void()> DblClick;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QListWidgetItem* entry(int index) const;
    void showIcon(QListWidgetItem* item);
    QString name_;
    const ImageList* icons_ = nullptr;
};

}  // namespace dorv
