#pragma once
// Every question the program asks goes through one service: message boxes,
// the input box, the open, save and colour dialogs, modal windows and popup
// menus. The desktop service shows real dialogs; the scripted service answers
// from a list given in advance and never waits, so that tests of whole user
// flows cannot hang on a modal window.

#include "platform/DeviceContext.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QPrinter;

namespace dorv {

class Form;
class Menu;

// Message box styles: the buttons in the low three bits, the icon above.
constexpr int vbOKOnly = 0;
constexpr int vbOKCancel = 1;
constexpr int vbAbortRetryIgnore = 2;
constexpr int vbYesNoCancel = 3;
constexpr int vbYesNo = 4;
constexpr int vbRetryCancel = 5;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
// The button pressed.
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbAbort = 3;
constexpr int vbRetry = 4;
constexpr int vbIgnore = 5;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// The open and save dialogs. Filter pairs a description with its patterns,
// separated by "|": "Scenes (*.dvp)|*.dvp|All files|*.*". FilterIndex counts
// the pairs from 1.
struct FileDialogRequest {
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString InitDir;
    QString FileName;
};
struct FileDialogAnswer {
    QString FileName;  // the full path chosen
    int FilterIndex = 1;
};

// The print dialog's pages: the range offered and the range chosen. A
// chosen FromPage of 0 means every page.
struct PrintPages {
    int MinPage = 1;
    int MaxPage = 1;
    int FromPage = 0;
    int ToPage = 0;
};
// What a scripted print or page-setup dialog chooses. Unset fields keep the
// printer's setting.
struct PrintDialogAnswer {
    std::optional<QString> PrinterName;
    std::optional<int> Copies;
    int FromPage = 0;  // 0: all pages
    int ToPage = 0;
    std::optional<QPageLayout::Orientation> Orientation;
    std::optional<QPageSize::PageSizeId> PaperSize;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Returns the button pressed (vbOK ... vbNo). The title is the
    // application's title when empty.
    virtual int MsgBox(const QString& text, int style, const QString& title) = 0;
    // The text typed, or nothing when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    virtual std::optional<FileDialogAnswer> ShowOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> ShowSave(const FileDialogRequest& request) = 0;
    virtual std::optional<ColorRef> ShowColor(ColorRef initial) = 0;
    // Shows `form` modally: returns once it is hidden or unloaded.
    virtual void RunModal(Form& form) = 0;
    // Shows the entries of `menu` at the mouse; runs the entry chosen.
    virtual void PopupMenu(Menu& menu) = 0;
    // The print dialog on `printer`: the printer, its copies and the pages.
    // What the user chooses is set on the printer and in `pages`; false when
    // cancelled (the printer is then as it was).
    virtual bool ShowPrintDialog(QPrinter& printer, PrintPages& pages) { return false; }
    // The page-setup dialog on `printer`: paper and orientation. False when
    // cancelled.
    virtual bool ShowPageSetupDialog(QPrinter& printer) { return false; }
};

// The installed service (the desktop's dialogs unless another is installed).
DialogService& Dialogs();
// Installs a service; nullptr goes back to the desktop's. The caller keeps
// ownership.
void SetDialogs(DialogService* service);

// Shorthands through the installed service.
int MsgBox(const QString& text, int style = vbOKOnly, const QString& title = QString());
// VB's input box: the text typed, "" when cancelled.
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString());

// "A|*.a;*.b|B|*.c" as Qt's "A (*.a *.b);;B (*.c)".
QString QtFilterFromPairs(const QString& filter);

// Qt's own texts (the buttons of message boxes, the file, print and colour
// dialogs) in the language of `localeName` ("pt_BR"); "" puts them back in
// English. False when this machine has no Qt translation for it: they then
// stay English.
bool SetQtLanguage(const QString& localeName);

class DesktopDialogs : public DialogService {
public:
    int MsgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<FileDialogAnswer> ShowOpen(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> ShowSave(const FileDialogRequest& request) override;
    std::optional<ColorRef> ShowColor(ColorRef initial) override;
    void RunModal(Form& form) override;
    void PopupMenu(Menu& menu) override;
    bool ShowPrintDialog(QPrinter& printer, PrintPages& pages) override;
    bool ShowPageSetupDialog(QPrinter& printer) override;
};

// Answers from a script. Each Expect... adds one answer; each question takes
// the first answer in line, which must be of the same kind. A question with
// no fitting answer is logged as unexpected, reported to the handler (tests
// turn it into a failure) and answered with the cautious choice: Cancel where
// there is one (else No, else OK), no text, no file, no colour; a modal window
// still shown after its script is hidden.
class ScriptedDialogs : public DialogService {
public:
    void ExpectMsgBox(int answer);
    void ExpectInputBox(std::optional<QString> answer);
    void ExpectOpen(std::optional<FileDialogAnswer> answer);
    void ExpectSave(std::optional<FileDialogAnswer> answer);
    void ExpectColor(std::optional<ColorRef> answer);
    // What to do while `formName` is shown modally (press its buttons, ...).
    void ExpectModal(const QString& formName, std::function<void(Form&)> script);
    // The name of the popup entry to choose, or "" to choose none.
    void ExpectPopup(const QString& entryName);
    // The choice of the print or page-setup dialog; nothing cancels it.
    void ExpectPrintDialog(std::optional<PrintDialogAnswer> answer);
    void ExpectPageSetupDialog(std::optional<PrintDialogAnswer> answer);
    // A standing answer for a modal window that every run shows (the splash
    // screen of start-up): it answers each showing of `formName` for which
    // the next answer in line is not meant, stays across Reset, and its
    // showings are not listed in Asked(). A null script removes it.
    void AnswerAlways(const QString& formName, std::function<void(Form&)> script);

    // One line per question, in order: "MsgBox 51: Save changes?",
    // "InputBox: Heading", "Open: Scenes (*.dvp)|*.dvp", "Color", "Modal Floors",
    // "Popup mnu_edit", "Print: pages 1-3", "PageSetup".
    const QStringList& Asked() const { return asked_; }
    const QStringList& Unexpected() const { return unexpected_; }
    // Every open and save dialog asked for, as asked (folder, file name).
    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }
    int Pending() const { return int(script_.size()); }
    void Reset();
    std::function<void(const QString&)> OnUnexpected;

    int MsgBox(const QString& text, int style, const QString& title) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<FileDialogAnswer> ShowOpen(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> ShowSave(const FileDialogRequest& request) override;
    std::optional<ColorRef> ShowColor(ColorRef initial) override;
    void RunModal(Form& form) override;
    void PopupMenu(Menu& menu) override;
    bool ShowPrintDialog(QPrinter& printer, PrintPages& pages) override;
    bool ShowPageSetupDialog(QPrinter& printer) override;

private:
    enum class Kind { MsgBox, Input, Open, Save, Color, Modal, Popup, Print, PageSetup };
    struct Answer {
        explicit Answer(Kind k) : kind(k) {}
        Kind kind;
        int button = 0;
        std::optional<QString> text;
        std::optional<FileDialogAnswer> file;
        std::optional<ColorRef> colour;
        QString name;
        std::function<void(Form&)> script;
        std::optional<PrintDialogAnswer> print;
    };
    // The next answer when it is of `kind` (and, for a modal window or a
    // popup, for `name`); otherwise logs the question as unexpected.
    std::optional<Answer> take(Kind kind, const QString& question, const QString& name = QString());

    std::deque<Answer> script_;
    std::vector<Answer> standing_;
    QStringList asked_;
    QStringList unexpected_;
    std::vector<FileDialogRequest> fileRequests_;
};

}  // namespace dorv
