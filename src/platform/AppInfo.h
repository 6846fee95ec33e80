#pragma once
// What the program knows of itself: its folder of shipped content, its title
// and its version numbers.

#include <QString>

namespace dorv {

// The folder that holds the shipped content (AdminSetup.txt, Messages.dvf,
// Environments, ...): share/dorv beside the executable's bin folder, in the
// build tree and in an installed tree alike. DORV_CONTENT_DIR in the
// environment overrides it.
QString AppPath();
void SetAppPath(const QString& path);  // for tests

QString AppTitle();  // "Dorv Zorazev"
int AppMajor();
int AppMinor();
int AppRevision();

}  // namespace dorv
