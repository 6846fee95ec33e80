#pragma once
// The scene written out for other programs: a plain-text description (the
// place, the money and one line per item) and a VRML 2.0 world that places
// an inline model per item on a floor box. Both leave out the floor and wall
// sections and write lengths in metres; both write the file whole or not at
// all.

#include "scene/Records.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace FileMod {

// value / 36288: internal units as metres.
float UnitsToMetres(float value);

// The text description of the items, with the room, colours, currency and
// budget texts of the scene. False, with the reason in `error`, when the
// file could not be written.
bool ExportTextFile(const QString& path, const std::vector<ItemRecord>& items, int32_t itemCount,
                    QString* error = nullptr);

// The VRML world: the floor and one inline model per item, every number
// with a decimal point whatever the locale. The world refers to the models
// and background pictures under VRML/<environment>/ beside it, "/" between
// names; those that the program ships and that are not there yet are copied
// there from its own VRML folder. False, with the reason in `error`, when a
// copy or the world could not be written: then none of them is left.
bool ExportVrmlFile(const QString& path, const std::vector<ItemRecord>& items, int32_t itemCount,
                    QString* error = nullptr);

}  // namespace FileMod
