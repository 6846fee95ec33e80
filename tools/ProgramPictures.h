#pragma once
// The program's own pictures: button faces, cursors and the currency faces
// of the main window's image lists, the tool-strip faces, and the default
// picture of an environment or group. Every picture is drawn here in code,
// with bold shapes and strong colours that read at a glance.

#include <QImage>
#include <QString>

#include <vector>

namespace ItemTool {

struct NamedPicture {
    QString path;  // relative to the content folder
    QImage image;
};

// Size of the button faces and of the tool-strip faces, in pixels.
constexpr int kFaceSize = 40;
constexpr int kToolSize = 32;
constexpr int kCursorSize = 32;
constexpr int kIconSize = 64;

// Every picture of the image lists and tool strip, with its file name
// (Pictures/ImageListN/NN.png, Pictures/Toolbar/NAME.png).
std::vector<NamedPicture> DrawProgramPictures();

}  // namespace ItemTool
