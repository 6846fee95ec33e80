#include "platform/Dialogs.h"

#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QDoubleSpinBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTranslator>

#include <algorithm>

namespace dorv {

namespace {

DialogService* installed = nullptr;

DesktopDialogs& desktop()
{
    static DesktopDialogs d;
    return d;
}

QString titleOr(const QString& title) { return title.isEmpty() ? AppTitle() : title; }

// The window a question is asked for: the modal window in front, else the
// active one, when on the screen (not the main window hidden behind the
// environment chooser: a dialog is placed over its window). The dialog stays
// above it, and the keyboard goes back to it when the dialog closes.
QWidget* askingWindow()
{
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    return w && w->isVisible() ? w : nullptr;
}

// Every dialog offers a close box and no minimise or maximise: minimised, it
// would leave the window that asked waiting for an answer nobody can see.
// Asked for no window, it is a window of its own, which the task bar and the
// window switcher list.
void announce(QDialog& dialog) { OfferCloseBoxOnly(dialog, dialog.parentWidget() ? Qt::Dialog : Qt::Window); }

struct MsgButton {
    QMessageBox::StandardButton qt;
    int vb;
};

std::vector<MsgButton> buttonsOf(int style)
{
    switch (style & 7) {
    case vbOKCancel: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

}  // namespace

DialogService& Dialogs() { return installed ? *installed : desktop(); }
void SetDialogs(DialogService* service) { installed = service; }

int MsgBox(const QString& text, int style, const QString& title) { return Dialogs().MsgBox(text, style, title); }

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return Dialogs().InputBox(prompt, title, defaultText).value_or(QString());
}

QString QtFilterFromPairs(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified());
    }
    if (out.isEmpty() && !filter.isEmpty()) out << filter;
    return out.join(QStringLiteral(";;"));
}

// ---- the desktop's dialogs ----

int DesktopDialogs::MsgBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(askingWindow());
    announce(box);
    box.setWindowTitle(titleOr(title));
    box.setText(text);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    const std::vector<MsgButton> buttons = buttonsOf(style);
    QMessageBox::StandardButtons set;
    for (const MsgButton& b : buttons) set |= b.qt;
    box.setStandardButtons(set);
    box.setDefaultButton(buttons.front().qt);
    int pressed = box.exec();
    for (const MsgButton& b : buttons)
        if (pressed == b.qt) return b.vb;
    // Closed by the window's close box: the way out of the question.
    for (const MsgButton& b : buttons)
        if (b.vb == vbCancel) return vbCancel;
    return buttons.size() == 1 ? vbOK : buttons.back().vb;
}

