#include "app/ApplyLanguage.h"

#include "app/EnvSelect.h"
#include "app/ItemGroups.h"
#include "app/Main.h"
#include "app/frmGraphs.h"
#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "scene/CaptionTables.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

// The menu entry of that name anywhere in the tree below `actions`.
QAction* FindAction(const QList<QAction*>& actions, const QString& name)
{
    for (QAction* a : actions) {
        if (a->objectName() == name) return a;
        if (QMenu* sub = a->menu())
            if (QAction* inner = FindAction(sub->actions(), name)) return inner;
    }
    return nullptr;
}

void SetControlCaption(dorv::Form& form, const QString& control, const QString& text)
{
    if (QMenuBar* bar = form.findChild<QMenuBar*>()) {
        if (QAction* entry = FindAction(bar->actions(), control)) {
            if (entry->isSeparator()) return;
            entry->setText(text);
            if (QMenu* sub = entry->menu()) sub->setTitle(text);
            return;
        }
    }
    const QList<QWidget*> found = form.findChildren<QWidget*>(control);
    for (QWidget* w : found) {
        if (qobject_cast<QMenu*>(w)) continue;  // a submenu is set through its entry
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(text);
        else if (auto* frame = qobject_cast<QGroupBox*>(w))
            frame->setTitle(text);
        else
            continue;
        return;
    }
}

// The form of that name, made and loaded when the program has it.
dorv::Form* CaptionedForm(const QString& name)
{
    dorv::Form* form = dorv::Form::Get(name);
    if (form) form->Load();
    return form;
}

}  // namespace

namespace LangMod {

void ApplyBuiltInCaptions(int16_t language)
{
    if (language != 0 && language != 1) return;
    QString lastName;
    dorv::Form* form = nullptr;
    for (const CaptionText& row : BuiltInCaptions()) {
        const QString name = QLatin1String(row.window);
        if (name != lastName) {
            form = CaptionedForm(name);
            lastName = name;
        }
        if (!form) continue;
        const QString text = QString::fromUtf8(row.text[language]);
        const QString control = QLatin1String(row.control);
        if (control.isEmpty()) {
            form->SetCaption(text);
        } else if (row.toolTip) {
            for (QWidget* w : form->findChildren<QWidget*>(control)) w->setToolTip(text);
        } else {
            SetControlCaption(*form, control, text);
        }
    }
}

void ApplyLanguage(int16_t uiLanguage, int16_t itemLanguage)
{
    G.ItemLanguage = itemLanguage;
    G.UiLanguage = uiLanguage;
    Main* main = MainWindow();
    if (main) main->mnu_languageselect_setchecks();
    // The caption tables give the main window the program's bare title; a
    // window that named its place goes on naming it, in the new language.
    const bool namesPlace = main && main->Caption().startsWith(dorv::AppTitle() + QStringLiteral(" - "));
    ApplyBuiltInCaptions(uiLanguage);
    // Qt's own buttons and dialogs speak the built-in languages too.
    if (uiLanguage == 0 || uiLanguage == 1) dorv::SetQtLanguage(uiLanguage == 1 ? QStringLiteral("pt_BR") : QString());
    if (namesPlace) main->ShowPlaceInCaption();
    // The graph panel's frame names the chart drawn, not the pie its caption
    // table holds.
    if (auto* graphs = dynamic_cast<frmGraphs*>(dorv::Form::Existing(QStringLiteral("frmGraphs"))))
        graphs->ShowKindOptions();
    if (EnvSelect* chooser = EnvSelect::Window()) chooser->LanguageChanged();
    if (ItemGroups* groups = ItemGroups::Window()) groups->LanguageChanged();
    G.UnitText = CommonMod::SetLengthUnit(G.UnitIndex);
    DrawMod::RedrawView();
}

}  // namespace LangMod
