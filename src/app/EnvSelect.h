#pragma once
// The environment chooser: the child picks the kind of place to make (a
// classroom, a home, a garden) from a list of pictures, or asks to open a
// saved scene instead. It is shown modally, on its own, by the new-place
// flow; closing it ends the program.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/ListView.h"
#include "scene/WindowPort.h"

#include <vector>

class EnvSelect : public dorv::Form {
public:
    EnvSelect();

    // The chooser of the run, made and loaded on first use; nullptr when the
    // program has no chooser.
    static EnvSelect* Window();

    dorv::ListView* ListView1;      // the environments, as pictures with names
    dorv::CommandButton* Command1;  // Select
    dorv::CommandButton* Command2;  // Load a file ...
    dorv::CommandButton* Command3;  // Load worksheet ...
    dorv::ImageList ImageList1;     // a picture per environment, by folder name

    // The row of the environment table of the entry clicked last (1-based),
    // 0 until one is clicked.
    int16_t SelectedRow = 0;
    // Where the open dialog starts when a load button asked for a scene.
    QString OpenFolder;

    // Makes every environment available and shows the chooser modally, for
    // `owner` (the main window, hidden or not); returns once it is hidden (a
    // choice was made) or the program ends. False when it went without a
    // choice.
    bool go(dorv::Form* owner);
    // Each entry's text again from its tag, in the current item language.
    void LanguageChanged();

    // The list's pictures and entries, as the environment list fills them.
    void ClearPictures();
    void AddPicture(const QString& key, const QImage& picture);
    void ClearEntries();
    void AddEntry(const WindowPort::ListEntry& entry);

    // ---- handlers ----
    void ListView1_ItemClick(int index);
    void ListView1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void Form_Activate() override;
    void Form_Paint() override;
    void Form_QueryUnload(int16_t& cancel, int unloadMode) override;

private:
    void layout();
    // Takes a load button's choice: open a scene, its dialog in `folder`.
    void chooseOpen(const QString& folder);
    // The row of each entry of ListView1, by entry number - 1.
    std::vector<int32_t> rows_;
    bool chosen_ = false;
};
