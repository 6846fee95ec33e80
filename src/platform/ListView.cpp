#include "platform/ListView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace dorv {

namespace {
constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kIconKeyRole = Qt::UserRole + 2;
}  // namespace

ListView::ListView(QWidget* container, const QString& name) : QListWidget(container), Control(this), name_(name)
{
    setObjectName(name);
    setViewMode(QListView::IconMode);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setWordWrap(true);
    // Each entry as large as its own text needs: a name that wraps onto a
    // second line (or comes in another language later) is not cut.
    setUniformItemSizes(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSpacing(8);
    SetIconSize(64);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (ItemClick && item && (item->flags() & Qt::ItemIsEnabled)) ItemClick(row(item) + 1);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (DblClick && item && (item->flags() & Qt::ItemIsEnabled)) DblClick();
    });
}

void ListView::SetIconSize(int pixels)
{
    setIconSize(QSize(pixels, pixels));
    // Room for the picture and two lines of text below it, the lines as wide
    // as a long name needs.
    setGridSize(QSize(std::max(pixels + 40, 12 * fontMetrics().averageCharWidth()),
                      pixels + 2 * fontMetrics().height() + 16));
    for (int i = 0; i < count(); ++i) showIcon(item(i));
}

void ListView::SetIcons(const ImageList* icons)
{
    icons_ = icons;
    for (int i = 0; i < count(); ++i) showIcon(item(i));
}

void ListView::showIcon(QListWidgetItem* it)
{
    const QImage picture = icons_ ? icons_->Image(it->data(kIconKeyRole).toString()) : QImage();
    if (picture.isNull()) {
        it->setIcon(QIcon());
        return;
    }
    // The picture fills the icon size, its proportions kept, centred.
    const QSize box = iconSize();
    QPixmap pixmap(box);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QImage fitted = picture.size() == box ? picture
                                                : picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    p.drawImage((box.width() - fitted.width()) / 2, (box.height() - fitted.height()) / 2, fitted);
    p.end();
    it->setIcon(QIcon(pixmap));
}

int ListView::AddItem(const QString& key, const QString& text, const QString& iconKey, const QString& tag)
{
    auto* it = new QListWidgetItem(text);
    it->setData(kTagRole, tag);
    it->setData(kKeyRole, key);
    it->setData(kIconKeyRole, iconKey);
    it->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
    addItem(it);
    showIcon(it);
    return count();
}

QListWidgetItem* ListView::entry(int index) const
{
    return index >= 1 && index <= count() ? item(index - 1) : nullptr;
}

QString ListView::ItemText(int index) const
{
    QListWidgetItem* it = entry(index);
    return it ? it->text() : QString();
}

QString ListView::ItemTag(int index) const
{
    QListWidgetItem* it = entry(index);
    return it ? it->data(kTagRole).toString() : QString();
}

QString ListView::ItemKey(int index) const
{
    QListWidgetItem* it = entry(index);
    return it ? it->data(kKeyRole).toString() : QString();
}

void ListView::SetItemText(int index, const QString& text)
{
    if (QListWidgetItem* it = entry(index)) {
        it->setText(text);
        // The entries are placed again for the new text's size.
        scheduleDelayedItemsLayout();
    }
}

bool ListView::ItemEnabled(int index) const
{
    QListWidgetItem* it = entry(index);
    return it && (it->flags() & Qt::ItemIsEnabled);
}

void ListView::SetItemEnabled(int index, bool enabled)
{
    QListWidgetItem* it = entry(index);
    if (!it) return;
    Qt::ItemFlags flags = it->flags();
    flags.setFlag(Qt::ItemIsEnabled, enabled);
    flags.setFlag(Qt::ItemIsSelectable, enabled);
    it->setFlags(flags);
}

int ListView::SelectedIndex() const
{
    const QList<QListWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? 0 : row(chosen.first()) + 1;
}

void ListView::SelectNone()
{
    clearSelection();
    // The keys start from the first entry that can be chosen, which carries
    // the focus mark while the list has the keyboard.
    QListWidgetItem* first = nullptr;
    for (int i = 0; i < count() && !first; ++i)
        if (item(i)->flags() & Qt::ItemIsEnabled) first = item(i);
    setCurrentItem(first, QItemSelectionModel::NoUpdate);
}

QRect ListView::ItemRect(int index) const
{
    QListWidgetItem* it = entry(index);
    return it ? visualItemRect(it) : QRect();
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool arrow = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (arrow && SelectedIndex() == 0) {
        // Nothing is chosen yet: the first arrow chooses the entry with the
        // focus mark (the first that can be chosen when none has it), rather
        // than moving past it.
        QListWidgetItem* it = currentItem();
        for (int i = 0; i < count() && !(it && (it->flags() & Qt::ItemIsEnabled)); ++i) it = item(i);
        if (it && (it->flags() & Qt::ItemIsEnabled)) {
            setCurrentItem(it);
            if (ItemClick) ItemClick(row(it) + 1);
            event->accept();
            return;
        }
    }
    const int before = SelectedIndex();
    QListWidget::keyPressEvent(event);
    // Moving the selection with the keys picks the entry as a click does.
    const int after = SelectedIndex();
    if (after != 0 && after != before && ItemClick) ItemClick(after);
}

}  // namespace dorv