std::optional<QString> DesktopDialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog(askingWindow());
    announce(dialog);
    dialog.setWindowTitle(titleOr(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

namespace {

std::optional<FileDialogAnswer> fileDialog(const FileDialogRequest& r, bool save)
{
    QFileDialog dialog(askingWindow(), r.Title, r.InitDir);
    announce(dialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks about replacing a file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = QtFilterFromPairs(r.Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        int index = std::clamp(r.FilterIndex, 1, int(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!r.FileName.isEmpty()) dialog.selectFile(r.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogAnswer a;
    a.FileName = dialog.selectedFiles().first();
    a.FilterIndex = std::max(1, int(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return a;
}

}  // namespace

bool SetQtLanguage(const QString& localeName)
{
    // One translation at a time, owned by the application.
    static QPointer<QTranslator> current;
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
    }
    if (localeName.isEmpty()) return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QLocale(localeName), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    current = translator;
    return true;
}

std::optional<FileDialogAnswer> DesktopDialogs::ShowOpen(const FileDialogRequest& request) { return fileDialog(request, false); }

std::optional<FileDialogAnswer> DesktopDialogs::ShowSave(const FileDialogRequest& request) { return fileDialog(request, true); }

std::optional<ColorRef> DesktopDialogs::ShowColor(ColorRef initial)
{
    QColorDialog dialog(QColor(initial & 255, (initial >> 8) & 255, (initial >> 16) & 255), askingWindow());
    announce(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QColor c = dialog.selectedColor();
    if (!c.isValid()) return std::nullopt;
    return RGB(c.red(), c.green(), c.blue());
}

void DesktopDialogs::RunModal(Form& form)
{
    QPointer<Form> guard(&form);
    form.show();
    form.raise();
    form.activateWindow();
    QEventLoop loop;
    // Ends when the form is hidden (Hide, Unload, closing) or the program ends.
    while (guard && guard->isVisible() && !Ending()) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void DesktopDialogs::PopupMenu(Menu& menu)
{
    if (QMenu* m = menu.Submenu()) m->exec(QCursor::pos());
}

bool DesktopDialogs::ShowPrintDialog(QPrinter& printer, PrintPages& pages)
{
    QPrintDialog dialog(&printer, askingWindow());
    announce(dialog);
    dialog.setMinMax(pages.MinPage, pages.MaxPage);
    if (pages.MaxPage > pages.MinPage) {
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    } else {
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    }
    printer.setPrintRange(QPrinter::AllPages);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        pages.FromPage = printer.fromPage();
        pages.ToPage = printer.toPage();
    } else {
        pages.FromPage = pages.ToPage = 0;
    }
    return true;
}

bool DesktopDialogs::ShowPageSetupDialog(QPrinter& printer)
{
    // A print-out fills the whole printable page: the dialog chooses the
    // paper and its orientation, and offers no margins, which are kept.
    const QPageLayout before = printer.pageLayout();
    QPageSetupDialog dialog(&printer, askingWindow());
    announce(dialog);
    for (const char* name : {"topMargin", "bottomMargin", "leftMargin", "rightMargin"})
        if (auto* box = dialog.findChild<QDoubleSpinBox*>(QLatin1String(name)))
            if (QWidget* group = box->parentWidget(); group && group != &dialog) group->hide();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    printer.setPageMargins(before.margins(), before.units());
    return accepted;
}

// ---- answers from a script ----

void ScriptedDialogs::ExpectPrintDialog(std::optional<PrintDialogAnswer> answer)
{
    Answer a(Kind::Print);
    a.print = std::move(answer);
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectPageSetupDialog(std::optional<PrintDialogAnswer> answer)
{
    Answer a(Kind::PageSetup);
    a.print = std::move(answer);
    script_.push_back(std::move(a));
}

namespace {

void applyChoice(QPrinter& printer, const PrintDialogAnswer& choice)
{
    if (choice.PrinterName) printer.setPrinterName(*choice.PrinterName);
    if (choice.Copies) printer.setCopyCount(*choice.Copies);
    if (choice.Orientation) printer.setPageOrientation(*choice.Orientation);
    if (choice.PaperSize) printer.setPageSize(QPageSize(*choice.PaperSize));
}

}  // namespace

bool ScriptedDialogs::ShowPrintDialog(QPrinter& printer, PrintPages& pages)
{
    auto a = take(Kind::Print, QStringLiteral("Print: pages %1-%2").arg(pages.MinPage).arg(pages.MaxPage));
    if (!a || !a->print) return false;
    applyChoice(printer, *a->print);
    pages.FromPage = a->print->FromPage;
    pages.ToPage = a->print->ToPage;
    return true;
}

bool ScriptedDialogs::ShowPageSetupDialog(QPrinter& printer)
{
    auto a = take(Kind::PageSetup, QStringLiteral("PageSetup"));
    if (!a || !a->print) return false;
    applyChoice(printer, *a->print);
    return true;
}

void ScriptedDialogs::ExpectMsgBox(int answer)
{
    Answer a(Kind::MsgBox);
    a.button = answer;
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectInputBox(std::optional<QString> answer)
{
    Answer a(Kind::Input);
    a.text = std::move(answer);
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectOpen(std::optional<FileDialogAnswer> answer)
{
    Answer a(Kind::Open);
    a.file = std::move(answer);
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectSave(std::optional<FileDialogAnswer> answer)
{
    Answer a(Kind::Save);
    a.file = std::move(answer);
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectColor(std::optional<ColorRef> answer)
{
    Answer a(Kind::Color);
    a.colour = answer;
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectModal(const QString& formName, std::function<void(Form&)> script)
{
    Answer a(Kind::Modal);
    a.name = formName;
    a.script = std::move(script);
    script_.push_back(std::move(a));
}

void ScriptedDialogs::ExpectPopup(const QString& entryName)
{
    Answer a(Kind::Popup);
    a.name = entryName;
    script_.push_back(std::move(a));
}

void ScriptedDialogs::AnswerAlways(const QString& formName, std::function<void(Form&)> script)
{
    standing_.erase(std::remove_if(standing_.begin(), standing_.end(),
                                   [&](const Answer& a) { return a.name.compare(formName, Qt::CaseInsensitive) == 0; }),
                    standing_.end());
    if (!script) return;
    Answer a(Kind::Modal);
    a.name = formName;
    a.script = std::move(script);
    standing_.push_back(std::move(a));
}

void ScriptedDialogs::Reset()
{
    script_.clear();
    asked_.clear();
    unexpected_.clear();
    fileRequests_.clear();
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind, const QString& question, const QString& name)
{
    asked_ << question;
    if (!script_.empty() && script_.front().kind == kind &&
        (name.isNull() || script_.front().name.compare(name, Qt::CaseInsensitive) == 0 || kind == Kind::Popup)) {
        Answer a = std::move(script_.front());
        script_.pop_front();
        return a;
    }
    unexpected_ << question;
    if (OnUnexpected) OnUnexpected(question);
    return std::nullopt;
}

int ScriptedDialogs::MsgBox(const QString& text, int style, const QString& title)
{
    auto a = take(Kind::MsgBox, QStringLiteral("MsgBox %1: %2").arg(style).arg(text));
    if (a) return a->button;
    switch (style & 7) {
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel: return vbCancel;
    case vbYesNo: return vbNo;
    case vbAbortRetryIgnore: return vbAbort;
    default: return vbOK;
    }
}

std::optional<QString> ScriptedDialogs::InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    auto a = take(Kind::Input, QStringLiteral("InputBox: %1").arg(prompt));
    return a ? a->text : std::nullopt;
}

std::optional<FileDialogAnswer> ScriptedDialogs::ShowOpen(const FileDialogRequest& request)
{
    fileRequests_.push_back(request);
    auto a = take(Kind::Open, QStringLiteral("Open: %1").arg(request.Filter));
    return a ? a->file : std::nullopt;
}

std::optional<FileDialogAnswer> ScriptedDialogs::ShowSave(const FileDialogRequest& request)
{
    fileRequests_.push_back(request);
    auto a = take(Kind::Save, QStringLiteral("Save: %1").arg(request.Filter));
    return a ? a->file : std::nullopt;
}

std::optional<ColorRef> ScriptedDialogs::ShowColor(ColorRef initial)
{
    auto a = take(Kind::Color, QStringLiteral("Color"));
    return a ? a->colour : std::nullopt;
}

void ScriptedDialogs::RunModal(Form& form)
{
    QPointer<Form> guard(&form);
    form.show();
    const bool inLine = !script_.empty() && script_.front().kind == Kind::Modal &&
                        script_.front().name.compare(form.Name(), Qt::CaseInsensitive) == 0;
    if (!inLine) {
        for (const Answer& standing : standing_) {
            if (standing.name.compare(form.Name(), Qt::CaseInsensitive) != 0) continue;
            const auto script = standing.script;  // the script may replace the standing answers
            script(form);
            if (guard && guard->isVisible()) guard->hide();
            return;
        }
    }
    auto a = take(Kind::Modal, QStringLiteral("Modal %1").arg(form.Name()), form.Name());
    if (a && a->script && guard) a->script(form);
    if (guard && guard->isVisible()) {
        if (a) {
            QString q = QStringLiteral("Modal %1 still shown after its script").arg(form.Name());
            unexpected_ << q;
            if (OnUnexpected) OnUnexpected(q);
        }
        guard->hide();
    }
}

void ScriptedDialogs::PopupMenu(Menu& menu)
{
    auto a = take(Kind::Popup, QStringLiteral("Popup %1").arg(menu.Name()));
    if (!a || a->name.isEmpty()) return;
    if (Menu* entry = menu.Entry(a->name)) {
        entry->Choose();
    } else {
        QString q = QStringLiteral("Popup %1 has no entry %2").arg(menu.Name(), a->name);
        unexpected_ << q;
        if (OnUnexpected) OnUnexpected(q);
    }
}

}  // namespace dorv
