#pragma once
// The readable description of a furnished scene (*.scene in content/Examples
// and content/Worksheets), turned by dorv-make-scenes into the scene file the
// program opens with File > Examples or the chooser's "Load worksheet ...".
//
// One statement per line; "#" starts a comment. The file is UTF-8. Lengths
// are metres; the floor's centre is (0, 0), x grows to the east and y to the
// south, as on the plan.
//
//   environment Classroom            the environment's folder name (needed)
//   place Finish our classroom       the place's name, kept in the file
//   size W L H                       the place setup's width, length and
//                                    height: the floor runs W north-south
//                                    (y) and L west-east (x) (needed)
//   unit 0                           the length unit shown (0 metres,
//                                    1 centimetres, ... 5 inches); default 0
//   currency £                       default: the first of AdminSetup.txt
//   budget 600                       in the base currency; default: the
//                                    environment's
//   prices on | off                  whether prices count; default on
//   floor #RRGGBB                    colours; default: the environment's
//   wall #RRGGBB
//   background #RRGGBB
//   item Group\file X Y [VIEW]       a floor item centred at (X, Y) in
//                                    rotation VIEW (0 faces south, 1 east,
//                                    2 north, 3 west); default 0
//   wall Group\file SIDE POS         a wall item against wall SIDE (north,
//                                    west, south or east), its middle POS
//                                    metres along the plan's x (north and
//                                    south walls) or y (west and east)
//
// Items are added in the order written: an item that stacks rests on the
// items written before it.

#include "scene/Records.h"
#include "scene/WindowPort.h"

#include <QStringList>

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace SceneTool {

struct PlacedItem {
    QString item;          // Group\file
    float x = 0, y = 0;    // metres from the floor's centre
    int16_t view = 0;
    int16_t wallSide = -1; // 0 north, 1 west, 2 south, 3 east; -1 a floor item
    int line = 0;          // source line, for messages
};

struct SceneSource {
    QString environment;
    QString place;
    float width = 0, length = 0, height = 0;
    int16_t unit = 0;
    std::optional<QString> currency;
    std::optional<float> budget;
    bool prices = true;
    // Colours as the program keeps them: red in the low byte.
    std::optional<int32_t> floorColour, wallColour, backgroundColour;
    std::vector<PlacedItem> items;
};

// Stands in for the program's windows while a scene is built and written:
// keeps the texts the windows would show (the place's sizes, the budget and
// the money spent), which the scene file writer reads back, and every
// message a loader gives.
class ToolWindows : public WindowPort {
public:
    ToolWindows() { SetWindows(this); }
    ~ToolWindows() override { SetWindows(nullptr); }
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;

    int MsgBox(const QString& prompt, int style, const QString& title) override;
    QString PlaceSizeText(int box) override;
    void SetPlaceSizeText(int box, const QString& text) override;
    QString BudgetText(int box) override;
    void SetBudgetText(int box, const QString& text) override;

    QStringList messages;

private:
    QString budget_[5];
    QString sizes_[4];
};

// Reads a description; false with the line and reason in `error` when a
// statement is unknown, malformed or a needed one is missing.
bool ParseSceneSource(const QByteArray& text, SceneSource& scene, QString* error);

// With a ToolWindows in place: builds the scene in the program's state (G) from the installed content in
// `contentFolder` (the folder holding Environments): the room of the
// environment's place with the given sizes and colours, and every item
// placed as the program places a dropped item. False with the reason in
// `error` when the environment, an item or a wall is missing, or an item
// does not lie inside the floor.
bool BuildScene(const SceneSource& scene, const QString& contentFolder, QString* error);

// With the ToolWindows of BuildScene in place: writes the scene it built to
// `path` with the program's scene file writer, the sizes in the place's unit
// and the budget and money spent as the windows would show them.
bool WriteScene(const SceneSource& scene, const QString& path, QString* error);

// The three colour words of a colour written #RRGGBB, red in the low byte;
// nullopt when the text is no such colour.
std::optional<int32_t> ParseColour(const QString& text);

}  // namespace SceneTool
