#pragma once
// Environments and their item groups. An environment is a sub-folder of the
// environments folder: its picture (icon.bmp), its texts (envdata.dvf), its
// place information (PlanInfo.dvf), two special sub-folders whose names begin
// with "+" and "=", and one sub-folder per item group. A group whose name
// begins with "!" or that holds a WallInfo.dvf is a group of wall items. The
// add-on (mirror) folder repeats the environments' names and adds pictures,
// place information and items to them.

#include <QImage>
#include <QString>

#include <cstdint>

namespace FileMod {

// The add-on folder of the current environment, ending with a separator:
// the mirror folder, the environment's name, "\". Set by
// LoadEnvironmentItemGroups; empty when there is no mirror folder.
extern QString GroupPath;

// Fills G.EnvironmentTable (one row per sub-folder of `environmentsFolder`
// in listing order, and an empty row after the last) and the two lists of
// environments with their pictures and names. A folder that does not exist
// gives no environments. An environment holds at most 17 item groups in the
// table; later ones are left out of it.
void BuildEnvironmentList(const QString& environmentsFolder);

// Lists the item groups of the environment in the item-groups window: the
// wall groups in the wall view (view mode 2), the plan groups in every other
// view. Sets GroupPath and reads the mirror's place information into
// G.PlanInfo. Returns the path of the first group listed, "" when none.
QString LoadEnvironmentItemGroups(int16_t viewMode, const QString& environmentFolder);

// The row of G.EnvironmentTable whose folder is named `name` (letter case
// and trailing blanks of the folder's name aside), -1 when none is.
int16_t FindEnvironmentIndex(const QString& name);

// Adds the picture in `file` under `key` to both lists of environments; a
// file that cannot be loaded as a picture gives the default picture.
void AddEnvironmentIcon(const QString& file, const QString& key);

// The picture in a file, or a null image when the file holds none that can
// be loaded (also when it is far larger than a list's picture needs).
QImage LoadPictureFile(const QString& path);

}  // namespace FileMod

namespace FindSpecialFolder {

// The path of a special folder of the desktop followed by "/", or "" when
// it cannot be found. Only 5 is known: the user's documents folder, else
// the home folder when there is no documents folder.
QString GetSpecialFolderPath(int32_t folderId);

}  // namespace FindSpecialFolder
